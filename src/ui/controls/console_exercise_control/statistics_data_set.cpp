#include "src/ui/controls/console_exercise_control/statistics_data_set.h"

#include <algorithm>

#include "src/core/exercise/exercise.h"
#include "src/core/exercise/theory/key_geometry.h"

namespace UI::StatisticsData {

namespace {
constexpr int KeyCount = 88;
constexpr int EarTrainer = 1;
constexpr int NoteTrainer = 0;
constexpr int TempoSection = 4;

// The trainers answer -1 (all bits set) for a question that names no key.
int KeyOf(Core::Exercise& exercise, int section, int id) {
  return static_cast<int>(exercise.GetNoteById(section, id));
}
}  // namespace

bool IsKeySection(long exerciseId, int section) {
  return exerciseId == NoteTrainer || (exerciseId == EarTrainer && section != TempoSection);
}

bool IsGood(const Core::ExStat& record) {
  return record.Wrong <= record.Correct / 9;
}

void GroupStats(Core::Exercise& exercise, int section, std::vector<Core::ExStat>& stats) {
  std::size_t end = stats.size();
  for (std::size_t head = 0; head < end; ++head) {
    for (std::size_t j = head + 1; j < end;) {
      if (!exercise.CompareQuestionGroup(section, stats[j].Id, stats[head].Id)) {
        ++j;
        continue;
      }
      stats[head].Correct = Core::AddCounts(stats[head].Correct, stats[j].Correct);
      stats[head].Wrong = Core::AddCounts(stats[head].Wrong, stats[j].Wrong);
      // The last record of the range takes j's place and is looked at next.
      std::swap(stats[j], stats[end - 1]);
      --end;
    }
  }
  stats.resize(end);
}

void Compute(Core::Exercise& exercise, long exerciseId, int section, int octave,
             std::vector<StatisticsRow>& rows, GkcStats& keys) {
  std::vector<Core::ExStat> stats;
  exercise.GetStatistics(section, stats);

  if (IsKeySection(exerciseId, section)) {
    for (const Core::ExStat& record : stats) {
      const int key = KeyOf(exercise, section, record.Id);
      // Ids from an older statistics file may name no key of this piano.
      if (key < 0 || key >= KeyCount) continue;
      (IsGood(record) ? keys.goodKeys : keys.badKeys).push_back(key);
    }
  }

  if (octave != -1) {
    std::erase_if(stats, [&](const Core::ExStat& record) {
      return static_cast<int>(Core::octave(KeyOf(exercise, section, record.Id))) != octave;
    });
  }
  GroupStats(exercise, section, stats);

  std::vector<int> groups;
  exercise.GetQuestionGroups(section, groups);
  for (int group : groups) {
    StatisticsRow row;
    row.text = exercise.GetGroupTextById(section, group);
    const auto record = std::find_if(stats.begin(), stats.end(), [&](const Core::ExStat& r) {
      return exercise.CompareQuestionGroup(section, group, r.Id);
    });
    if (record != stats.end()) {
      row.correct = record->Correct;
      row.wrong = record->Wrong;
    }
    rows.push_back(row);
  }
}

}  // namespace UI::StatisticsData
