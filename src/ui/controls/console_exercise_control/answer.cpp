// Answers in and verdicts out: answer buttons, on-screen and MIDI keys, the coloured keys and
// buttons, the frame colour and its shake, the sounds and the time-out notice.
//
// Not written yet: every operation below does nothing.

#include "src/ui/controls/console_exercise_control/console_exercise_control.h"

namespace UI {

void ConsoleExerciseControl::HighlightNote(bool, int) {}
void ConsoleExerciseControl::UpdateAnswerUI(bool, Core::Answer) {}
void ConsoleExerciseControl::VariantClicked() {}
void ConsoleExerciseControl::IntervalClicked(int) {}
void ConsoleExerciseControl::GKCNotePressed(int) {}
void ConsoleExerciseControl::GKCNoteReleased(int) {}
void ConsoleExerciseControl::ShowActionHintDialog() {}
void ConsoleExerciseControl::HideActionHintDialog() {}
void ConsoleExerciseControl::doWrongAnswerAnimation(bool) {}
void ConsoleExerciseControl::doRightAnswerAnimation() {}
void ConsoleExerciseControl::SetMultichoiceDefaultStyle(int) {}
void ConsoleExerciseControl::SetMultichoiceCorrectStyle(int) {}
void ConsoleExerciseControl::SetMultichoiceIncorrectStyle(int) {}
void ConsoleExerciseControl::SetFrameColor(ScoreboardBorderStyle) {}
void ConsoleExerciseControl::clearScoreboardFrameColor() {}

}  // namespace UI
