#include "src/core/score_builder/score_manager.h"

#include "src/common/assertion.h"
#include "src/core/score_builder/lesson_score_provider.h"
#include "src/core/score_builder/score_builder.h"

namespace Core {

void ScoreManager::AddScore(const QString& name, std::shared_ptr<LessonScoreProvider> provider) {
  if (GetScoreIndex(name) != static_cast<unsigned long>(-1)) return;
  auto data = std::make_shared<LessonScoreData>();
  data->name = name;
  data->quarterSet = std::make_shared<ScoreSet>(3);
  data->thirdSet = std::make_shared<ScoreSet>(3);
  for (int hand = 0; hand < 3; ++hand) {
    const std::string rmn = provider->GetRazidScores(unsigned(hand));
    ScoreBuilder(provider, hand)
        .BuildScores(rmn, (*data->thirdSet)[hand], ScoreBuilder::ThirdScreen);
    ScoreBuilder(provider, hand)
        .BuildScores(rmn, (*data->quarterSet)[hand], ScoreBuilder::QuarterScreen);
  }
  m_scores.append(data);
}

std::shared_ptr<LessonScoreData> ScoreManager::GetScore(unsigned long index) const {
  MELVARIN_ASSERT(index < static_cast<unsigned long>(m_scores.size()));
  return m_scores[qsizetype(index)];
}

unsigned long ScoreManager::GetScoreCount() const {
  return static_cast<unsigned long>(m_scores.size());
}

unsigned long ScoreManager::GetScoreIndex(const QString& name) const {
  for (qsizetype i = 0; i < m_scores.size(); ++i)
    if (m_scores[i]->name == name) return static_cast<unsigned long>(i);
  return static_cast<unsigned long>(-1);
}

}  // namespace Core
