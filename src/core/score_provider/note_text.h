#pragma once

// Note names and colours in RAZID Music Notation, and which keys a clef can show.

#include <string>
#include <vector>

#include "src/core/exercise/records/note_analysis.h"

namespace Core {

// Keys 0..98 have a name in the notation: the piano (0 = A0 .. 87 = C8) and the keys above it up
// to B8, as far as the octave numbers go. Played keys come from MIDI input and may lie anywhere;
// the builders leave out what has no name.
bool HasRazidName(int key);

// Appends the name of `key` (middle C, key 39, is "c1"). A black key takes its flat name when
// `flat` is set and its sharp name otherwise, except next to a white neighbour in the same chord:
// with sharps preferred a black key right above a chord note is written flat (C with C♯ gives
// c and d&), with flats preferred a black key right below a chord note is written sharp.
// `chordKeys` are the keys of the chord being written, empty for notes written one by one.
// Precondition: HasRazidName(key).
void noteToRazid(std::string& text, int key, bool flat,
                 const std::vector<unsigned int>& chordKeys = {});

// Appends the colour tag of an analysed note; colours other than the three known ones are black.
void noteColor(std::string& text, int color);

// Whether the key lies on or near the staff of the clef: the treble clef shows keys 25..88, the
// bass clef keys 0..54.
bool validate5Bars(bool gClef, int key);

}  // namespace Core
