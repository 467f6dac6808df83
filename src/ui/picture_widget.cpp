#include "src/ui/picture_widget.h"

#include <QFontMetrics>
#include <QPainter>

#include <algorithm>

namespace UI {

namespace {
constexpr int CaptionPixels = 22;
constexpr int CaptionGap = 12;  // between the picture and its caption

QFont TextFont() {
  QFont font(QStringLiteral("times"));
  font.setPointSize(64);
  return font;
}

QFont CaptionFont() {
  QFont font(QStringLiteral("Tahoma"));
  font.setPixelSize(CaptionPixels);
  font.setBold(true);
  return font;
}
}  // namespace

PictureWidget::PictureWidget(QWidget* parent, Qt::WindowFlags flags) : QWidget(parent, flags) {}

void PictureWidget::setText(const QString& text) {
  m_textMode = true;
  m_text = text;
}

void PictureWidget::setPicture(const QString& path) {
  m_textMode = false;
  m_picture = QPixmap(path);
}

void PictureWidget::setPicture(const QPixmap& picture) {
  m_textMode = false;
  m_picture = picture;
}

void PictureWidget::setCaption(const QString& caption) {
  m_caption = caption;
}

QRect PictureWidget::FittedRect(QSize picture, QSize widget) {
  double w = picture.width();
  double h = picture.height();
  if (w > widget.width()) {
    const double scale = widget.width() / w;
    w = int(w * scale);
    h = int(h * scale);
  }
  if (h > widget.height()) {
    const double scale = widget.height() / h;
    w = int(w * scale);
    h = int(h * scale);
  }
  return QRect((widget.width() - int(w)) / 2, (widget.height() - int(h)) / 2, int(w), int(h));
}

QRect PictureWidget::PictureRect() const {
  if (m_caption.isEmpty()) return FittedRect(m_picture.size(), size());
  // The picture and its caption stand centred together, the caption close under the picture and
  // clear of what lies over the lower edge of the area: centred in the area less the caption's
  // band, the picture with the band under it is centred.
  const int band = CaptionGap + QFontMetrics(CaptionFont()).height();
  return FittedRect(m_picture.size(), QSize(width(), std::max(0, height() - band)));
}

QRect PictureWidget::CaptionRect(const QRect& picture) const {
  const int top = picture.bottom() + 1 + CaptionGap;
  return QRect(0, top, width(), height() - top);
}

QRect PictureWidget::shownRect() const {
  if (m_textMode)
    return QFontMetrics(TextFont()).boundingRect(rect(), Qt::AlignCenter, m_text) & rect();
  if (m_picture.isNull() || pictureHidden) return {};
  const QRect picture = PictureRect();
  if (m_caption.isEmpty()) return picture;
  const QRect caption =
      QFontMetrics(CaptionFont())
          .boundingRect(CaptionRect(picture), Qt::AlignHCenter | Qt::AlignTop, m_caption);
  return picture | caption;
}

void PictureWidget::paintEvent(QPaintEvent* event) {
  QWidget::paintEvent(event);
  QPainter painter(this);
  if (m_textMode) {
    painter.setFont(TextFont());
    painter.drawText(rect(), Qt::AlignCenter, m_text);
    return;
  }
  if (m_picture.isNull() || pictureHidden) return;
  painter.setRenderHint(QPainter::SmoothPixmapTransform);
  const QRect picture = PictureRect();
  painter.drawPixmap(picture, m_picture);
  if (m_caption.isEmpty()) return;
  painter.setFont(CaptionFont());
  painter.setPen(QColor(40, 40, 40));
  painter.drawText(CaptionRect(picture), Qt::AlignHCenter | Qt::AlignTop, m_caption);
}

}  // namespace UI
