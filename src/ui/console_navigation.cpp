// The toolbar's state logic of the main window: a state machine for which buttons show on the
// home screen and while an exercise is open, the highlighted page button, the caption, and the
// page buttons that switch the exercise screen's view.

#include <QFinalState>
#include <QState>
#include <QStateMachine>

#include "src/ui/block_view_control.h"
#include "src/ui/console.h"
#include "src/ui/controls/console_exercise_control/console_exercise_control.h"

namespace UI {

void Console::setupNavigation(NavigationStartState start) {
  // A new machine replaces the one built at an earlier first show.
  if (m_navigation) {
    m_navigation->stop();
    m_navigation->deleteLater();
  }
  auto* machine = new QStateMachine(this);
  auto* home = new QState(machine);
  auto* exercise = new QState(machine);
  machine->setInitialState(start == StartInExercise ? exercise : home);

  for (QWidget* shown : {static_cast<QWidget*>(m_ui.About), static_cast<QWidget*>(m_ui.Help)})
    home->assignProperty(shown, "visible", true);
  for (QWidget* hidden :
       {static_cast<QWidget*>(m_ui.Home), static_cast<QWidget*>(m_ui.captionSeparator),
        static_cast<QWidget*>(m_ui.Settings), static_cast<QWidget*>(m_ui.Statistics),
        static_cast<QWidget*>(m_ui.Reference), static_cast<QWidget*>(m_ui.Exercise)})
    home->assignProperty(hidden, "visible", false);

  for (QWidget* shown :
       {static_cast<QWidget*>(m_ui.Home), static_cast<QWidget*>(m_ui.captionSeparator),
        static_cast<QWidget*>(m_ui.Exercise), static_cast<QWidget*>(m_ui.Reference),
        static_cast<QWidget*>(m_ui.Statistics), static_cast<QWidget*>(m_ui.Settings),
        static_cast<QWidget*>(m_ui.About), static_cast<QWidget*>(m_ui.Help)})
    exercise->assignProperty(shown, "visible", true);
  const QString selected = m_ui.ToolBar->property("selectedStyle").toString();
  const QString unselected = m_ui.ToolBar->property("unselectedStyle").toString();
  exercise->assignProperty(m_ui.Exercise, "styleSheet", selected);
  for (QWidget* page :
       {static_cast<QWidget*>(m_ui.Reference), static_cast<QWidget*>(m_ui.Statistics),
        static_cast<QWidget*>(m_ui.Settings)})
    exercise->assignProperty(page, "styleSheet", unselected);

  home->addTransition(this, &Console::ToExerciseTrans, exercise);
  exercise->addTransition(this, &Console::ToHomeTrans, home);
  m_navigation = machine;
  machine->start();
}

void Console::UpdateToolbarState(QWidget* screen) {
  if (screen == m_blockView) {
    emit ToHomeTrans();
    ResetTitle();
  } else if (screen == m_exerciseControl) {
    emit ToExerciseTrans();
    m_ui.Reference->setVisible(!m_quiz);
    m_ui.Exercise->setText(m_quiz ? tr("Quiz") : tr("Exercise"));
    SetTitle(m_exerciseControl->GetCurrentExerciseId(), m_quiz);
  }
}

void Console::highlightToolBarItem(QWidget* button) {
  const QString unselected = m_ui.ToolBar->property("unselectedStyle").toString();
  for (QWidget* page :
       {static_cast<QWidget*>(m_ui.Exercise), static_cast<QWidget*>(m_ui.Reference),
        static_cast<QWidget*>(m_ui.Statistics), static_cast<QWidget*>(m_ui.Settings)})
    page->setStyleSheet(unselected);
  button->setStyleSheet(m_ui.ToolBar->property("selectedStyle").toString());
}

void Console::ResetTitle() {
  m_ui.CaptionText->setStyleSheet(m_ui.CaptionText->property("home").toString());
}

void Console::SetTitle(int trainer, bool quiz) {
  QString name = trainer == 0   ? QStringLiteral("noteTrainer")
                 : trainer == 1 ? QStringLiteral("earTrainer")
                                : QStringLiteral("symbolTrainer");
  if (quiz) name += QStringLiteral("Quiz");
  m_ui.CaptionText->setStyleSheet(m_ui.CaptionText->property(name.toLatin1()).toString());
  m_ui.CaptionText->setProperty("captionStyle", name);
}

void Console::showPage(QToolButton* button, void (Console::*signal)(UI::Speed)) {
  highlightToolBarItem(button);
  if (!GetExerciseControl()->isVisible()) {
    emit(this->*signal)(SpeedImmediate);
    Show(m_exerciseControl, true);
  } else {
    emit(this->*signal)(SpeedAnimated);
  }
}

void Console::showExercise() {
  showPage(m_ui.Exercise, qOverload<UI::Speed>(&Console::showExercise));
}

void Console::showReference() {
  showPage(m_ui.Reference, qOverload<UI::Speed>(&Console::showReference));
}

void Console::showStatistics() {
  showPage(m_ui.Statistics, qOverload<UI::Speed>(&Console::showStatistics));
}

}  // namespace UI
