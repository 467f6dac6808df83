#pragma once

// The one observer that the exercise screen registers with the open exercise. The engine calls
// it on the timer thread, the MIDI input thread or the GUI thread; it turns every notice into a
// signal of the screen and touches no widget itself.
//
// A notice raised on the GUI thread (an answer button, an on-screen key, the screen's own calls)
// is handled at once, inside the exercise's call and under its recursive lock, so that the
// verdict is on screen before that call returns. A notice from another thread is queued to the
// GUI thread and dropped there if its exercise is no longer the open one.

#include <functional>

#include "src/core/exercise/exercise.h"
#include "src/core/exercise/lesson_base.h"

namespace UI {

class ConsoleExerciseControl;

class ExerciseHandler : public Core::ExerciseObserver, public Core::LessonBaseObserver {
 public:
  // `run` is the screen's number of the exercise this handler observes.
  ExerciseHandler(ConsoleExerciseControl* screen, unsigned long run);
  ~ExerciseHandler() override;

  void OnAnswerProvided(bool right, const Core::Answer& answer) override;
  void OnSectionChanged(unsigned int section) override;
  void OnNoteEvent(bool on, int note) override;
  void OnStateChanged(unsigned int state) override;
  void OnTick() override;
  void OnPlaybackStateChanged(Core::PlaybackState state) override;

 private:
  void Deliver(std::function<void(ConsoleExerciseControl*)> emitSignal);

  ConsoleExerciseControl* const screen;
  const unsigned long run;
};

}  // namespace UI
