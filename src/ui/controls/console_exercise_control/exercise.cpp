// Running an exercise on the screen: starting and stopping it, pausing, the seek slider and the
// section buttons, moving from question to question, and the section end.
//
// Not written yet: an exercise is opened and released, and pausing reaches it; everything else
// does nothing.

#include <QTimerEvent>

#include "src/core/catalog/exercise_catalog.h"
#include "src/core/exercise/exercise.h"
#include "src/ui/application.h"
#include "src/ui/controls/console_exercise_control/console_exercise_control.h"
#include "src/ui/section_end_dialog.h"

namespace UI {

void ConsoleExerciseControl::StartExercise(unsigned long id, bool quiz, bool) {
  StopExercise();
  exerciseId = long(id);
  quizMode = quiz;
  Application* app = Application::instance();
  exercise = app->GetExerciseCatalog()->OpenExercise(id);
  exercise->TempoBank = app->GetMidiBank();
  exercise->SetSettings(app->GetSettings());
  exercise->Reset();
}
void ConsoleExerciseControl::StopExercise() {
  exercise.reset();
}
bool ConsoleExerciseControl::SaveState(Core::VAvaroState&) {
  return false;
}
void ConsoleExerciseControl::LoadState(const Core::VAvaroState&) {}
int ConsoleExerciseControl::GetExerciseSectionIndex() const {
  return 0;
}
void ConsoleExerciseControl::HideMidiWarningDialog() {}
bool ConsoleExerciseControl::IsPaused() const {
  return exercise && exercise->GetPlaybackState() == Core::PS_PAUSED;
}
bool ConsoleExerciseControl::PauseExercise(bool pause, bool) {
  return exercise && currentView == 0 && exercise->Pause(pause);
}
void ConsoleExerciseControl::Play() {}
void ConsoleExerciseControl::restartExercise() {}
void ConsoleExerciseControl::repaintProgress() {}
void ConsoleExerciseControl::ReviewStats() {}
void ConsoleExerciseControl::ApplySettings() {}
void ConsoleExerciseControl::Exit() {}
void ConsoleExerciseControl::UpdateSlider(bool) {}
void ConsoleExerciseControl::OnNext() {}
void ConsoleExerciseControl::UpdateUIOnStateChange() {}
void ConsoleExerciseControl::MoveToNextQuestion() {}
void ConsoleExerciseControl::BeginSeekSlider() {}
void ConsoleExerciseControl::EndSeekSlider() {}
void ConsoleExerciseControl::SwitchToSection(int) {}
void ConsoleExerciseControl::ShowSectionEndDialog() {}
void ConsoleExerciseControl::timerEvent(QTimerEvent*) {}
void ConsoleExerciseControl::ContinueAfterSeek() {}
bool ConsoleExerciseControl::CheckForMidiDevice() {
  return false;
}
void ConsoleExerciseControl::hideAllDialogs() {}
void ConsoleExerciseControl::BeforeSeek() {}
void ConsoleExerciseControl::EndSeek() {}
void ConsoleExerciseControl::enableAnswerControls(bool) {}
void ConsoleExerciseControl::updateButtons() {}
void ConsoleExerciseControl::UpdateProgress() {}
SectionEndDialog* ConsoleExerciseControl::GetSectionEndDialog() {
  return sectionEndDialog;
}

}  // namespace UI
