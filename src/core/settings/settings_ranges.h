#pragma once

// The ranges the settings screens offer for the numbers of the trainer settings. Values read from
// the settings file are brought into them as the screens already show them, so that a damaged or
// hand-edited file still gives lessons whose every section asks questions.

namespace Core {

struct ExcersisesSettings;

constexpr int MaxQuestionsPerSection = 1000;
constexpr int MaxSecondsPerQuestion = 60;  // 0 = untimed
constexpr int MaxIntervalSize = 12;        // semitones
// The general page offers waits of 1, 3 and 5 seconds after a wrong answer.
constexpr int ShortestWrongAnswerDelay = 1000;
constexpr int LongestWrongAnswerDelay = 5000;

// Each section asks 1 to MaxQuestionsPerSection questions of 0 to MaxSecondsPerQuestion seconds;
// a key range lies on the piano and holds at least one key (an empty one keeps its top and
// reaches one key lower); interval sizes lie in 0 to MaxIntervalSize, the smallest no larger than
// the largest; the wait after a wrong answer lies between the shortest and the longest offered.
void KeepInOfferedRanges(ExcersisesSettings& settings);

}  // namespace Core
