#include "src/ui/custom_property_animation.h"

#include <QWidget>

namespace UI {

CustomPropertyAnimation::CustomPropertyAnimation(QObject* target, const QByteArray& property,
                                                 QWidget* widget)
    : QPropertyAnimation(target, property, nullptr), m_widget(widget) {}

bool CustomPropertyAnimation::event(QEvent* event) {
  return QPropertyAnimation::event(event);
}

void CustomPropertyAnimation::updateState(QAbstractAnimation::State, QAbstractAnimation::State) {}

void CustomPropertyAnimation::updateCurrentValue(const QVariant& value) {
  if (m_widget && m_widget->parentWidget()) m_widget->parentWidget()->update();
  QPropertyAnimation::updateCurrentValue(value);
}

}  // namespace UI
