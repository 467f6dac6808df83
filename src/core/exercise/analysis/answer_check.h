#pragma once

// Compares the notes a learner played with the notes a question expects: the verdict, judged at
// every played note so that a chord or scale is decided the moment it is complete or one note is
// wrong, and the analysis behind the answer score (every note coloured right, wrong or missing).

#include <string>
#include <vector>

#include "src/core/exercise/records/answer.h"
#include "src/core/exercise/records/note_analysis.h"
#include "src/core/exercise/records/question.h"
#include "src/core/midi/midi.h"

namespace Core {

// Verdicts. Anything negative means "right so far, but notes are still missing".
constexpr int VerdictWrong = 0;
constexpr int VerdictRight = 1;
constexpr int VerdictIncomplete = -1;

// Only audible notes count (note-ons with a velocity above 0); everything else in either stream is
// ignored. Each played note must match a distinct expected note: exactly, or by pitch class when
// `anyOctave` is set; when `ordered` is set only the next expected note may match. Returns 0 at the
// first played note without a match or when more notes were played than expected, -1 while
// expected notes remain, 1 when every expected note was played.
int CompareChords(const MidiStream& expected, const MidiStream& played, bool ordered,
                  bool anyOctave);

// Analyses an answer to `question` for its answer score and writes the score text into `rmn`.
// The expected notes are the correct variant's, the played notes the answer's own or, for a
// multiple-choice answer, the chosen variant's. `notes` receives one entry per note (appended);
// `sequence` selects the note-by-note form used for intervals and scales, which also sets
// `firstWrong` to the position of the first wrongly played note when the clef can show it (-1
// when it cannot); the chord form leaves `firstWrong` alone. Either form pairs the played notes
// with the expected ones in order only where the question asks for it, as the verdict does: a
// right answer shows every note right.
// Preconditions: the correct variant, and the chosen one for a multiple-choice answer, exist and
// carry a stream.
void AnalyseAnswer(const Question& question, const Answer& answer, std::string& rmn,
                   std::vector<NoteWAnalysis>& notes, bool sequence, int& firstWrong);

}  // namespace Core
