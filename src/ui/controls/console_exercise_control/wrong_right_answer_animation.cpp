#include "src/ui/controls/console_exercise_control/wrong_right_answer_animation.h"

#include <QWidget>

namespace UI {

WrongRightAnswerAnimation::WrongRightAnswerAnimation(QObject* target, const QByteArray& property,
                                                     QWidget* repainted)
    : QPropertyAnimation(target, property), m_repainted(repainted) {}

void WrongRightAnswerAnimation::updateCurrentValue(const QVariant& value) {
  // The first step puts the frame where it already is: repainting the whole area then would only
  // hold back the paint of the verdict that started the animation.
  const QObject* frame = targetObject();
  if (!frame || frame->property(propertyName()) != value) m_repainted->update();
  QPropertyAnimation::updateCurrentValue(value);
}

}  // namespace UI
