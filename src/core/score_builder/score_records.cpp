#include "src/core/score_builder/score_records.h"

#include <algorithm>
#include <cmath>

namespace Core {

bool NoteDesc::operator<(const NoteDesc& other) const {
  if (std::isnan(time) || std::isnan(other.time)) return false;
  return time < other.time || (time == other.time && id < other.id);
}

void SortNotePositions(QVector<NoteDesc>& notes) {
  std::stable_sort(notes.begin(), notes.end(), [](const NoteDesc& a, const NoteDesc& b) {
    const bool aNan = std::isnan(a.time), bNan = std::isnan(b.time);
    if (aNan || bNan) return !aNan && bNan;
    return a < b;
  });
}

ScorePageDescription::ScorePageDescription(int imageWidth, int rowHeight, int imageHeight)
    : score(std::make_shared<QPixmap>(imageWidth, imageHeight)),
      fingers(std::make_shared<QPixmap>(imageWidth, rowHeight)),
      letters(std::make_shared<QPixmap>(imageWidth, imageHeight)) {
  for (const auto& pixmap : {score, fingers, letters}) pixmap->fill(Qt::transparent);
}

}  // namespace Core
