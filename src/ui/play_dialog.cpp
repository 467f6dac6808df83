#include "src/ui/play_dialog.h"

#include <QKeyEvent>
#include <QPainter>
#include <QTimerEvent>

#include "src/ui/screen_geometry.h"

namespace UI {

PlayDialog::PlayDialog(QWidget* parent) : QWidget(parent) {
  coverParent();
  installEventFilter(this);
  setCursor(Qt::PointingHandCursor);
  m_symbols[0] = QPixmap(QStringLiteral(":/PIX/pixmap/play.png"));
}

void PlayDialog::coverParent() {
  // The parent's own rectangle: in a window the screen's size would spill past it.
  const QSize size = parentWidget() ? parentWidget()->size() : PrimaryScreenGeometry().size();
  setGeometry(QRect(QPoint(0, 0), size));
}

void PlayDialog::doShow(FadeMode mode, QWidget* covered) {
  m_covered = covered;
  if (covered) {
    m_background = QPixmap(covered->size());
    m_background.fill(Qt::transparent);
    covered->render(&m_background, QPoint(0, 0), QRegion(covered->rect()),
                    QWidget::DrawChildren | QWidget::IgnoreMask);
    covered->hide();
  } else {
    // No picture of an earlier showing: the screen has changed since.
    m_background = QPixmap();
  }
  setVisible(true);
  raise();
  if (mode == FadeNone) {
    m_step = 0;
  } else if (mode == FadeAnimated && !animating()) {
    m_step = LastStep;
    m_fadeIn.start(StepMs, this);
  }
  setFocus(Qt::OtherFocusReason);
}

void PlayDialog::clickAreaClicked() {
  fadeOut();
}

void PlayDialog::fadeOut() {
  if (animating()) return;
  m_step = 0;
  m_fadeOut.start(StepMs, this);
}

void PlayDialog::fadeIn() {
  if (animating()) return;
  m_step = LastStep;
  m_fadeIn.start(StepMs, this);
}

void PlayDialog::timerEvent(QTimerEvent* event) {
  if (event->timerId() == m_fadeIn.timerId() || event->timerId() == m_fadeOut.timerId()) {
    advance();
  } else {
    QWidget::timerEvent(event);
  }
}

void PlayDialog::advance() {
  if (m_fadeOut.isActive()) {
    if (++m_step >= LastStep) {
      m_fadeOut.stop();
      hide();
      if (m_covered) m_covered->show();
      emit Play();
    }
  } else if (m_fadeIn.isActive()) {
    if (--m_step <= 0) m_fadeIn.stop();
  } else {
    return;
  }
  repaint();
}

const QPixmap& PlayDialog::symbol() {
  QPixmap& scaled = m_symbols[size_t(m_step)];
  const QPixmap& original = m_symbols[0];
  if (scaled.isNull() && !original.isNull()) {
    // From its own size at rest to nearly the overlay's height at the last step; kept once made.
    const float ratio = float(height()) / float(original.height());
    const float scale = (ratio - 1) * (float(m_step) / 10) + 1;
    scaled =
        original.scaled(int(float(original.width()) * scale), int(float(original.height()) * scale),
                        Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
  }
  return scaled;
}

void PlayDialog::paintEvent(QPaintEvent*) {
  const float strength = float(10 - m_step) / 10;
  QPainter painter(this);
  painter.fillRect(rect(), Qt::black);
  painter.setOpacity(1 - 0.8f * strength);
  painter.drawPixmap(0, 0, m_background);
  const QPixmap& picture = symbol();
  painter.setOpacity(strength);
  painter.drawPixmap((width() - picture.width()) / 2, (height() - picture.height()) / 2 - 24,
                     picture);
}

bool PlayDialog::eventFilter(QObject* watched, QEvent* event) {
  if (watched != this) return QWidget::eventFilter(watched, event);
  switch (event->type()) {
    case QEvent::Show:
      coverParent();
      break;
    case QEvent::Hide:
      if (m_covered) m_covered->show();
      break;
    case QEvent::MouseButtonPress:
      clickAreaClicked();
      break;
    case QEvent::KeyPress:
    case QEvent::ShortcutOverride:
      if (static_cast<QKeyEvent*>(event)->key() == Qt::Key_Space) {
        event->accept();
        clickAreaClicked();
        return true;
      }
      break;
    default:
      break;
  }
  return QWidget::eventFilter(watched, event);
}

}  // namespace UI
