#pragma once

// Renders the score of a question or of an analysed answer for the exercise screen's board.

#include <memory>
#include <string>

#include "src/core/score_builder/score_records.h"

namespace UI {

// One exercise score page with its note boxes and `highlight` as the framed note index (-1 for
// none). Null when the engine cannot render the text: the board then stays empty and the
// exercise goes on.
std::shared_ptr<Core::ScoreSet> RenderExerciseScore(const std::string& rmn, int highlight);

// Questions that are only heard (ear and tempo): their score is revealed with the verdict.
bool IsHeardOnly(unsigned int questionType);

}  // namespace UI
