#include "src/ui/action_hint_dialog.h"

#include <QPainter>
#include <QTimer>

#include "src/ui/custom_property_animation.h"
#include "src/ui/screen_geometry.h"

namespace UI {

const char* const regularViewText =
    QT_TRANSLATE_NOOP("UI::ActionHintDialog", "Press spacebar to pause");
const char* const PauseAfterErrorViewText =
    QT_TRANSLATE_NOOP("UI::ActionHintDialog",
                      "Press spacebar for next question,\nto continue automatically see Settings");

ActionHintDialog::ActionHintDialog(QWidget* parent)
    : QWidget(parent, Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
      m_fade(new CustomPropertyAnimation(this, "newOpacity", this)) {
  m_ui.setupUi(this);
  m_fade->setParent(this);
  m_fade->setKeyValueAt(0.0, 1.0f);
  m_fade->setKeyValueAt(0.8, 1.0f);
  m_fade->setKeyValueAt(1.0, 0.0f);
  // Sized by the screen, with the font following its width.
  const QSize screen = PrimaryScreenGeometry().size();
  setFixedSize(int(screen.width() * 0.3125), int(screen.height() * 0.0875));
  m_ui.label->setStyleSheet(m_ui.label->property("LabelStyle")
                                .toString()
                                .arg(height() / 2)
                                .arg(int(width() / 21.05 + 0.5)));
}

ActionHintDialog::~ActionHintDialog() = default;

void ActionHintDialog::ShowHint(QPoint point, int displayTime, int delay) {
  m_point = point;
  m_displayTime = displayTime;
  setVisible(true);
  m_ui.label->setVisible(true);
  setNewOpacity(1.0f);
  // Both variants stand on the point; the one after a wrong answer would otherwise keep whatever
  // place it had, the top left corner at first.
  MoveHint(point);
  raise();
  if (m_pauseAfterError) {
    m_ui.label->setText(tr(PauseAfterErrorViewText));
    m_snapshotMode = false;
    setWindowOpacity(1.0);
    m_fade->stop();
  } else {
    m_ui.label->setText(tr(regularViewText));
    QTimer::singleShot(delay, this, &ActionHintDialog::Show);
  }
}

void ActionHintDialog::Show() {
  const bool running = m_fade->state() == QAbstractAnimation::Running;
  m_fade->setDuration(m_displayTime + (running ? m_fade->currentTime() : 0));
  m_fade->start();
}

void ActionHintDialog::HideHint() {
  hide();
  if (parentWidget()) parentWidget()->repaint();
  m_ui.label->setVisible(true);
  setNewOpacity(1.0f);
}

void ActionHintDialog::MoveHint(QPoint point) {
  m_point = point;
  move(point.x(), point.y() - height());
}

void ActionHintDialog::SetPauseAfterErrorMode(bool on) {
  m_pauseAfterError = on;
}

void ActionHintDialog::setNewOpacity(float value) {
  if (value == m_opacity) return;
  m_opacity = value;
  if (value > 0.99f) {
    m_snapshot.reset();
    m_ui.label->setVisible(true);
    m_snapshotMode = false;
  } else {
    m_snapshot = std::make_unique<QPixmap>(size());
    m_snapshot->fill(Qt::transparent);
    m_ui.label->render(m_snapshot.get(), QPoint(0, 0), QRegion(rect()),
                       QWidget::DrawChildren | QWidget::IgnoreMask);
    m_ui.label->hide();
    m_snapshotMode = true;
  }
  update();
}

void ActionHintDialog::paintEvent(QPaintEvent* event) {
  if (!m_snapshotMode || !m_snapshot) {
    QWidget::paintEvent(event);
    return;
  }
  // What lies behind the bubble shows through: the parent has painted it already.
  QPainter painter(this);
  painter.setOpacity(m_opacity);
  painter.drawPixmap(rect(), *m_snapshot);
}

}  // namespace UI
