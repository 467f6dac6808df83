#include "tests/src/core/score_builder/music_pitches.h"

#include <cstdlib>

namespace ScoreOverlaps {

int FloorDivide(int value, int divisor) {
  return value >= 0 ? value / divisor : -((-value + divisor - 1) / divisor);
}

int KeyAlter(int key, int letter) {
  // The letters in the order the key signature adds their sharps; flats come the other way.
  static const int sharpOrder[7] = {3, 0, 4, 1, 5, 2, 6};
  for (int i = 0; i < std::abs(key) && i < 7; ++i)
    if ((key > 0 ? sharpOrder[i] : sharpOrder[6 - i]) == letter) return key > 0 ? 1 : -1;
  return 0;
}

int MidiPitch(SpelledNote note) {
  static const int semitones[7] = {0, 2, 4, 5, 7, 9, 11};
  // Octave 1 of the text holds middle C, key 60.
  return 48 + 12 * FloorDivide(note.step, 7) + semitones[LetterOf(note.step)] + note.alter;
}

std::string NoteText(SpelledNote note) {
  std::string text(1, "cdefgah"[LetterOf(note.step)]);
  text.append(size_t(std::abs(note.alter)), note.alter > 0 ? '#' : '&');
  return text + std::to_string(FloorDivide(note.step, 7));
}

}  // namespace ScoreOverlaps
