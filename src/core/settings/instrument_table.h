#pragma once

// The playback instruments the learner can pick, in the order of the general page's list. The
// stored choice is an index into this list; the exercise plays with the General MIDI program
// (counted from 0, as it goes into a program change) of that entry.

#include <QString>

namespace Core {

constexpr int InstrumentCount = 36;

// The untranslated name of entry `index`, or an empty string outside 0 to InstrumentCount - 1.
QString InstrumentName(int index);

// The name as the list shows it: the eight piano names are translated (context "QObject"), the
// others are shown as they are.
QString InstrumentDisplayName(int index);

// The program to play for a stored index. The index comes from a user-editable file, so any
// value outside the list plays the first instrument (Acoustic Grand Piano, program 0).
int InstrumentProgram(int index);

}  // namespace Core
