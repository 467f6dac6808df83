#include "src/ui/controls/clef_binders.h"

#include <QRadioButton>

#include "src/core/settings/exercise_settings.h"
#include "src/ui/range_selectors.h"

namespace UI {

namespace {
// An exclusive radio refuses to be cleared while it is the one selected; a record with neither
// clef must show none, or leaving the page would store the clef shown before.
void SetRadio(QRadioButton* radio, bool checked) {
  const bool exclusive = radio->autoExclusive();
  radio->setAutoExclusive(false);
  radio->setChecked(checked);
  radio->setAutoExclusive(exclusive);
}
}  // namespace

void ApplyKey(GkcRangeSelectorControl* range, bool treble, bool bass) {
  range->SetGKeyMode(treble, bass);
  int low = 0;
  int high = 0;
  range->GetGkcRange(low, high);
  range->SetGkcRange(low, high);
}

void Cleff2Data(QRadioButton* treble, QRadioButton* bass, QRadioButton* both,
                Core::CleffSettings& cleff) {
  cleff.gClef = treble->isChecked() || both->isChecked();
  cleff.fClef = bass->isChecked() || both->isChecked();
}

void Data2Cleff(QRadioButton* treble, QRadioButton* bass, QRadioButton* both,
                Core::CleffSettings& cleff, GkcRangeSelectorControl* range) {
  SetRadio(treble, cleff.gClef && !cleff.fClef);
  SetRadio(bass, cleff.fClef && !cleff.gClef);
  SetRadio(both, cleff.gClef && cleff.fClef);
  ApplyKey(range, cleff.gClef, cleff.fClef);
}

void chordNotation2Data(Core::ChordSettings& chord, QRadioButton*, QRadioButton* notation) {
  chord.ChordNotation = notation->isChecked();
}

void Data2chordNotation(Core::ChordSettings& chord, QRadioButton* classic, QRadioButton* notation) {
  notation->setChecked(chord.ChordNotation);
  classic->setChecked(!chord.ChordNotation);
}

}  // namespace UI
