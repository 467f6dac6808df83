#include "src/ui/base_dialog.h"

#include <QApplication>
#include <QEventLoop>
#include <QGraphicsOpacityEffect>
#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QRadialGradient>

#include "src/ui/custom_property_animation.h"

namespace UI {

namespace {

// While a dialog runs exec(), input meant for the rest of its window is dropped, as a modal
// window's would be.
class InputBlocker : public QObject {
 public:
  explicit InputBlocker(QWidget* dialog) : m_dialog(dialog) { qApp->installEventFilter(this); }
  ~InputBlocker() override { qApp->removeEventFilter(this); }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    switch (event->type()) {
      case QEvent::MouseButtonPress:
      case QEvent::MouseButtonRelease:
      case QEvent::MouseButtonDblClick:
      case QEvent::MouseMove:
      case QEvent::Wheel:
      case QEvent::KeyPress:
      case QEvent::KeyRelease:
      case QEvent::Shortcut:
      case QEvent::ShortcutOverride: {
        auto* widget = qobject_cast<QWidget*>(watched);
        if (!widget || !m_dialog) return false;
        return widget != m_dialog && !m_dialog->isAncestorOf(widget) &&
               widget->window() == m_dialog->window();
      }
      default:
        return false;
    }
  }

 private:
  QPointer<QWidget> m_dialog;
};

}  // namespace

BaseDialog::BaseDialog(QWidget* parent, QRect rect, double startOpacity, double endOpacity,
                       bool translucent)
    : QDialog(parent),
      m_opacityEffect(new QGraphicsOpacityEffect(this)),
      m_fade(new CustomPropertyAnimation(this, "opacity", this)),
      m_rect(rect) {
  // Over a parent the dialog is a plain child: a translucent top-level window is black without a
  // compositor and cannot be placed on every desktop.
  setWindowFlags(parent ? Qt::Widget : Qt::Dialog | Qt::FramelessWindowHint);
  if (translucent) setAttribute(Qt::WA_TranslucentBackground);
  m_opacityEffect->setOpacity(startOpacity);
  setGraphicsEffect(m_opacityEffect);
  m_fade->setParent(this);
  m_fade->setKeyValueAt(0.0, startOpacity);
  m_fade->setKeyValueAt(1.0, endOpacity);
  m_fade->setDuration(FadeMs);
  connect(m_fade, &QAbstractAnimation::stateChanged, this, &BaseDialog::setVisibility);
  QDialog::setVisible(false);
}

BaseDialog::~BaseDialog() {
  // A fade still running when the dialog goes must not call back into the half-destroyed dialog.
  disconnect(m_fade, nullptr, this, nullptr);
  m_fade->stop();
}

double BaseDialog::opacity() const {
  return m_opacityEffect->opacity();
}

void BaseDialog::setOpacity(double opacity) {
  m_opacityEffect->setOpacity(opacity);
}

void BaseDialog::show() {
  if (isVisible()) return;
  setGeometry(m_rect);
  fadeIn();
  raise();
  setFocus(Qt::ActiveWindowFocusReason);
}

int BaseDialog::exec() {
  setResult(0);
  QPointer<BaseDialog> self(this);
  InputBlocker blocker(this);
  QEventLoop loop;
  connect(this, &BaseDialog::DialogClosed, &loop, &QEventLoop::quit);
  show();
  if (isVisible()) loop.exec(QEventLoop::DialogExec);
  return self ? result() : 0;
}

void BaseDialog::hide() {
  fadeOut();
}

void BaseDialog::fadeOut() {
  m_fade->stop();
  m_fade->setDirection(QAbstractAnimation::Backward);
  m_fade->start();
  emit fading();
}

void BaseDialog::fadeIn() {
  m_fade->stop();
  m_fade->setDirection(QAbstractAnimation::Forward);
  m_fade->start();
}

void BaseDialog::done(int result) {
  setResult(result);
  fadeOut();
}

void BaseDialog::setVisibility(QAbstractAnimation::State newState,
                               QAbstractAnimation::State oldState) {
  const bool forward = m_fade->direction() == QAbstractAnimation::Forward;
  if (oldState == QAbstractAnimation::Stopped && newState == QAbstractAnimation::Running &&
      forward) {
    setVisible(true);
  } else if (oldState == QAbstractAnimation::Running && newState == QAbstractAnimation::Stopped &&
             !forward) {
    setVisible(false);
    emit DialogClosed();
  }
}

void BaseDialog::setOnOffClickCloseDlg(QWidget* frame) {
  m_frame = frame;
}

void BaseDialog::setShadowEffect(QWidget* frame) {
  m_frame = frame;
  m_shadow = true;
}

void BaseDialog::setShadowGradiaentColor(QGradient& gradient) {
  gradient.setColorAt(0.0, QColor(0, 0, 0, 140));
  gradient.setColorAt(0.1, QColor(0, 0, 0, 110));
  gradient.setColorAt(0.7, QColor(0, 0, 0, 20));
  gradient.setColorAt(1.0, QColor(0, 0, 0, 0));
}

void BaseDialog::mousePressEvent(QMouseEvent* event) {
  if (m_frame) {
    const QRect frame(m_frame->mapToGlobal(QPoint(0, 0)), m_frame->size());
    const QRect press(event->globalPosition().toPoint(), QSize(1, 1));
    if (!frame.intersects(press)) fadeOut();
  }
  QWidget::mousePressEvent(event);
}

void BaseDialog::paintEvent(QPaintEvent* event) {
  QDialog::paintEvent(event);
  if (m_shadow && m_frame) paintShadow();
}

void BaseDialog::paintShadow() {
  QPainter painter(this);
  painter.setRenderHint(QPainter::Antialiasing);
  const QPoint topLeft = m_frame->mapTo(this, QPoint(0, 0));
  const int x = topLeft.x(), y = topLeft.y();
  const int r = x + m_frame->width(), b = y + m_frame->height();

  auto linear = [](QPointF from, QPointF to) {
    QLinearGradient gradient(from, to);
    setShadowGradiaentColor(gradient);
    return QBrush(gradient);
  };
  auto radial = [](QPointF centre) {
    QRadialGradient gradient(centre, 15);
    setShadowGradiaentColor(gradient);
    return QBrush(gradient);
  };
  // Inclusive pixel bounds, as the shadow's bands and corners are given.
  auto fill = [&painter](int x1, int x2, int y1, int y2, const QBrush& brush) {
    painter.fillRect(QRect(QPoint(x1, y1), QPoint(x2, y2)), brush);
  };
  fill(x - 12, x + 2, y + 3, b - 4, linear({x + 3.0, 0}, {x - 12.0, 0}));
  fill(r - 3, r + 11, y + 3, b - 4, linear({r - 3.0, 0}, {r + 12.0, 0}));
  fill(x + 3, r - 4, y - 12, y + 2, linear({x + 3.0, y + 3.0}, {x + 3.0, y - 12.0}));
  fill(x + 3, r - 4, b - 3, b + 11, linear({x + 3.0, b - 3.0}, {x + 3.0, b + 12.0}));
  fill(x - 12, x + 2, b - 3, b + 11, radial({x + 3.0, b - 3.0}));
  fill(x - 12, x + 2, y - 12, y + 2, radial({x + 3.0, y + 3.0}));
  fill(r - 3, r + 11, y - 12, y + 2, radial({r - 3.0, y + 3.0}));
  fill(r - 3, r + 11, b - 3, b + 11, radial({r - 3.0, b - 3.0}));
  m_frame->update();
}

}  // namespace UI
