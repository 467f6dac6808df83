#include "src/ui/window_stack_manager.h"

#include <QWidget>

#include "src/ui/fader_widget.h"

namespace UI {

WindowStackManager::WindowStackManager() : QObject(nullptr) {}

void WindowStackManager::Show(QWidget* widget, FaderWidget* fader) {
  if (fader) {
    m_fader = fader;
    connect(fader, &QObject::destroyed, this, &WindowStackManager::Forget, Qt::UniqueConnection);
  }
  connect(widget, &QObject::destroyed, this, &WindowStackManager::Forget, Qt::UniqueConnection);
  if (!m_stack.isEmpty()) emit screenChange(widget->objectName(), m_stack.top()->objectName());
  if (m_fader)
    m_fader->fadeToWidget(widget);
  else
    widget->setVisible(true);
  m_stack.push(widget);
}

void WindowStackManager::HideCurrentWidget(FaderWidget* fader) {
  m_fader = fader;
  if (m_stack.isEmpty()) return;
  QWidget* popped = m_stack.pop();
  if (m_stack.isEmpty() || !fader) return;
  emit screenChange(m_stack.top()->objectName(), popped->objectName());
  fader->fadeToWidget(m_stack.top());
}

void WindowStackManager::Forget(QObject* gone) {
  m_stack.removeIf([gone](QWidget* screen) { return static_cast<QObject*>(screen) == gone; });
  if (static_cast<QObject*>(m_fader) == gone) m_fader = nullptr;
}

QWidget* WindowStackManager::GetCurrentWindow() const {
  return m_stack.isEmpty() ? nullptr : m_stack.top();
}

QWidget* WindowStackManager::GetPreviousWindow() const {
  return m_stack.size() < 2 ? nullptr : m_stack[m_stack.size() - 2];
}

void WindowStackManager::SetScoreboardSizeHint(int a, int b) {
  m_scoreboardHint.setHeight(a);
  m_scoreboardHint.setWidth(b);
}

}  // namespace UI
