#pragma once

// A multiple-choice answer button. Its looks set one font for every label, but a label can be
// longer than the button is wide ("C♯6 Pentatonic m") or run to two lines ("Thirty Second" over
// "Rest"): such a label is drawn in the largest size, up to the look's own, at which it fits the
// button whole. While it takes no click it is drawn faded.

#include <QToolButton>

namespace UI {

class AnswerButton : public QToolButton {
  Q_OBJECT

 public:
  explicit AnswerButton(QWidget* parent = nullptr);

  // The font the label is drawn in at the button's present size.
  QFont LabelFont() const;

 protected:
  void paintEvent(QPaintEvent* event) override;
};

}  // namespace UI
