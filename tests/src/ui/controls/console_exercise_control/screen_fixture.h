#pragma once

// The exercise screen as the main window builds it, with the real services, and a probe into its
// private state.

#include <QApplication>
#include <QKeyEvent>

#include "src/core/exercise/exercise.h"
#include "src/ui/controls/console_exercise_control/console_exercise_control.h"
#include "src/ui/controls/console_exercise_control/exercise_handler.h"
#include "src/ui/shell_fixture.h"

namespace UI {

class ConsoleExerciseControlProbe {
 public:
  explicit ConsoleExerciseControlProbe(ConsoleExerciseControl* screen) : s(screen) {}
  Ui_console_exercise_control& ui() { return s->ui; }
  int& currentView() { return s->currentView; }
  ActionHintDialog* hint() { return s->actionHintDialog; }
  FaderWidget* fader() { return s->faderWidget; }
  ExerciseHandler* handler() { return s->exerciseHandler.get(); }
  PlayDialog* playDialog() { return s->playDialog; }
  QWidget* frameShadowStrip() { return s->frameShadowStrip; }

 private:
  ConsoleExerciseControl* s;
};

}  // namespace UI

namespace Testing {

class ScreenTest : public ShellTest {
 protected:
  void SetUp() override {
    ShellTest::SetUp();
    StartConsole();
    screen = m_console->GetExerciseControl();
    probe = UI::ConsoleExerciseControlProbe(screen);
  }

  // Opens trainer `id` as the main window does and shows the screen in the exercise view.
  Core::Exercise* Open(unsigned long id) {
    screen->StartExercise(id, false, false);
    return screen->CurrentExercise();
  }

  // Sends the shortcut override that a press of `key` raises; true when the screen took it.
  bool SendShortcutOverride(Qt::Key key) {
    QKeyEvent event(QEvent::ShortcutOverride, key, Qt::NoModifier);
    event.ignore();
    QApplication::sendEvent(screen, &event);
    return event.isAccepted();
  }

  UI::ConsoleExerciseControl* screen = nullptr;
  UI::ConsoleExerciseControlProbe probe{nullptr};
};

}  // namespace Testing
