#include "src/ui/controls/console_exercise_control/custom_animation_group.h"

namespace UI {

CustomAnimationGroup::CustomAnimationGroup(ConsoleExerciseControl* screen, QObject* parent)
    : QParallelAnimationGroup(parent), m_screen(screen) {}

void CustomAnimationGroup::updateCurrentTime(int currentTime) {
  // The base starts each animation at the group's first step and stops it at its end.
  QParallelAnimationGroup::updateCurrentTime(currentTime);
}

void CustomAnimationGroup::updateState(QAbstractAnimation::State, QAbstractAnimation::State) {}

}  // namespace UI
