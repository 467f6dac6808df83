#include "src/ui/controls/settings_binders.h"

#include <QCheckBox>

#include "src/core/settings/exercise_settings.h"
#include "src/ui/controls/duration_control.h"
#include "src/ui/range_selectors.h"

namespace UI {

void durationUI2Data(Core::ExerciseDuration& duration, DurationControl* control) {
  duration.questions = control->selectedQuestionIndex();
  duration.seconds = control->selectedTimeoutIndex();
}

void Data2durationUI(Core::ExerciseDuration& duration, DurationControl* control) {
  control->scrollToQuestionValue(duration.questions);
  control->scrollToTimeoutValue(duration.seconds);
}

void diapUi2Data(Core::NotesDiapason& diapason, GkcRangeSelectorControl* selector) {
  selector->GetGkcRange(diapason.minimum, diapason.maximum);
}

void Data2diapUi(Core::NotesDiapason& diapason, GkcRangeSelectorControl* selector) {
  selector->SetGkcRange(diapason.minimum, diapason.maximum);
}

void boolUi2Data(bool& flag, QCheckBox* box) {
  flag = box->checkState() == Qt::Checked;
}

void Data2boolUi(bool& flag, QCheckBox* box) {
  box->setCheckState(flag ? Qt::Checked : Qt::Unchecked);
}

}  // namespace UI
