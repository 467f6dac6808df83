#include "src/ui/range_control_base.h"

#include <QHelpEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>

#include <algorithm>

namespace UI {

RangeControlBase::RangeControlBase(QWidget* parent) : QWidget(parent) {
  SetRange(0, 1);
  setMouseTracking(true);
}

void RangeControlBase::SetRange(int lo, int hi) {
  const int count = m_positionCount;
  lo = std::max(lo, m_lowestLeft);
  if (hi < 0) hi = 1;
  int a = lo < count ? lo : count - 1;
  hi = std::min(hi, m_highestRight);
  if (a >= hi) {
    if (hi > m_lowestLeft)
      a = hi - 1;
    else
      hi = a + 1;
  }
  if (hi - a < m_minimumSpan) {
    if (hi < m_highestRight && a == m_left)
      hi = a + m_minimumSpan;
    else
      a = hi - m_minimumSpan;
  }
  m_left = a;
  m_right = hi;
  const int trackLeft = m_track.left();
  const int trackWidth = m_track.width();
  const int x1 = count > 0 ? a * trackWidth / count + trackLeft : trackLeft;
  const int x2 = count > 0 ? trackLeft + hi * trackWidth / count - 1 : trackLeft;
  m_selection = QRect(QPoint(x1, m_track.top()), QPoint(x2, m_track.bottom()));
}

void RangeControlBase::GetRange(int& left, int& right) const {
  left = m_left;
  right = m_right;
}

RangeControlBase::DragMode RangeControlBase::ModeAt(int x) const {
  const int left = m_selection.left();
  const int right = m_selection.right();
  if (x >= left - 5 && x <= left + 5) return DragLeft;
  if (x >= right - 4 && x <= right + 6) return DragRight;
  if (x >= left && x <= right + 1) return DragRange;
  return NoDrag;
}

int RangeControlBase::PositionAt(int x) const {
  const int width = std::max(1, this->width());
  return ((width / m_positionCount / 2 + x) * m_positionCount) / width;
}

bool RangeControlBase::event(QEvent* event) {
  if (event->type() != QEvent::ToolTip) return QWidget::event(event);
  auto* help = static_cast<QHelpEvent*>(event);
  const int trackWidth = std::max(1, m_track.width());
  const int index = (help->pos().x() - m_track.left()) * m_positionCount / trackWidth;
  if (index >= 0 && index < int(m_names.size())) {
    QToolTip::showText(help->globalPos(), m_names[std::size_t(index)]);
    return true;
  }
  QToolTip::hideText();
  event->ignore();
  return false;
}

void RangeControlBase::mousePressEvent(QMouseEvent* event) {
  const int x = event->position().toPoint().x();
  m_dragMode = ModeAt(x);
  switch (m_dragMode) {
    case DragLeft:
    case DragRight:
      setCursor(Qt::SizeHorCursor);
      break;
    case DragRange:
      setCursor(Qt::ClosedHandCursor);
      break;
    case NoDrag:
      setCursor(Qt::ArrowCursor);
      return;
  }
  m_pressX = x;
  m_pressLeft = m_left;
  m_pressRight = m_right;
}

void RangeControlBase::mouseReleaseEvent(QMouseEvent*) {
  m_dragMode = NoDrag;
  setCursor(Qt::OpenHandCursor);
}

void RangeControlBase::mouseMoveEvent(QMouseEvent* event) {
  const int x = event->position().toPoint().x();
  if (event->buttons() == Qt::NoButton) m_dragMode = NoDrag;
  const int width = std::max(1, this->width());
  const int p = PositionAt(x);
  switch (m_dragMode) {
    case NoDrag: {
      const DragMode hover = ModeAt(x);
      setCursor(hover == DragRange ? Qt::OpenHandCursor
                : hover == NoDrag  ? Qt::ArrowCursor
                                   : Qt::SizeHorCursor);
      return;
    }
    case DragRight:
      SetRange(m_left, p > m_left ? p : m_left + 1);
      break;
    case DragLeft:
      SetRange(std::min(p, m_right), m_right);
      break;
    case DragRange: {
      const int d = x - m_pressX;
      const int half = (width / m_positionCount) / 2;
      const int shift = ((d < 1 ? -half : half) + d) * m_positionCount / width;
      SetRange(m_pressLeft + shift, m_pressRight + shift);
      break;
    }
  }
  repaint();
}

void RangeControlBase::enterEvent(QEnterEvent*) {}

void RangeControlBase::leaveEvent(QEvent*) {
  setCursor(Qt::ArrowCursor);
}

void RangeControlBase::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.translate(0, 6);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.drawPixmap(0, 0, m_background);
  const QRect& s = m_selection;
  const int selectionWidth = s.right() - s.left();
  const int selectionHeight = s.bottom() - s.top();
  painter.drawPixmap(s.left(), s.top(), m_overlay, s.left() - m_overlayOrigin.x(),
                     s.top() - m_overlayOrigin.y(), selectionWidth, selectionHeight);
  painter.drawPixmap(s.left() - m_overhang, s.top(), m_leftHandle);
  painter.drawPixmap(s.right() - m_rightHandle.width() + m_overhang, s.top(), m_rightHandle);
  const int edgeWidth = s.width() - 2 * (m_leftHandle.width() - m_overhang);
  if (edgeWidth > 0) {
    const int edgeX = s.left() + m_leftHandle.width() - m_overhang;
    painter.drawPixmap(QRect(edgeX, s.top(), edgeWidth, m_topEdge.height()), m_topEdge);
    painter.drawPixmap(
        QRect(edgeX, s.bottom() - m_bottomEdge.height(), edgeWidth, m_bottomEdge.height()),
        m_bottomEdge);
  }
}

}  // namespace UI
