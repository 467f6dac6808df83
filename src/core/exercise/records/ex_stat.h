#pragma once

// One statistics record: how often one question of one section of one exercise was answered
// right and wrong.

#include <algorithm>
#include <climits>

namespace Core {

struct ExStat {
  int Id = 0;          // question id: the id of the question's correct variant
  int ExerciseId = 0;  // 0 note trainer, 1 ear trainer, 2 music-symbols trainer
  int SectionIndex = 0;
  int Correct = 0;
  int Wrong = 0;

  // Sort order of record lists; records with equal ids keep no particular order.
  static bool CompareById(const ExStat& a, const ExStat& b) { return a.Id < b.Id; }

  friend bool operator==(const ExStat&, const ExStat&) = default;
};

// Counts add up without overflowing: a count read from a statistics file may stand at the top of
// the range, and then stays there.
inline int AddCounts(int count, int more) {
  const long long sum = static_cast<long long>(count) + more;
  return static_cast<int>(std::clamp<long long>(sum, INT_MIN, INT_MAX));
}

}  // namespace Core
