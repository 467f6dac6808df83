#pragma once

// The play overlay of the exercise screen: while an exercise waits to start or is paused it stands
// in for a part of the screen with a dimmed still picture of it and a large play symbol. A click
// or the space bar lets the symbol grow and fade while the picture brightens; then the overlay
// hides, the real widgets come back and Play() tells the screen to go on. A plain child widget
// covering its parent.

#include <QBasicTimer>
#include <QPixmap>
#include <QPointer>
#include <QWidget>

#include <array>

#include "src/ui/fade_mode.h"

namespace UI {

class PlayDialog : public QWidget {
  Q_OBJECT

 public:
  static constexpr int StepMs = 20;
  static constexpr int LastStep = 9;

  explicit PlayDialog(QWidget* parent);

  void fadeIn();
  void fadeOut();
  // 0 at rest .. 9, the last frame before the overlay vanishes.
  int step() const { return m_step; }
  bool animating() const { return m_fadeIn.isActive() || m_fadeOut.isActive(); }
  // The widget the overlay stands in for; null when it shows no picture of one.
  QWidget* covered() const { return m_covered; }
  // The still picture shown dimmed under the symbol; null when there is none.
  const QPixmap& picture() const { return m_background; }
  // One step of the running animation, as a tick of its timer; nothing when none runs.
  void advance();

 signals:
  void Play();

 public slots:
  void clickAreaClicked();
  void doShow(UI::FadeMode mode, QWidget* covered);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void timerEvent(QTimerEvent* event) override;
  void paintEvent(QPaintEvent* event) override;

 private:
  void coverParent();
  const QPixmap& symbol();

  int m_step = 0;
  QPointer<QWidget> m_covered;
  std::array<QPixmap, LastStep + 1> m_symbols;  // the play symbol scaled for each step
  QPixmap m_background;
  QBasicTimer m_fadeIn;
  QBasicTimer m_fadeOut;
};

}  // namespace UI
