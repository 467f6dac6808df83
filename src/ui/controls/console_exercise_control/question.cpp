// Showing a question: its score, picture, text or speaker, and the answer controls it takes.
//
// Not written yet: every operation below does nothing.

#include "src/ui/controls/console_exercise_control/console_exercise_control.h"

namespace UI {

void ConsoleExerciseControl::ShowQuestion() {}
void ConsoleExerciseControl::UpdateUI() {}

}  // namespace UI
