#pragma once

// Stand-in for the exercise screen until the real one is written: it offers exactly the
// operations the main window uses, holds the running exercise, and shows which trainer and view
// are open, so the shell can be run and tested end to end.

#include <QString>
#include <QWidget>

#include <memory>

#include "src/ui/speed.h"

class QLabel;

namespace Core {
class Exercise;
struct VAvaroState;
}  // namespace Core

namespace UI {

class ConsoleExerciseControl : public QWidget {
  Q_OBJECT

 public:
  explicit ConsoleExerciseControl(QWidget* parent);

  bool HasExercise() const { return m_exercise != nullptr; }
  // The trainer last started (-1 before the first start) and whether it runs as a quiz.
  int GetCurrentExerciseId() const { return m_exerciseId; }
  bool IsQuiz() const { return m_quiz; }
  bool IsPaused() const { return m_paused; }

  void StartExercise(size_t exerciseId, bool quiz, bool resume);
  void StopExercise();
  void LoadState(const Core::VAvaroState& state);
  bool SaveState(Core::VAvaroState& state);
  bool PauseExercise(bool pause, bool showOverlay);
  int GetExerciseSectionIndex() const { return 0; }
  void HideMidiWarningDialog() {}

 public slots:
  void ApplySettings();
  void showExercise(UI::Speed speed);
  void showReference(UI::Speed speed);
  void ShowStatistics(UI::Speed speed);
  void screenChangeSlot(QString current, QString previous);

 signals:
  void ExitSignal();

 private:
  void ShowView(const QString& view);

  std::shared_ptr<Core::Exercise> m_exercise;
  int m_exerciseId = -1;
  bool m_quiz = false;
  bool m_paused = false;
  int m_position = 0;
  QLabel* m_label;
};

}  // namespace UI
