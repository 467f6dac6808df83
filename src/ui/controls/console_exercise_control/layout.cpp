// Sizes that depend on the screen and on the exercise: the keyboard and answer area, the score
// frame, the seek slider and the section buttons of the timeline.

#include <QResizeEvent>

#include <algorithm>
#include <cmath>

#include "src/core/exercise/exercise.h"
#include "src/ui/application.h"
#include "src/ui/controls/console_exercise_control/console_exercise_control.h"
#include "src/ui/screen_geometry.h"
#include "src/ui/window_stack_manager.h"

namespace UI {

namespace {
// The slider's groove is inset by 7 pixels at each end; the buttons line up with it.
constexpr int SliderInset = 7;
constexpr int SectionButtons = 5;
// Width over height of the on-screen piano and of the answer area that shares its place.
constexpr double KeysAspect = 10.64;
constexpr double RoundingTolerance = 1e-6;
}  // namespace

void ConsoleExerciseControl::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  LayoutTimeline();
  LayoutControls();
}

void ConsoleExerciseControl::LayoutControls() {
  const QMargins margins = ui.GkcKeysLayout->contentsMargins();
  const int screenWidth = PrimaryScreenGeometry().width();
  const int keysWidth = screenWidth - margins.left() - margins.right();
  const int keysHeight = static_cast<int>(keysWidth / KeysAspect);
  ui.Gkc->setFixedSize(keysWidth, keysHeight);
  ui.MultipleChoiceWidget->setFixedSize(keysWidth, keysHeight);
  ui.GkcLayoutWidget->setFixedWidth(margins.left() + margins.right() + keysWidth);
  ui.GkcLayoutWidget->setFixedHeight(keysHeight + margins.top() + margins.bottom() + 45);

  const QRect hint = Application::instance()->windowStackManager()->ScoreboardSizeHint();
  ui.ProgressFrameInternal->setFixedSize(hint.width(), hint.height());
  if (!frameShadowStrip) {
    frameShadowStrip = new QWidget(ui.ProgressFrameInternal);
    frameShadowStrip->setStyleSheet(QStringLiteral("border-bottom: 0px solid transparent;"));
    frameShadowStrip->installEventFilter(this);
  }
  frameShadowStrip->setGeometry(ui.ProgressFrameInternal->x(), ui.ProgressFrameInternal->y(),
                                hint.width(), 7);
  ui.viewHistory->hide();
  ui.statisticsHistoryBtnSeperator->hide();
}

void ConsoleExerciseControl::LayoutTimeline() {
  ui.TimeSlider->setFixedWidth(ui.SliderBar->width());
  // A bar narrower than the two insets leaves no room for the buttons.
  const int range = std::max(0, ui.SliderBar->width() - 2 * SliderInset);
  int total = 0;
  unsigned long count = 0;
  if (exercise) {
    total = exercise->GetTimeline().GetTotalDuration();
    count = std::min<unsigned long>(exercise->GetTimeline().GetSectionCount(), SectionButtons);
  }
  timelineButtons.resize(SectionButtons);
  ui.TimeSlider->setMaximum(range);
  ui.TimeSlider->setTickPosition(QSlider::NoTicks);
  EnableSectionButtons(currentView);

  QToolButton* const buttons[SectionButtons] = {ui.TimelineButton1, ui.TimelineButton2,
                                                ui.TimelineButton3, ui.TimelineButton4,
                                                ui.TimelineButton5};
  double weights[SectionButtons] = {};
  double sum = 0;
  for (unsigned long i = 0; i < SectionButtons; ++i) {
    TimelineButtonInfo& record = timelineButtons[i];
    const int duration = i < count ? exercise->GetTimeline().GetSectionDuration(i) : 0;
    if (duration > 0 && total > 0) {
      // The section's share of the range in whole pixels; its logarithm is the button's weight.
      const unsigned long long q = static_cast<unsigned long long>(duration) *
                                   static_cast<unsigned int>(range) /
                                   static_cast<unsigned int>(total);
      weights[i] = q == 0 ? 2.0 : std::max(2.0, std::log(static_cast<double>(q)));
      record.section = i;
      record.duration = static_cast<unsigned int>(duration);
      buttons[i]->setText(exercise->GetTimeline().GetSectionName(i));
      buttons[i]->show();
      sum += weights[i];
    } else {
      record.section = static_cast<unsigned long>(-1);
      buttons[i]->hide();
    }
  }
  // Without a section of any length there is nothing to share out.
  if (count == 0 || sum <= 0) return;

  const double scale = range / sum;
  int x = SliderInset;
  for (unsigned long i = 0; i < count; ++i) {
    // The tolerance keeps a width that the division leaves a hair below a whole pixel (a single
    // section's 499.99999 of 500) from losing that pixel.
    const double width = weights[i] * scale + RoundingTolerance;
    timelineButtons[i].left = x - SliderInset;
    timelineButtons[i].width = static_cast<int>(width);
    buttons[i]->setFixedWidth(static_cast<int>(width));
    buttons[i]->move(x, buttons[i]->y());
    x = static_cast<int>(width + x);
  }
}

}  // namespace UI
