#include "src/ui/controls/key_colour_binders.h"

#include <QRadioButton>

#include "src/core/settings/exercise_settings.h"
#include "src/ui/range_selectors.h"

namespace UI {

void Chromatic2Data(Core::ChromaticSettings& chromatic, QRadioButton* white, QRadioButton* black,
                    QRadioButton* both) {
  chromatic.white = white->isChecked() || both->isChecked();
  chromatic.black = black->isChecked() || both->isChecked();
}

void Data2Chromatic(Core::ChromaticSettings& chromatic, QRadioButton* white, QRadioButton* black,
                    QRadioButton* both, GkcRangeSelectorControl* range) {
  white->setChecked(chromatic.white && !chromatic.black);
  black->setChecked(chromatic.black && !chromatic.white);
  both->setChecked(chromatic.white && chromatic.black);
  ApplyChromatic(range, chromatic.black, chromatic.white);
}

void ApplyChromatic(GkcRangeSelectorControl* range, bool black, bool white) {
  range->SetChromaticMode(black, white);
}

}  // namespace UI
