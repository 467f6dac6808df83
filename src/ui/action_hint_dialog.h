#pragma once

// The rounded hint bubble the exercise screen floats over a widget to say what the space bar does.
// The regular hint stays for 80 % of its display time and fades over the rest; the hint shown
// after a wrong answer stays at full strength until it is taken down. The fade paints a snapshot
// of the label with a falling opacity. A plain child widget; its point is in its parent's
// coordinates.

#include <QWidget>

#include <memory>

#include "ui_action_hint_dialog.h"

namespace UI {

class CustomPropertyAnimation;

extern const char* const regularViewText;
extern const char* const PauseAfterErrorViewText;

class ActionHintDialog : public QWidget {
  Q_OBJECT
  Q_PROPERTY(float newOpacity READ newOpacity WRITE setNewOpacity)

 public:
  explicit ActionHintDialog(QWidget* parent);
  ~ActionHintDialog() override;

  // Shows the bubble with its lower left corner at `point`; the regular hint starts its fade
  // `delay` ms later, to end `displayTime` ms after that.
  void ShowHint(QPoint point, int displayTime, int delay);
  void HideHint();
  // Moves a shown bubble so that its lower left corner is at `point`, leaving its text and fade
  // as they are.
  void MoveHint(QPoint point);
  // Picks the variant of the following ShowHint calls.
  void SetPauseAfterErrorMode(bool on);
  bool PauseAfterErrorMode() const { return m_pauseAfterError; }
  float newOpacity() const { return m_opacity; }
  void setNewOpacity(float value);
  CustomPropertyAnimation* fadeAnimation() const { return m_fade; }
  QLabel* label() const { return m_ui.label; }

 public slots:
  // Starts the fade, or stretches a running one to end a display time from now.
  void Show();

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  CustomPropertyAnimation* m_fade;
  int m_displayTime = 0;
  QPoint m_point;
  Ui_action_hint_dialog m_ui;
  bool m_pauseAfterError = false;
  std::unique_ptr<QPixmap> m_snapshot;
  bool m_snapshotMode = false;
  float m_opacity = 1.0f;
};

}  // namespace UI
