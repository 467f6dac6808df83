#include "src/ui/controls/ear_settings_binding.h"

#include <QCheckBox>
#include <QRadioButton>

#include <algorithm>

#include "src/ui/controls/key_colour_binders.h"
#include "src/ui/controls/settings_binders.h"
#include "ui_settings_ear_control.h"

namespace UI {

using Core::ChordSettings;
using Core::ScalesSettings;
using Core::TempoSettings;

std::array<EarKeyRange, 4> EarKeyRanges(Ui_settings_ear_trainer_control& ui) {
  return {{
      {ui.Gkc, ui.notesWhiteKeysRadioButton, ui.notesBlackKeysRadioButton,
       ui.notesBlackAndWhiteKeysRadioButton},
      {ui.GkcInterval, ui.intervalsWhiteKeysRadioButton, ui.intervalsBlackKeysRadioButton,
       ui.intervalsBlackAndWhiteKeysRadioButton},
      {ui.GkcChord, ui.chordsWhiteKeysRadioButton, ui.chordsBlackKeysRadioButton,
       ui.chordsBlackAndWhiteKeysRadioButton},
      {ui.GkcScaleRange, ui.scalesWhiteKeysRadioButton, ui.scalesBlackKeysRadioButton,
       ui.scalesBlackAndWhiteKeysRadioButton},
  }};
}

std::vector<FlagBox<ChordSettings>> ChordTypeBoxes(Ui_settings_ear_trainer_control& ui) {
  return {{&ChordSettings::MajorTriad, ui.earExChordsMajorTriad},
          {&ChordSettings::MinorTriad, ui.earExChordsMinorTriad},
          {&ChordSettings::MajorSixth, ui.earExChordsMajorSixth},
          {&ChordSettings::MinorSixth, ui.earExChordsMinorSixth},
          {&ChordSettings::MajorSeventh, ui.earExChordsMajorSeventh},
          {&ChordSettings::MinorSeventh, ui.earExChordsMinorSeventh},
          {&ChordSettings::DominantSeventh, ui.earExChordsDominantSeventh},
          {&ChordSettings::Suspended2, ui.earExChordsSuspended2},
          {&ChordSettings::Suspended4, ui.earExChordsSuspended4},
          {&ChordSettings::SuspendedSixth2, ui.earExChordsSuspendedSixth2},
          {&ChordSettings::SuspendedSixth4, ui.earExChordsSuspendedSixth4},
          {&ChordSettings::SuspendedSeventh2, ui.earExChordsSuspendedSeventh2},
          {&ChordSettings::SuspendedSeventh4, ui.earExChordsSuspendedSeventh4},
          {&ChordSettings::Augmented, ui.earExChordsAugmented},
          {&ChordSettings::AugmentedSixth, ui.earExChordsAugmentedSixth},
          {&ChordSettings::AugmentedSeventh, ui.earExChordsAugmentedSeventh},
          {&ChordSettings::Diminished, ui.earExChordsDiminished},
          {&ChordSettings::DiminishedSeventh, ui.earExChordsDiminishedSeventh}};
}

std::vector<FlagBox<ScalesSettings>> ScaleTypeBoxes(Ui_settings_ear_trainer_control& ui) {
  return {{&ScalesSettings::NaturalMaj, ui.earExScalesMajor},
          {&ScalesSettings::NaturalMin, ui.earExScalesNaturalMinor},
          {&ScalesSettings::PentatonicMaj, ui.earExScalesPentatonicMajor},
          {&ScalesSettings::PentatonicMin, ui.earExScalesPentatonicMinor},
          {&ScalesSettings::Harmonic, ui.earExScalesHormanicMinor},
          {&ScalesSettings::MelodicMin, ui.earExScalesMelodicMinor},
          {&ScalesSettings::Diminished, ui.earExScalesDiminished},
          {&ScalesSettings::Blues, ui.earExScalesBlues},
          {&ScalesSettings::Augmented, ui.earExScalesAugmented},
          {&ScalesSettings::WholeTone, ui.earExScalesWholetone}};
}

std::vector<FlagBox<TempoSettings>> TempoBoxes(Ui_settings_ear_trainer_control& ui) {
  return {{&TempoSettings::Largo, ui.earExTempoLargo},
          {&TempoSettings::Adagio, ui.earExTempoAdagio},
          {&TempoSettings::Andante, ui.earExTempoAndante},
          {&TempoSettings::Allegro, ui.earExTempoAllegro},
          {&TempoSettings::Moderato, ui.earExTempoModerato},
          {&TempoSettings::Presto, ui.earExTempoPresto},
          {&TempoSettings::Vivace, ui.earExTempoVivace}};
}

namespace {

std::vector<FlagBox<ChordSettings>> InversionBoxes(Ui_settings_ear_trainer_control& ui) {
  return {{&ChordSettings::FirstInversion, ui.earExChordsFirstInversion},
          {&ChordSettings::SecondInversion, ui.earExChordsSecondInversion}};
}

template <class Record>
void Flags2Boxes(Record& record, const std::vector<FlagBox<Record>>& boxes) {
  for (const FlagBox<Record>& entry : boxes) Data2boolUi(record.*(entry.flag), entry.box);
}

template <class Record>
void Boxes2Flags(Record& record, const std::vector<FlagBox<Record>>& boxes) {
  for (const FlagBox<Record>& entry : boxes) boolUi2Data(record.*(entry.flag), entry.box);
}

void Range2Gui(Core::NotesDiapason& diapason, const EarKeyRange& page) {
  Data2diapUi(diapason, page.selector);
  Data2Chromatic(diapason.chromatic, page.white, page.black, page.both, page.selector);
}

void Gui2Range(const EarKeyRange& page, Core::NotesDiapason& diapason) {
  diapUi2Data(diapason, page.selector);
  Chromatic2Data(diapason.chromatic, page.white, page.black, page.both);
}

// The play direction is a choice of ascending only, descending only or both. Neither flag set
// selects no radio; a radio selected earlier then stays selected.
void Direction2Gui(const ScalesSettings& scales, Ui_settings_ear_trainer_control& ui) {
  ui.earExScalesAscending->setChecked(scales.Ascending && !scales.Descending);
  ui.earExScalesDescending->setChecked(scales.Descending && !scales.Ascending);
  ui.earExScalesAscendingDescending->setChecked(scales.Ascending && scales.Descending);
}

void Gui2Direction(Ui_settings_ear_trainer_control& ui, ScalesSettings& scales) {
  const bool both = ui.earExScalesAscendingDescending->isChecked();
  scales.Ascending = ui.earExScalesAscending->isChecked() || both;
  scales.Descending = ui.earExScalesDescending->isChecked() || both;
}

}  // namespace

void EarSettings2Gui(Core::EarTrainerSettings settings, Ui_settings_ear_trainer_control& ui) {
  const std::array<EarKeyRange, 4> ranges = EarKeyRanges(ui);

  Range2Gui(settings.singleNotes.diapason, ranges[0]);
  Data2durationUI(settings.singleNotes.duration, ui.earExNotesDuration);

  Core::ChordSettings& chord = settings.chord;
  Range2Gui(chord.diapason, ranges[2]);
  Flags2Boxes(chord, ChordTypeBoxes(ui));
  Flags2Boxes(chord, InversionBoxes(ui));
  Data2durationUI(chord.duration, ui.earExChordsDuration);
  ui.arpeggiatedChordSound->setChecked(chord.Arpeggiated);
  ui.simultaneousChordSound->setChecked(!chord.Arpeggiated);

  Core::IntervalSettings& interval = settings.interval;
  Range2Gui(interval.diapason, ranges[1]);
  Data2durationUI(interval.duration, ui.earExIntervalsDuration);
  // The record holds the last size asked, the selector one past it. The selector fits any pair
  // into its sizes; the bound only keeps a hand-edited end from overflowing.
  ui.IntervalRange->SetIntervalRange(interval.intervalStart,
                                     std::min(interval.intervalEnd, 12) + 1);
  ui.arpeggiatedIntervalSound->setChecked(interval.arpeggiated);
  ui.simultaneousIntervalSound->setChecked(!interval.arpeggiated);

  Core::ScalesSettings& scales = settings.scales;
  Range2Gui(scales.diapason, ranges[3]);
  Flags2Boxes(scales, ScaleTypeBoxes(ui));
  Data2durationUI(scales.duration, ui.earExScalesDuration);
  Direction2Gui(scales, ui);

  Flags2Boxes(settings.tempo, TempoBoxes(ui));
  Data2durationUI(settings.tempo.duration, ui.earExTempoDuration);
}

void Gui2EarSettings(Ui_settings_ear_trainer_control& ui, Core::EarTrainerSettings& settings) {
  const std::array<EarKeyRange, 4> ranges = EarKeyRanges(ui);

  Gui2Range(ranges[0], settings.singleNotes.diapason);
  durationUI2Data(settings.singleNotes.duration, ui.earExNotesDuration);

  Core::ChordSettings& chord = settings.chord;
  Gui2Range(ranges[2], chord.diapason);
  Boxes2Flags(chord, ChordTypeBoxes(ui));
  Boxes2Flags(chord, InversionBoxes(ui));
  durationUI2Data(chord.duration, ui.earExChordsDuration);
  chord.Arpeggiated = ui.arpeggiatedChordSound->isChecked();

  Core::IntervalSettings& interval = settings.interval;
  Gui2Range(ranges[1], interval.diapason);
  durationUI2Data(interval.duration, ui.earExIntervalsDuration);
  int start = 0;
  int end = 0;
  ui.IntervalRange->GetIntervalRange(start, end);
  interval.intervalStart = start;
  interval.intervalEnd = end - 1;
  interval.arpeggiated = ui.arpeggiatedIntervalSound->isChecked();

  Core::ScalesSettings& scales = settings.scales;
  Gui2Range(ranges[3], scales.diapason);
  Boxes2Flags(scales, ScaleTypeBoxes(ui));
  durationUI2Data(scales.duration, ui.earExScalesDuration);
  Gui2Direction(ui, scales);

  Boxes2Flags(settings.tempo, TempoBoxes(ui));
  durationUI2Data(settings.tempo.duration, ui.earExTempoDuration);
}

}  // namespace UI
