#include "src/ui/picture_widget.h"

#include <QPainter>

namespace UI {

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

void PictureWidget::paintEvent(QPaintEvent* event) {
  QWidget::paintEvent(event);
  QPainter painter(this);
  if (m_textMode) {
    QFont font(QStringLiteral("times"));
    font.setPointSize(64);
    painter.setFont(font);
    painter.drawText(rect(), Qt::AlignCenter, m_text);
    return;
  }
  if (m_picture.isNull() || pictureHidden) return;
  painter.setRenderHint(QPainter::SmoothPixmapTransform);
  painter.drawPixmap(FittedRect(m_picture.size(), size()), m_picture);
}

}  // namespace UI
