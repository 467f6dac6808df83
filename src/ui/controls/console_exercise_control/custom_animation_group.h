#pragma once

// The parallel group that moves the exercise screen's large areas between its views. It drives
// its animations from its own clock only: a change of its running state is not passed on, so an
// animation that a view switch interrupts stays where it stopped instead of being reset.

#include <QParallelAnimationGroup>

namespace UI {

class ConsoleExerciseControl;

class CustomAnimationGroup : public QParallelAnimationGroup {
  Q_OBJECT

 public:
  explicit CustomAnimationGroup(ConsoleExerciseControl* screen, QObject* parent = nullptr);

 protected:
  void updateCurrentTime(int currentTime) override;
  void updateState(QAbstractAnimation::State newState, QAbstractAnimation::State oldState) override;

 private:
  ConsoleExerciseControl* m_screen;
  bool m_active = true;
};

}  // namespace UI
