#include "src/ui/controls/console_exercise_control/answer_button.h"

#include <QStyleOptionToolButton>
#include <QStylePainter>

#include "src/ui/fitted_font.h"

namespace UI {

namespace {

// Room kept free between the label and the button's rounded ends.
constexpr int SideMargin = 6;
// Below this the label would no longer read; it is clipped instead.
constexpr int SmallestPixelSize = 8;
// A button that takes no click is drawn this opaque, face and label, over the dark keyboard
// area: its looks have no picture of their own for it.
constexpr double DisabledOpacity = 0.35;

}  // namespace

AnswerButton::AnswerButton(QWidget* parent) : QToolButton(parent) {}

QFont AnswerButton::LabelFont() const {
  return FittedFont(font(), text(), rect().adjusted(SideMargin, 0, -SideMargin, 0).size(),
                    SmallestPixelSize);
}

void AnswerButton::paintEvent(QPaintEvent*) {
  // The look's font overrides any font given to the style, so the button is drawn without its
  // label and the label over it.
  QStylePainter painter(this);
  if (!isEnabled()) painter.setOpacity(DisabledOpacity);
  QStyleOptionToolButton option;
  initStyleOption(&option);
  const QString label = option.text;
  option.text.clear();
  painter.drawComplexControl(QStyle::CC_ToolButton, option);
  painter.setFont(LabelFont());
  painter.drawItemText(rect(), Qt::AlignCenter | Qt::TextShowMnemonic, option.palette, isEnabled(),
                       label, QPalette::ButtonText);
}

}  // namespace UI
