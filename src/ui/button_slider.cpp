#include "src/ui/button_slider.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <QStyleOptionSlider>

ButtonSlider::ButtonSlider(QWidget* parent) : QSlider(parent) {}

ButtonSlider::~ButtonSlider() = default;

bool ButtonSlider::OnGroove(QPoint position) const {
  QStyleOptionSlider option;
  initStyleOption(&option);
  return style()->hitTestComplexControl(QStyle::CC_Slider, &option, position, this) ==
         QStyle::SC_SliderGroove;
}

QRect ButtonSlider::handleRect() const {
  QStyleOptionSlider option;
  initStyleOption(&option);
  return style()->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderHandle, this);
}

void ButtonSlider::setSeekable(bool seekable) {
  m_seekable = seekable;
  // A drag under way ends where it is, without its release telling of a seek.
  if (!seekable && isSliderDown()) {
    const QSignalBlocker quiet(this);
    setSliderDown(false);
  }
  if (!seekable && m_grabbing) {
    m_grabbing = false;
    releaseMouse();
  }
}

void ButtonSlider::takeDrag(QPoint position) {
  if (!m_seekable) return;
  QMouseEvent press(QEvent::MouseButtonPress, QPointF(position), QPointF(mapToGlobal(position)),
                    Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(this, &press);
  // The press went to another widget, which the pointer's moves would follow.
  grabMouse();
  m_grabbing = true;
}

bool ButtonSlider::ForwardGrooveEvent(QMouseEvent* event) {
  // A drag of the handle ends in the slider wherever it is let go.
  if (!m_background || isSliderDown()) return false;
  if (!OnGroove(event->position().toPoint())) return false;

  // The slider lies exactly over the background, so the position is the same in both.
  const QPoint position = event->position().toPoint();
  if (QWidget* child = m_background->childAt(position)) {
    QMouseEvent copy(event->type(), QPointF(child->mapFromParent(position)),
                     event->globalPosition(), event->button(), event->buttons(),
                     event->modifiers());
    // Sent, not posted: it arrives before this handler returns, marked not spontaneous.
    QCoreApplication::sendEvent(child, &copy);
    repaint();
  }
  return true;
}

void ButtonSlider::mousePressEvent(QMouseEvent* event) {
  if (ForwardGrooveEvent(event)) return;
  // A press beside the groove of a slider that does not seek ends here, at no widget behind it.
  if (m_seekable)
    QSlider::mousePressEvent(event);
  else
    event->accept();
}

void ButtonSlider::mouseReleaseEvent(QMouseEvent* event) {
  if (!ForwardGrooveEvent(event)) {
    if (m_seekable)
      QSlider::mouseReleaseEvent(event);
    else
      event->accept();
  }
  if (m_grabbing && event->buttons() == Qt::NoButton) {
    m_grabbing = false;
    releaseMouse();
  }
}

void ButtonSlider::mouseMoveEvent(QMouseEvent* event) {
  if (m_seekable)
    QSlider::mouseMoveEvent(event);
  else
    event->accept();
}

void ButtonSlider::wheelEvent(QWheelEvent* event) {
  if (m_seekable)
    QSlider::wheelEvent(event);
  else
    event->ignore();
}

void ButtonSlider::keyPressEvent(QKeyEvent* event) {
  if (m_seekable)
    QSlider::keyPressEvent(event);
  else
    event->ignore();
}

void ButtonSlider::leaveEvent(QEvent* event) {
  if (m_background) {
    QEvent copy(event->type());
    QCoreApplication::sendEvent(m_background, &copy);
  }
  QWidget::leaveEvent(event);
}

void ButtonSlider::paintEvent(QPaintEvent*) {
  // A disabled slider keeps its enabled look: the timeline under it tells the state.
  const bool wasDisabled = !isEnabled();
  if (wasDisabled) setAttribute(Qt::WA_Disabled, false);

  QPainter painter(this);
  QStyleOptionSlider option;
  initStyleOption(&option);
  option.subControls = QStyle::SC_SliderGroove | QStyle::SC_SliderHandle;
  style()->drawComplexControl(QStyle::CC_Slider, &option, &painter, this);

  if (m_background) {
    if (!m_cache || m_cache->size() != size()) m_cache = std::make_shared<QPixmap>(size());
    m_cache->fill(Qt::transparent);
    m_background->render(m_cache.get(), QPoint(0, 0), QRegion(),
                         QWidget::DrawWindowBackground | QWidget::DrawChildren);
    painter.drawPixmap(0, 0, *m_cache);
  }

  option.subControls = QStyle::SC_SliderHandle;
  option.state &= ~QStyle::State_Enabled;
  style()->drawComplexControl(QStyle::CC_Slider, &option, &painter, this);

  if (wasDisabled) setAttribute(Qt::WA_Disabled, true);
}
