#pragma once

// The exercise screen's answer buttons and section buttons as lists, in number order (Answer1
// first), whatever their places in the form.

#include <QList>
#include <QToolButton>

#include "ui_console_exercise_control.h"

namespace UI {

inline QList<QToolButton*> AnswerButtons(const Ui_console_exercise_control& ui) {
  return {ui.Answer1, ui.Answer2, ui.Answer3, ui.Answer4, ui.Answer5, ui.Answer6};
}

inline QList<QToolButton*> SectionButtons(const Ui_console_exercise_control& ui) {
  return {ui.TimelineButton1, ui.TimelineButton2, ui.TimelineButton3, ui.TimelineButton4,
          ui.TimelineButton5};
}

}  // namespace UI
