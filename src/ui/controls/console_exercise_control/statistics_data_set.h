#pragma once

// The figures behind the statistics view: one row per question group of a section, and the piano
// keys to mark green or red. They come from the open exercise, which knows its own groups, labels
// and keys, and from its lesson or all-time records, as the exercise was last told to give.

#include <QString>

#include <vector>

#include "src/core/exercise/records/ex_stat.h"

namespace Core {
class Exercise;
}

namespace UI {

// One row of the statistics list.
struct StatisticsRow {
  QString text;
  int wrong = 0;
  int correct = 0;
};

// The piano's colours for one section. A key may be in both lists; the red one wins.
struct GkcStats {
  std::vector<int> goodKeys;
  std::vector<int> badKeys;
};

namespace StatisticsData {

// The face that draws the sharp and flat signs in the rows' labels.
inline const QString AccidentalFace = QStringLiteral("DejaVu Math TeX Gyre");

// The sections whose questions stand for piano keys: every section of the note trainer, and the
// ear trainer's sections but its tempo section.
bool IsKeySection(long exerciseId, int section);

// A record is good while its wrong answers are at most a ninth of its right ones.
bool IsGood(const Core::ExStat& record);

// Merges every record of one group into the first record of that group and drops the others;
// the order of the records left is not kept.
void GroupStats(Core::Exercise& exercise, int section, std::vector<Core::ExStat>& stats);

// The rows of `section`, one per group in the trainer's display order (groups without a record
// at 0 and 0), and its key colours. With `octave` other than -1 the rows count only the records
// whose key lies in that octave; the key colours always count every record.
void Compute(Core::Exercise& exercise, long exerciseId, int section, int octave,
             std::vector<StatisticsRow>& rows, GkcStats& keys);

}  // namespace StatisticsData
}  // namespace UI
