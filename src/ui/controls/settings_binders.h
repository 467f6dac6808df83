#pragma once

// Copy one settings field between a record and the widget that edits it. Each pair is used by
// a panel's Gui2Data (widget to record) and Data2Gui (record to widget).

class QCheckBox;

namespace Core {
struct ExerciseDuration;
struct NotesDiapason;
}  // namespace Core

namespace UI {

class DurationControl;
class GkcRangeSelectorControl;

void durationUI2Data(Core::ExerciseDuration& duration, DurationControl* control);
void Data2durationUI(Core::ExerciseDuration& duration, DurationControl* control);
// The key range only; the key colours have their own binders.
void diapUi2Data(Core::NotesDiapason& diapason, GkcRangeSelectorControl* selector);
void Data2diapUi(Core::NotesDiapason& diapason, GkcRangeSelectorControl* selector);
// A partly checked box counts as unchecked.
void boolUi2Data(bool& flag, QCheckBox* box);
void Data2boolUi(bool& flag, QCheckBox* box);

}  // namespace UI
