#include "src/ui/controls/console_exercise_control/exercise_handler.h"

#include <QMetaObject>
#include <QPointer>
#include <QThread>

#include "src/ui/controls/console_exercise_control/console_exercise_control.h"

namespace UI {

ExerciseHandler::ExerciseHandler(ConsoleExerciseControl* owner, unsigned long runNumber)
    : screen(owner), run(runNumber) {}

// Registration is undone by the screen's destructor or by the exercise's own release.
ExerciseHandler::~ExerciseHandler() = default;

void ExerciseHandler::Deliver(std::function<void(ConsoleExerciseControl*)> emitSignal) {
  if (QThread::currentThread() == screen->thread()) {
    emitSignal(screen);
    return;
  }
  // The screen as context drops the call if the screen goes first; the run number drops a notice
  // of an exercise that was stopped while it waited in the queue.
  ConsoleExerciseControl* target = screen;
  const unsigned long noticeRun = run;
  QMetaObject::invokeMethod(
      screen,
      [target, noticeRun, emitSignal] {
        if (target->IsCurrentRun(noticeRun)) emitSignal(target);
      },
      Qt::QueuedConnection);
}

void ExerciseHandler::OnAnswerProvided(bool right, const Core::Answer& answer) {
  Deliver([right, answer](ConsoleExerciseControl* s) { s->OnAnswerProvided(right, answer); });
}

void ExerciseHandler::OnSectionChanged(unsigned int) {
  Deliver([](ConsoleExerciseControl* s) { emit s->NewTick(); });
}

void ExerciseHandler::OnNoteEvent(bool on, int note) {
  Deliver([on, note](ConsoleExerciseControl* s) { emit s->NoteEntered(on, note); });
}

void ExerciseHandler::OnStateChanged(unsigned int) {
  Deliver([](ConsoleExerciseControl* s) { emit s->StateChanged(); });
}

void ExerciseHandler::OnTick() {
  Deliver([](ConsoleExerciseControl* s) { emit s->NewTick(); });
}

void ExerciseHandler::OnPlaybackStateChanged(Core::PlaybackState) {
  Deliver([](ConsoleExerciseControl* s) { emit s->PlayStateChanged(); });
}

// The screen's side of the handler: the answer's copy, and five slots that only pass a notice on.

void ConsoleExerciseControl::OnAnswerProvided(bool right, const Core::Answer& answer) {
  Core::Answer copy;
  copy.Kind = answer.Kind;
  copy.Notes = answer.Notes;
  copy.IntervalNumber = answer.IntervalNumber;
  copy.ChosenVariant = answer.ChosenVariant;
  emit AnswerProvided(right, copy);
}

void ConsoleExerciseControl::OnTick() {
  emit NewTick();
}

void ConsoleExerciseControl::OnStateChanged() {
  emit StateChanged();
}

void ConsoleExerciseControl::OnPlayStateChanged() {
  emit PlayStateChanged();
}

void ConsoleExerciseControl::OnSectionChanged(uint) {
  emit NewTick();
}

void ConsoleExerciseControl::OnNoteFromDevice(bool pressed, int note) {
  emit NoteEntered(pressed, note);
}

}  // namespace UI
