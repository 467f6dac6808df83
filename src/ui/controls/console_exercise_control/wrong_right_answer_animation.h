#pragma once

// The little jump or shake of the score frame after an answer. The frame sits in an area that
// paints its shadows around it, so that area must repaint at every step, not only the frame.

#include <QPropertyAnimation>

class QWidget;

namespace UI {

class WrongRightAnswerAnimation : public QPropertyAnimation {
  Q_OBJECT

 public:
  // `repainted` is kept, not owned.
  WrongRightAnswerAnimation(QObject* target, const QByteArray& property, QWidget* repainted);

 protected:
  void updateCurrentValue(const QVariant& value) override;

 private:
  QWidget* m_repainted;
};

}  // namespace UI
