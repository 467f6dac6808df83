#include "src/ui/controls/console_exercise_control/exercise_score.h"

#include "src/core/exercise/records/question.h"
#include "src/core/midi/error.h"
#include "src/core/score_builder/score_builder.h"

namespace UI {

std::shared_ptr<Core::ScoreSet> RenderExerciseScore(const std::string& rmn, int highlight) {
  auto set = std::make_shared<Core::ScoreSet>(1);
  (*set)[0].highlightIndex = highlight;
  try {
    Core::ScoreBuilder builder;
    builder.BuildScores(rmn, (*set)[0], Core::ScoreBuilder::ExerciseScore);
  } catch (const Error&) {
    return nullptr;
  }
  return set;
}

bool IsHeardOnly(unsigned int questionType) {
  return questionType == Core::QT_EAR || questionType == Core::QT_TEMPO;
}

}  // namespace UI
