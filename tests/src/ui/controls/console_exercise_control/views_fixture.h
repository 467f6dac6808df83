#pragma once

// The exercise screen's views on the real main window at 1440 x 900: an exercise opened as the
// home screen opens it, records written into the real statistics database, and the toolbar.

#include <QAbstractAnimation>
#include <QAbstractButton>
#include <QStateMachine>

#include <functional>

#include "../../shell_fixture.h"
#include "src/core/exercise/ex_store/exercise_statistics.h"
#include "src/ui/controls/console_exercise_control/console_exercise_control.h"

namespace UI {

class ConsoleExerciseControlProbe {
 public:
  explicit ConsoleExerciseControlProbe(ConsoleExerciseControl* screen) : m_screen(screen) {}
  const auto& Rows() const { return m_screen->statisticsWidgetRows; }
  QAbstractAnimation* ViewAnimation() const { return m_screen->viewAnimation; }
  int& StatisticsSection() const { return m_screen->statisticsSection; }

 private:
  ConsoleExerciseControl* m_screen;
};

}  // namespace UI

namespace Testing {

class ExerciseViewsTest : public ShellTest {
 protected:
  // Opens a trainer and waits until its screen and view machine are up.
  void Open(int trainer, bool quiz);
  UI::ConsoleExerciseControl* Screen() const { return m_console->GetExerciseControl(); }
  Ui_console_exercise_control& Form() const { return Screen()->Form(); }
  const Ui_Console& Toolbar() const { return m_console->form(); }
  UI::ConsoleExerciseControlProbe Probe() const {
    return UI::ConsoleExerciseControlProbe(Screen());
  }
  Core::Exercise* Exercise() const { return Screen()->CurrentExercise(); }
  QStateMachine* Machine() const { return Screen()->findChild<QStateMachine*>("viewMachine"); }
  QString MachineState() const;
  // Waits until no view transition runs.
  bool Settled() const;

  // A record of the open trainer, as answering its question would have left it.
  void Record(int section, int id, int correct, int wrong) const;
  // The first question id of `section` whose key and group text satisfy `match`.
  int FindId(int section, const std::function<bool(int key, const QString& group)>& match) const;
  // The list's visible rows as "label wrong/right".
  QStringList ShownRows() const;
  // The words of the window's notice called `name` while it is shown, as plain text: its title,
  // a line break and its message; empty while it is not shown.
  QString NoticeWords(const QString& name) const;
  // Closes that notice with its button and waits until it has faded out.
  bool CloseNotice(const QString& name) const;
  // A picture of the window for review, beside the test program.
  void Snap(const QString& name) const;
  // Connections to one signal of an object.
  struct Receivers : QObject {
    static int Of(const QObject* object, const char* signal) {
      return (object->*(&Receivers::receivers))(signal);
    }
  };
};

}  // namespace Testing
