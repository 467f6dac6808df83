#pragma once

// Piano key geometry. Keys are piano key indices 0..87 (0 = A0, 87 = C8, MIDI note = key + 21);
// white-key indices count the 52 white keys from 0 = A0 to 51 = C8; pitch classes run from
// 0 = C to 11 = B. The key-to-number functions are plain arithmetic and never fail: a key outside
// the piano gives a meaningless number rather than a crash.

#include <array>

namespace Core {

constexpr unsigned int PianoKeyCount = 88;
constexpr unsigned int WhiteKeyCount = 52;

// Pitch-class lookup used by GetNoteType; entry i is i.
extern const std::array<unsigned int, 12> NotesMap;
// The 36 black keys, ascending.
extern const std::array<unsigned int, 36> Chromatics;
// Open strings of a guitar in standard tuning, highest string first (E4 B3 G3 D3 A2 E2).
extern const std::array<unsigned int, 6> GuitarStringStart;

unsigned int WhiteIndexToNote(unsigned int white);
// The black key just below the white key, or the white key itself where there is none (C, F).
// White index 0 (A0) has none below and yields unsigned -1.
unsigned int WhiteIndexToPrevNote(unsigned int white);
// A black key maps to the white key below it.
unsigned int NoteToWhiteIndex(unsigned int key);
// A black key maps to the white key above it.
unsigned int NoteToNextWhiteIndex(unsigned int key);

// C-based octave number: 0 below C1, 8 for C8; key 39 is C4.
unsigned int octave(int key);
// Pitch class of a key; 0 for C8 and anything above the piano.
unsigned int GetNoteType(unsigned char key);

bool IsStemUp(unsigned int key, bool);

struct GuitarPosition {
  GuitarPosition() = default;
  // The first string, from the highest, on which the key can be played. Keys below the lowest
  // open string (19, E2) have no position.
  explicit GuitarPosition(unsigned int key);

  unsigned int Note() const;

  unsigned int string = 0;  // 0 = highest
  unsigned int fret = 0;
};

}  // namespace Core
