#pragma once

// The note trainer's page choices that have no binder of their own elsewhere: the clef a page's
// questions are written in (treble, bass or both, three exclusive radios over two flags, passed on
// to the page's range selector) and how chord questions are notated.

class QRadioButton;

namespace Core {
struct ChordSettings;
struct CleffSettings;
}  // namespace Core

namespace UI {

class GkcRangeSelectorControl;

// Gives the selector the keys the clefs can show and fits its range into them.
void ApplyKey(GkcRangeSelectorControl* range, bool treble, bool bass);
void Cleff2Data(QRadioButton* treble, QRadioButton* bass, QRadioButton* both,
                Core::CleffSettings& cleff);
// Selects exactly the radio the flags name, none when both are clear, then applies the clef mode.
void Data2Cleff(QRadioButton* treble, QRadioButton* bass, QRadioButton* both,
                Core::CleffSettings& cleff, GkcRangeSelectorControl* range);

void chordNotation2Data(Core::ChordSettings& chord, QRadioButton* classic, QRadioButton* notation);
void Data2chordNotation(Core::ChordSettings& chord, QRadioButton* classic, QRadioButton* notation);

}  // namespace UI
