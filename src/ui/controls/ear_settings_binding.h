#pragma once

// Copies between the ear trainer's part of the settings record and the widgets of its settings
// panel. The widgets are the panel form's; the lists below name which widget edits which field.

#include <array>
#include <vector>

#include "src/core/settings/exercise_settings.h"

class QCheckBox;
class QRadioButton;
class Ui_settings_ear_trainer_control;

namespace UI {

class GkcRangeSelectorControl;

// A page's key range and the three radios of its key colours.
struct EarKeyRange {
  GkcRangeSelectorControl* selector;
  QRadioButton* white;
  QRadioButton* black;
  QRadioButton* both;
};

// The pages with a key range, in page order: single notes, intervals, chords, scales.
std::array<EarKeyRange, 4> EarKeyRanges(Ui_settings_ear_trainer_control& ui);

template <class Record>
struct FlagBox {
  bool Record::*flag;
  QCheckBox* box;
};

// The boxes of the three check groups, in the record's order.
std::vector<FlagBox<Core::ChordSettings>> ChordTypeBoxes(Ui_settings_ear_trainer_control& ui);
std::vector<FlagBox<Core::ScalesSettings>> ScaleTypeBoxes(Ui_settings_ear_trainer_control& ui);
// Seven boxes: Prestissimo has none.
std::vector<FlagBox<Core::TempoSettings>> TempoBoxes(Ui_settings_ear_trainer_control& ui);

void EarSettings2Gui(Core::EarTrainerSettings settings, Ui_settings_ear_trainer_control& ui);
// Writes only the fields the panel shows.
void Gui2EarSettings(Ui_settings_ear_trainer_control& ui, Core::EarTrainerSettings& settings);

}  // namespace UI
