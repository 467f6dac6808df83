#pragma once

// The exercise screen's views on the real main window at 1440 x 900: an exercise opened as the
// home screen opens it, its statistics written into the real statistics database, and the view
// machine driven through the toolbar's buttons.

#include <QAbstractAnimation>
#include <QAbstractButton>
#include <QStateMachine>

#include "../../shell_fixture.h"
#include "src/core/exercise/ex_store/exercise_statistics.h"
#include "src/ui/controls/console_exercise_control/console_exercise_control.h"

namespace UI {

// Reads the screen's own state for the tests.
class ConsoleExerciseControlProbe {
 public:
  explicit ConsoleExerciseControlProbe(ConsoleExerciseControl* screen) : m_screen(screen) {}
  const std::vector<ConsoleExerciseControl::StatisticsWidgetRow>& Rows() const {
    return m_screen->statisticsWidgetRows;
  }
  QAbstractAnimation* ViewAnimation() const { return m_screen->viewAnimation; }
  bool Extended() const { return m_screen->extendedStatisticsShown; }
  int StatisticsSection() const { return m_screen->statisticsSection; }

 private:
  ConsoleExerciseControl* m_screen;
};

}  // namespace UI

namespace Testing {

class ExerciseViewsTest : public ShellTest {
 protected:
  // Opens a trainer as the home screen does and waits until its screen and view machine are up.
  void Open(int trainer, bool quiz);

  UI::ConsoleExerciseControl* Screen() const { return m_console->GetExerciseControl(); }
  Ui_console_exercise_control& Form() const { return Screen()->Form(); }
  UI::ConsoleExerciseControlProbe Probe() const {
    return UI::ConsoleExerciseControlProbe(Screen());
  }
  Core::Exercise* Exercise() const { return Screen()->CurrentExercise(); }
  QStateMachine* Machine() const { return Screen()->findChild<QStateMachine*>("viewMachine"); }
  // The machine's state, by name.
  QString MachineState() const;

  // Records of the open exercise, as answering its questions would have left them.
  void Record(int section, int id, int correct, int wrong) const;
  // The first question id of `section` whose key and group text satisfy `match`.
  int FindId(int section, const std::function<bool(int key, const QString& group)>& match) const;

  // Toolbar buttons.
  void ClickToolbar(QAbstractButton* button) { Click(button); }
  const Ui_Console& Toolbar() const { return m_console->form(); }

  // Visible list rows as "label wrong/correct".
  QStringList ShownRows() const;

  // Lets the view machine take what was emitted and finish any animation.
  bool Settled() const;
};

}  // namespace Testing
