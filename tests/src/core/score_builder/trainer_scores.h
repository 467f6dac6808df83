#pragma once

// Every score the note and ear trainers can show, written by the exercise engine from its own
// pools: each question of a section in every clef the trainers give it and in both spellings,
// and answer scores to it with right, wrong and missing notes. Identical texts come once.

#include <string>
#include <vector>

namespace ScoreOverlaps {

struct TrainerScore {
  std::string source;  // where it comes from, for messages
  std::string rmn;
};

enum class Section { SingleNotes, Intervals, Chords, Scales };

std::vector<TrainerScore> QuestionScores(Section section);
// Each question's answer scores: all its notes played, only the first, and one or all of them a
// semitone off (for the note-by-note answers of intervals and scales, at the first, the last or
// the middle note).
std::vector<TrainerScore> AnswerScores(Section section);

}  // namespace ScoreOverlaps
