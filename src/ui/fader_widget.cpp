#include "src/ui/fader_widget.h"

#include <QCoreApplication>
#include <QPainter>
#include <QResizeEvent>
#include <QTimeLine>
#include <QVBoxLayout>

namespace UI {

namespace {
constexpr int FadeFrames = 30;
}  // namespace

void sendResizeEvents(QWidget* widget) {
  QResizeEvent event(widget->size(), QSize());
  QCoreApplication::sendEvent(widget, &event);
  for (QObject* object : widget->children()) {
    auto* child = qobject_cast<QWidget*>(object);
    if (child && !child->isWindow() && child->testAttribute(Qt::WA_PendingResizeEvent))
      sendResizeEvents(child);
  }
}

QPixmap grabwgt(QWidget* widget, QRect rect) {
  if (!widget) return QPixmap();
  if (widget->testAttribute(Qt::WA_PendingResizeEvent) ||
      !widget->testAttribute(Qt::WA_WState_Created))
    sendResizeEvents(widget);
  if (rect.width() < 0) rect.setWidth(widget->width() - rect.x());
  if (rect.height() < 0) rect.setHeight(widget->height() - rect.y());
  if (!rect.intersects(widget->rect())) return QPixmap();
  QPixmap picture(rect.size());
  picture.fill(Qt::transparent);
  widget->render(&picture, QPoint(), QRegion(rect), QWidget::DrawChildren | QWidget::IgnoreMask);
  return picture;
}

FaderWidget::FaderWidget(QWidget* parent)
    : QWidget(parent), m_timeLine(new QTimeLine(700, this)), m_layout(new QVBoxLayout(this)) {
  m_timeLine->setFrameRange(FadeFrames, 0);
  connect(m_timeLine, &QTimeLine::frameChanged, this, qOverload<>(&QWidget::update));
  m_layout->setSpacing(0);
  m_layout->setContentsMargins(0, 0, 0, 0);
}

void FaderWidget::fadeToWidget(QWidget* widget) {
  m_keepOldPicture = false;
  startFade(widget, true);
}

void FaderWidget::fadeToWidgetImpl(QWidget* widget, bool animate) {
  startFade(widget, animate);
}

void FaderWidget::startFade(QWidget* widget, bool animate) {
  m_timeLine->stop();
  m_fadeState = 1;
  m_previous = m_current;
  m_current = widget;
  refreshFades();
  if (!animate) return;
  m_timeLine->setStartFrame(FadeFrames);
  m_timeLine->start();
}

void FaderWidget::fadeToWidgetWOSnapshot(QWidget* widget) {
  m_keepOldPicture = true;
  if (m_current && m_current != widget) detach(m_current);
  m_timeLine->stop();
  m_fadeState = 1;
  m_previous = m_current;
  m_current = widget;
  refreshFades();
  m_oldPicture = QPixmap();  // nothing
  m_timeLine->setStartFrame(FadeFrames);
  m_timeLine->start();
}

void FaderWidget::switchToWidget(QWidget* widget) {
  m_keepOldPicture = false;
  m_fadeState = 0;
  m_timeLine->stop();
  ReleasePictures();
  if (m_current) detach(m_current);
  m_previous = m_current;
  m_current = widget;
  if (widget) {
    m_layout->addWidget(widget);
    widget->show();
  }
}

int FaderWidget::fadeDuration() const {
  return m_timeLine->duration();
}

void FaderWidget::setFadeDuration(int ms) {
  m_timeLine->setDuration(ms);
}

void FaderWidget::detach(QWidget* widget) {
  m_layout->removeWidget(widget);
  widget->hide();
}

QPixmap FaderWidget::pictureOf(QWidget* widget) {
  m_layout->addWidget(widget);
  widget->show();
  // The layout places the screen over the whole fader before it is pictured.
  m_layout->activate();
  widget->setGeometry(rect());
  QPixmap picture = grabwgt(widget, QRect(0, 0, width(), height()));
  detach(widget);
  return picture;
}

void FaderWidget::refreshFades() {
  m_resizedDuringFade = false;
  if (m_fadeState != 1) return;
  m_snapshotsReady = false;
  if (!m_keepOldPicture) {
    if (!m_previous)
      m_oldPicture = QPixmap();
    else if (m_previous != m_current)
      m_oldPicture = pictureOf(m_previous);
  }
  m_newPicture = m_current ? pictureOf(m_current) : QPixmap();
  m_snapshotsReady = true;
}

void FaderWidget::paintEvent(QPaintEvent* event) {
  if (!m_snapshotsReady || m_fadeState != 1) {
    QWidget::paintEvent(event);
    return;
  }
  if (m_resizedDuringFade) refreshFades();
  const int frame = m_timeLine->currentFrame();
  if (frame > 0) {
    if (refreshSnapshotEachFrame && m_current) m_newPicture = pictureOf(m_current);
    QPainter painter(this);
    // A null picture is nothing: no screen on that side of the fade.
    if (!m_oldPicture.isNull()) {
      painter.setOpacity(frame / double(FadeFrames));
      painter.drawPixmap(m_oldPicture.rect(), m_oldPicture);
    }
    if (!m_newPicture.isNull()) {
      painter.setOpacity(1.0 - frame / double(FadeFrames));
      painter.drawPixmap(m_newPicture.rect(), m_newPicture);
    }
    return;
  }
  m_fadeState = 0;
  m_timeLine->stop();
  ReleasePictures();
  if (m_current) {
    m_layout->addWidget(m_current);
    m_current->show();
    m_current->setFocus(Qt::OtherFocusReason);
  }
}

void FaderWidget::ReleasePictures() {
  // Two pictures of the whole screen are several megabytes: kept only while a fade runs.
  m_oldPicture = QPixmap();
  m_newPicture = QPixmap();
  m_snapshotsReady = false;
}

void FaderWidget::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  if (m_fadeState == 1) m_resizedDuringFade = true;
}

}  // namespace UI
