#pragma once

// Notes of generated music as the text spells them: a step of the white keys (7 to the octave,
// 0 the c of octave 0 of the text, 7 middle C) and the sharps (positive) or flats (negative)
// written with it.

#include <string>

namespace ScoreOverlaps {

struct SpelledNote {
  int step;
  int alter;
};

int FloorDivide(int value, int divisor);

// The letter of a step: 0 c, 1 d, ... 6 h.
inline int LetterOf(int step) {
  return step - 7 * FloorDivide(step, 7);
}

// The sharp (1) or flat (-1) the key signature of so many sharps (or flats, negative) gives the
// letter, 0 for none.
int KeyAlter(int key, int letter);

// The MIDI key number of a note written in the text.
int MidiPitch(SpelledNote note);

// The note as the text writes it, octave included: "f#1", "h&-1", "c2".
std::string NoteText(SpelledNote note);

}  // namespace ScoreOverlaps
