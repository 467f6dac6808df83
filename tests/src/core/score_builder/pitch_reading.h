#pragma once

// The pitches a pianist reads off the drawn staves: a head's line or space under the clef, the
// sign in front of it (or of the other voice's head on its step at the same time), else the
// sound of the note a tie into it comes from, else the sign that last stood on its line or space
// in the bar, whichever voice wrote it, else the key signature; an octava mark raises or lowers
// what follows it on its staff, in both voices, until the mark that ends it. A bar line or a new
// key clears the signs of the bar, and so does a new line of music: nobody reads a sign across
// a line break.

#include <string>
#include <vector>

#include "tests/src/core/score_builder/drawn_staves.h"

namespace ScoreOverlaps {

struct ReadNote {
  int staff;  // its number in the line, from 1
  double date;
  bool grace;
  int pitch;  // MIDI key number
  int page, system;
  qreal left, right;  // of its head
  const DrawnNote* drawn;
  const DrawnStaff* line;  // the staff of the line it stands on
  bool tiedInto = false;   // a tie into its head holds on the note before
  bool tiedBelow = false;  // and that tie meets the head from under it
};

struct PitchReading {
  std::vector<ReadNote> notes;
  // Where the page says what it need not or cannot say: a sign that repeats the one in force,
  // a staff without a clef.
  std::vector<std::string> faults;
};

PitchReading ReadPitches(const DrawnScore& score);

// "F#4", "Bb2", for messages.
std::string PitchName(int pitch);

}  // namespace ScoreOverlaps
