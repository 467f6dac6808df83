#pragma once

// The property animation behind every fading overlay: on each step it repaints the parent of the
// animated widget, so an overlay fading over the main window leaves no trails. Starting it takes
// no default start value and stops no other animation of the property, so users give explicit
// key values at 0 and 1.

#include <QPropertyAnimation>

class QWidget;

namespace UI {

class CustomPropertyAnimation : public QPropertyAnimation {
  Q_OBJECT

 public:
  CustomPropertyAnimation(QObject* target, const QByteArray& property, QWidget* widget);

 protected:
  bool event(QEvent* event) override;
  void updateState(QAbstractAnimation::State newState, QAbstractAnimation::State oldState) override;
  void updateCurrentValue(const QVariant& value) override;

 private:
  QWidget* m_widget;
};

}  // namespace UI
