#pragma once

// The history of the screens shown in the main window. Every change of screen goes through
// Show, which tells listeners which screen replaced which (by object name) and cross-fades
// through the fader it was last given. The manager also carries the score board's size, which
// the home screen computes from its layout and the exercise screen reads.

#include <QObject>
#include <QRect>
#include <QStack>
#include <QString>

class QWidget;

namespace UI {

class FaderWidget;

class WindowStackManager : public QObject {
  Q_OBJECT

 public:
  WindowStackManager();

  // Shows `widget` and pushes it (also when it is already on the stack). A null fader keeps the
  // one given before; with none ever given the screen is simply made visible.
  void Show(QWidget* widget, FaderWidget* fader);
  // Pops the top and fades back to the screen below it.
  void HideCurrentWidget(FaderWidget* fader);
  QWidget* GetCurrentWindow() const;
  // The entry below the top; null with fewer than two entries.
  QWidget* GetPreviousWindow() const;
  int Depth() const { return int(m_stack.size()); }

  // Height `a`, width `b`; the top-left corner stays.
  void SetScoreboardSizeHint(int a, int b);
  QRect ScoreboardSizeHint() const { return m_scoreboardHint; }

 signals:
  void screenChange(QString currentWin, QString previousWin);

 private:
  // The manager outlives main windows (a second one in the same process, as in the tests and
  // benchmarks): the screens and the fader of one that is gone are forgotten with it.
  void Forget(QObject* gone);

  QStack<QWidget*> m_stack;
  FaderWidget* m_fader = nullptr;
  QRect m_scoreboardHint{0, 0, 0, 0};
};

}  // namespace UI
