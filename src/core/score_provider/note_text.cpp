#include "src/core/score_provider/note_text.h"

#include <algorithm>

#include "src/common/assertion.h"
#include "src/core/score_provider/rmn_fragments.h"
#include "src/core/settings/exercise_settings.h"

namespace Core {

namespace {

constexpr int kHighestNamedKey = 98;

// Pitch classes from C of the black keys: C♯, D♯, F♯, G♯, A♯.
bool IsBlack(int key) {
  switch ((key + 9) % 12) {
    case 1:
    case 3:
    case 6:
    case 8:
    case 10:
      return true;
    default:
      return false;
  }
}

bool Contains(const std::vector<unsigned int>& keys, int key) {
  return key >= 0 &&
         std::find(keys.begin(), keys.end(), static_cast<unsigned int>(key)) != keys.end();
}

}  // namespace

bool HasRazidName(int key) {
  return key >= 0 && key <= kHighestNamedKey;
}

void noteToRazid(std::string& text, int key, bool flat,
                 const std::vector<unsigned int>& chordKeys) {
  MELVARIN_ASSERT(HasRazidName(key));
  const bool black = IsBlack(key);
  bool useFlat = flat;
  if (black) {
    if (!flat && Contains(chordKeys, key - 1)) useFlat = true;
    if (flat && Contains(chordKeys, key + 1)) useFlat = false;
  }
  const unsigned int column = black && useFlat ? 1 : 0;
  if (key < 3) {
    text += RazidNotesNamesMap[static_cast<unsigned int>(key) + 9][column];
    text += NoteOctaveSignature[0];
    return;
  }
  const unsigned int q = static_cast<unsigned int>(key - 3) / 12;
  const unsigned int r = static_cast<unsigned int>(key - 3) % 12;
  text += RazidNotesNamesMap[r][column];
  text += NoteOctaveSignature[q + 1];
}

void noteColor(std::string& text, int color) {
  switch (color) {
    case NoteWAnalysis::CL_RIGHT:
      text += rightFormat;
      break;
    case NoteWAnalysis::CL_WRONG:
      text += wrongFormat;
      break;
    case NoteWAnalysis::CL_NOT_PLAYED:
      text += notPlayedFormat;
      break;
    default:
      text += blackFormat;
      break;
  }
}

bool validate5Bars(bool gClef, int key) {
  return gClef ? NotesDiapason::FitsTrebleClef(key) : NotesDiapason::FitsBassClef(key);
}

}  // namespace Core
