#pragma once

// The named lesson scores, each rendered for the three hands in quarter-screen and third-screen
// rows, in the order they were added. GUI thread only.

#include <QList>
#include <QString>

#include <memory>

#include "src/core/score_builder/lesson_score_data.h"

namespace Core {

class LessonScoreProvider;

class ScoreManager {
 public:
  // Nothing happens for a name already present. Lets the builder's Error through for text it
  // cannot render; nothing is added then.
  void AddScore(const QString& name, std::shared_ptr<LessonScoreProvider> provider);
  std::shared_ptr<LessonScoreData> GetScore(unsigned long index) const;
  unsigned long GetScoreCount() const;
  // All ones (-1) for a name not present.
  unsigned long GetScoreIndex(const QString& name) const;

 private:
  QList<std::shared_ptr<LessonScoreData>> m_scores;
};

}  // namespace Core
