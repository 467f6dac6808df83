#include "src/core/exercise/theory/key_geometry.h"

#include "src/common/assertion.h"

namespace Core {

namespace {

// Offsets of the seven white keys from the A that starts each group of twelve keys.
constexpr std::array<unsigned int, 7> kWhiteOffsets = {0, 2, 3, 5, 7, 8, 10};
// Offset of the key just below each white key (the black one where there is one).
constexpr std::array<int, 7> kPrevOffsets = {-1, 1, 3, 4, 6, 8, 9};
// White index within the group for each of the twelve keys, rounding down and up.
constexpr std::array<unsigned int, 12> kWhiteBelow = {0, 0, 1, 2, 2, 3, 3, 4, 5, 5, 6, 6};
constexpr std::array<unsigned int, 12> kWhiteAbove = {0, 1, 1, 2, 3, 3, 4, 4, 5, 6, 6, 7};

constexpr std::array<unsigned int, 36> MakeChromatics() {
  std::array<unsigned int, 36> keys{};
  constexpr std::array<unsigned int, 5> offsets = {1, 4, 6, 9, 11};
  for (unsigned int i = 0; i < keys.size(); ++i) keys[i] = (i / 5) * 12 + offsets[i % 5];
  return keys;
}

}  // namespace

const std::array<unsigned int, 12> NotesMap = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11};
const std::array<unsigned int, 36> Chromatics = MakeChromatics();
const std::array<unsigned int, 6> GuitarStringStart = {43, 38, 34, 29, 24, 19};

unsigned int WhiteIndexToNote(unsigned int white) {
  return (white / 7) * 12 + kWhiteOffsets[white % 7];
}

unsigned int WhiteIndexToPrevNote(unsigned int white) {
  return (white / 7) * 12 + static_cast<unsigned int>(kPrevOffsets[white % 7]);
}

unsigned int NoteToWhiteIndex(unsigned int key) {
  return (key / 12) * 7 + kWhiteBelow[key % 12];
}

unsigned int NoteToNextWhiteIndex(unsigned int key) {
  return (key / 12) * 7 + kWhiteAbove[key % 12];
}

unsigned int octave(int key) {
  if (key < 3) return 0;
  if (key == 87) return 8;
  return static_cast<unsigned int>(key - 3) / 12 + 1;
}

unsigned int GetNoteType(unsigned char key) {
  if (key < 3) return key + 9u;
  if (key >= 87) return 0;
  return NotesMap[(key - 3u) % 12];
}

bool IsStemUp(unsigned int, bool) {
  return false;
}

GuitarPosition::GuitarPosition(unsigned int key) {
  MELVARIN_ASSERT(key >= 19);
  for (unsigned int s = 0; s < GuitarStringStart.size(); ++s) {
    if (GuitarStringStart[s] <= key) {
      string = s;
      fret = key - GuitarStringStart[s];
      return;
    }
  }
}

unsigned int GuitarPosition::Note() const {
  return GuitarStringStart[string] + fret;
}

}  // namespace Core
