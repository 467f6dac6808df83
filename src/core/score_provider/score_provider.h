#pragma once

// RAZID Music Notation text of question scores (the notes asked) and answer scores (the notes
// played and expected, coloured right, wrong or not played). Pure functions of their arguments:
// they keep nothing between calls and may run on any thread.

#include <string>
#include <vector>

#include "src/core/exercise/records/note_analysis.h"

namespace Core {

class ScoreProvider {
 public:
  // How the question notes are laid out: ST_CHORD writes them as one chord, every other value
  // one after another.
  enum ScoreType : int {
    ST_SEQUENCE = 0,  // scales
    ST_NOTE = 1,
    ST_INTERVAL = 2,
    ST_CHORD = 3,
  };

  // The notes on one staff, followed by an empty second voice on the same staff.
  static std::string GetQuestionScoreNotes(std::vector<unsigned int> keys, bool gClef, bool flat,
                                           ScoreType scoreType);

  // The wrongly played notes as a red chord (left out when there are none), then the expected
  // notes as one chord, green where played and blue where missing. Wrong notes the clef cannot
  // show are left out.
  static std::string GetQuestionScoreAnswerNotes(std::vector<NoteWAnalysis> notes, bool gClef,
                                                 bool flat);

  // The notes one after another in their own colours; notes the clef cannot show are left out.
  static std::string GetQuestionScoreAnswerNotesSequence(std::vector<NoteWAnalysis> notes,
                                                         bool gClef, bool flat);
};

}  // namespace Core
