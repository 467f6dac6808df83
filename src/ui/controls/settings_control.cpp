#include "src/ui/controls/settings_control.h"

#include <QEvent>
#include <QLinearGradient>
#include <QPainter>
#include <QRadialGradient>
#include <QStackedWidget>

#include "src/common/assertion.h"
#include "src/ui/controls/settings_locked.h"

namespace UI {

SettingsControl::SettingsControl(QWidget* parent) : QWidget(parent) {}

void SettingsControl::InstallSettingsLocker(QStackedWidget* pages, QWidget* tabs, QWidget* apply) {
  MELVARIN_ASSERT(pages != nullptr && tabs != nullptr);
  pages->installEventFilter(this);
  tabs->installEventFilter(this);
  connect(pages, &QStackedWidget::currentChanged, this, &SettingsControl::tabChanged);
  m_pages = pages;
  m_tabs = tabs;
  m_apply = apply;
  m_tabs->repaint();
}

void SettingsControl::SetPage(int lock) {
  if (m_locked && m_quizMode) m_locked->setVisible(lock != 0);
}

SettingsLocked* SettingsControl::FetchLockOverlay() {
  if (!m_locked) {
    QWidget* host = m_pages->parentWidget();
    m_locked = new SettingsLocked(host);
    m_locked->setGeometry(QRect(m_pages->pos(), m_pages->size()));
  }
  m_locked->setQuizMode(true);
  return m_locked;
}

void SettingsControl::showEvent(QShowEvent* event) {
  Data2Gui();
  // A panel without pages yet (no locker installed) has nothing to cover.
  if (m_quizMode && m_pages) {
    SettingsLocked* locked = FetchLockOverlay();
    // The general page is the last one and is never covered.
    locked->setVisible(m_pages->currentIndex() != m_pages->count() - 1);
  } else if (!m_quizMode && m_locked) {
    m_locked->hide();
  }
  QWidget::showEvent(event);
}

void SettingsControl::hideEvent(QHideEvent* event) {
  QWidget::hideEvent(event);
}

void SettingsControl::tabChanged(int) {
  if (m_tabs) m_tabs->repaint();
}

bool SettingsControl::eventFilter(QObject* watched, QEvent* event) {
  if (!m_quizMode || event->type() != QEvent::Paint || watched != m_tabs) return false;
  QPainter painter(m_tabs);
  painter.setRenderHint(QPainter::Antialiasing);
  // Taller than the strip, so only its two top corners are rounded.
  const QRect rect(0, 0, m_tabs->width(), m_tabs->height() + 200);
  if (m_pages->currentIndex() == m_pages->count() - 1) return false;
  painter.setBrush(QColor(0, 0, 0, 190));
  painter.drawRoundedRect(rect, 7, 7, Qt::AbsoluteSize);
  return false;
}

void SettingsControl::setShadowGradiaentColor(QGradient& gradient) {
  gradient.setColorAt(0.0, QColor(0, 0, 0, 140));
  gradient.setColorAt(0.1, QColor(0, 0, 0, 110));
  gradient.setColorAt(0.7, QColor(0, 0, 0, 20));
  gradient.setColorAt(1.0, QColor(0, 0, 0, 0));
}

namespace {
// A rectangle given by its first and last pixel, both included.
QRect Span(int x1, int x2, int y1, int y2) {
  return QRect(QPoint(x1, y1), QPoint(x2, y2));
}
}  // namespace

void SettingsControl::doPaint(QWidget* content) {
  QPainter painter(this);
  const int W = width();
  const int H = height();
  QLinearGradient background(0, 0, 0, H);
  background.setColorAt(0, QColor(112, 102, 92));
  background.setColorAt(1, QColor(203, 198, 189));
  painter.setPen(Qt::NoPen);
  painter.fillRect(QRect(0, 0, W, H), background);
  painter.setRenderHint(QPainter::Antialiasing);

  const QPoint origin = content->mapTo(this, QPoint(0, 0));
  const int x = origin.x();
  const int y = origin.y();
  const int w = content->width();
  const int h = content->height();
  auto linear = [&](QPointF dark, QPointF clear, const QRect& rect) {
    QLinearGradient gradient(dark, clear);
    setShadowGradiaentColor(gradient);
    painter.fillRect(rect, gradient);
  };
  auto corner = [&](QPointF centre, const QRect& rect) {
    QRadialGradient gradient(centre, 15, centre);
    setShadowGradiaentColor(gradient);
    painter.fillRect(rect, gradient);
  };
  linear({x + 3.0, 0}, {x - 12.0, 0}, Span(x - 12, x + 2, y + 3, y + h - 4));
  linear({x + w - 3.0, 0}, {x + w + 12.0, 0}, Span(x + w - 3, x + w + 11, y + 3, y + h - 4));
  linear({x + 3.0, y + 3.0}, {x + 3.0, y - 12.0}, Span(x + 3, x + w - 4, y - 12, y + 2));
  linear({x + 3.0, y + h - 3.0}, {x + 3.0, y + h + 12.0},
         Span(x + 3, x + w - 4, y + h - 3, y + h + 11));
  corner({x + 3.0, y + h - 3.0}, Span(x - 12, x + 2, y + h - 3, y + h + 11));
  corner({x + 3.0, y + 3.0}, Span(x - 12, x + 2, y - 12, y + 2));
  corner({x + w - 3.0, y + 3.0}, Span(x + w - 3, x + w + 11, y - 12, y + 2));
  corner({x + w - 3.0, y + h - 3.0}, Span(x + w - 3, x + w + 11, y + h - 3, y + h + 11));

  QLinearGradient top(0, 0, 0, 12);
  top.setColorAt(0.0, QColor(0, 0, 0, 200));
  top.setColorAt(0.1, QColor(0, 0, 0, 180));
  top.setColorAt(0.7, QColor(0, 0, 0, 20));
  top.setColorAt(1.0, QColor(0, 0, 0, 0));
  painter.fillRect(Span(0, W - 1, 0, 11), top);
}

}  // namespace UI
