#pragma once

// The key-colour choice of a page with a key range: three exclusive radios (white keys, black
// keys, both) over the two flags of a ChromaticSettings record, passed on to the page's range
// selector.

class QRadioButton;

namespace Core {
struct ChromaticSettings;
}

namespace UI {

class GkcRangeSelectorControl;

void Chromatic2Data(Core::ChromaticSettings& chromatic, QRadioButton* white, QRadioButton* black,
                    QRadioButton* both);
// A record with neither flag checks no radio; the selector is told all the same.
void Data2Chromatic(Core::ChromaticSettings& chromatic, QRadioButton* white, QRadioButton* black,
                    QRadioButton* both, GkcRangeSelectorControl* range);
void ApplyChromatic(GkcRangeSelectorControl* range, bool black, bool white);

}  // namespace UI
