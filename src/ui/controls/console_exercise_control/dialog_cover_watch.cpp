#include "src/ui/controls/console_exercise_control/dialog_cover_watch.h"

#include <QApplication>
#include <QDialog>
#include <QEvent>

namespace UI {

DialogCoverWatch::DialogCoverWatch(QWidget* screen) : QObject(screen), m_screen(screen) {
  // The dialogs are made by their owners, many of them long after the screen: only the
  // application sees each of them come up.
  qApp->installEventFilter(this);
}

DialogCoverWatch::~DialogCoverWatch() {
  qApp->removeEventFilter(this);
}

bool DialogCoverWatch::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::Show) {
    const auto* dialog = qobject_cast<QDialog*>(watched);
    if (dialog && (dialog->isWindow() || dialog->window() == m_screen->window())) emit Covered();
  }
  return false;
}

}  // namespace UI
