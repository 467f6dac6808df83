#include "tools/pictures/paint_kit.h"

#include <QFontDatabase>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QMap>

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace Pictures {

namespace {

QString LoadFamily(const QString& file) {
  static QMap<QString, QString> families;
  const auto known = families.find(file);
  if (known != families.end()) return *known;
  const int id = QFontDatabase::addApplicationFont(file);
  const QStringList names = QFontDatabase::applicationFontFamilies(id);
  if (names.isEmpty()) {
    std::fprintf(stderr, "Cannot load the font %s\n", qPrintable(file));
    std::exit(1);
  }
  families.insert(file, names.front());
  return names.front();
}

QFont FontFromFile(const QString& file, qreal pixelSize) {
  QFont font(LoadFamily(file));
  font.setPixelSize(int(std::lround(pixelSize)));
  font.setHintingPreference(QFont::PreferNoHinting);
  font.setKerning(true);
  return font;
}

}  // namespace

QFont SansFont(qreal pixelSize, bool bold) {
  QFont font =
      FontFromFile(bold ? "/usr/share/fonts/truetype/liberation/LiberationSans-Bold.ttf"
                        : "/usr/share/fonts/truetype/liberation/LiberationSans-Regular.ttf",
                   pixelSize);
  font.setBold(bold);
  return font;
}

QFont SymbolFont(qreal pixelSize) {
  return FontFromFile("/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf", pixelSize);
}

qreal TextWidth(const QString& text, const QFont& font) {
  QPainterPath path;
  path.addText(0, 0, font, text);
  return path.boundingRect().width();
}

QRectF DrawText(QPainter& painter, const QRectF& box, const QString& text, const QFont& font,
                const QBrush& brush, Qt::Alignment alignment) {
  const QFontMetricsF metrics(font);
  QPainterPath path;
  path.addText(0, 0, font, text);
  const QRectF ink = path.boundingRect();
  // Horizontally the ink is placed, vertically the font's cap height, so that lines of different
  // words sit on one baseline.
  qreal x = box.left() - ink.left();
  if (alignment & Qt::AlignHCenter) x = box.center().x() - ink.center().x();
  if (alignment & Qt::AlignRight) x = box.right() - ink.right();
  const qreal capHeight = metrics.capHeight();
  qreal y = box.top() + capHeight;
  if (alignment & Qt::AlignVCenter) y = box.center().y() + capHeight / 2;
  if (alignment & Qt::AlignBottom) y = box.bottom() - metrics.descent();
  path.translate(std::round(x), std::round(y));
  painter.fillPath(path, brush);
  return path.boundingRect();
}

QLinearGradient VerticalGradient(const QRectF& rect, const QColor& top, const QColor& bottom) {
  QLinearGradient gradient(rect.topLeft(), rect.bottomLeft());
  gradient.setColorAt(0, top);
  gradient.setColorAt(1, bottom);
  return gradient;
}

QColor WithAlpha(QColor colour, int alpha) {
  colour.setAlpha(alpha);
  return colour;
}

QPainterPath RoundedRect(const QRectF& rect, qreal radius) {
  QPainterPath path;
  path.addRoundedRect(rect, radius, radius);
  return path;
}

QPainterPath HalfRoundedRect(const QRectF& rect, qreal radius, bool roundLeft) {
  QPainterPath rounded = RoundedRect(rect, radius);
  QPainterPath square;
  square.addRect(roundLeft ? rect.adjusted(rect.width() / 2, 0, 0, 0)
                           : rect.adjusted(0, 0, -rect.width() / 2, 0));
  return rounded.united(square).simplified();
}

void Panel(QPainter& painter, const QRectF& rect, qreal radius, const QColor& top,
           const QColor& bottom, const QColor& border) {
  const QPainterPath body = RoundedRect(rect, radius);
  painter.fillPath(body, VerticalGradient(rect, top, bottom));
  QRectF upper = rect;
  upper.setHeight(rect.height() * 0.45);
  painter.save();
  painter.setClipPath(body);
  painter.fillRect(upper,
                   VerticalGradient(upper, QColor(255, 255, 255, 28), QColor(255, 255, 255, 0)));
  painter.restore();
  painter.setPen(QPen(border, 1));
  painter.setBrush(Qt::NoBrush);
  painter.drawPath(RoundedRect(rect.adjusted(0.5, 0.5, -0.5, -0.5), radius));
}

void SoftShadow(QPainter& painter, const QRectF& rect, qreal radius, int spread, int alpha) {
  painter.save();
  painter.setPen(Qt::NoPen);
  for (int i = spread; i >= 1; --i) {
    const qreal fade = 1.0 - qreal(i) / (spread + 1);
    painter.setBrush(QColor(0, 0, 0, int(alpha * fade * fade / spread * 2.2)));
    painter.drawRoundedRect(rect.adjusted(-i, -i + spread / 3.0, i, i + spread / 3.0), radius + i,
                            radius + i);
  }
  painter.restore();
}

void ButtonBody(QPainter& painter, const QPainterPath& path, const QColor& base,
                ButtonState state) {
  const QRectF rect = path.boundingRect();
  QColor colour = base;
  if (state == ButtonState::Hover) colour = base.lighter(118);
  if (state == ButtonState::Pressed) colour = base.darker(125);
  if (state == ButtonState::Disabled) {
    const int grey = qGray(base.rgb());
    colour = QColor(grey, grey, grey).lighter(140);
  }
  const bool pressed = state == ButtonState::Pressed;
  painter.fillPath(path, VerticalGradient(rect, pressed ? colour.darker(115) : colour.lighter(112),
                                          pressed ? colour.lighter(105) : colour.darker(112)));
  painter.save();
  painter.setClipPath(path);
  QRectF upper = rect;
  upper.setHeight(rect.height() / 2);
  if (!pressed) {
    painter.fillRect(
        upper,
        VerticalGradient(upper, QColor(255, 255, 255, state == ButtonState::Disabled ? 40 : 70),
                         QColor(255, 255, 255, 8)));
  } else {
    painter.fillRect(upper, VerticalGradient(upper, QColor(0, 0, 0, 60), QColor(0, 0, 0, 0)));
  }
  painter.restore();
  painter.setBrush(Qt::NoBrush);
  painter.setPen(QPen(colour.darker(150), 1));
  painter.drawPath(path);
}

QPainterPath StarPath(const QRectF& rect, qreal innerRatio) {
  const QPointF centre(rect.center().x(), rect.top() + rect.height() * 0.54);
  const qreal outer = std::min(rect.width(), rect.height()) / 2;
  QPainterPath path;
  for (int i = 0; i < 10; ++i) {
    const qreal radius = (i % 2 == 0) ? outer : outer * innerRatio;
    const qreal angle = -M_PI / 2 + i * M_PI / 5;
    const QPointF point(centre.x() + radius * std::cos(angle),
                        centre.y() + radius * std::sin(angle));
    if (i == 0) {
      path.moveTo(point);
    } else {
      path.lineTo(point);
    }
  }
  path.closeSubpath();
  return path;
}

void FadingLine(QPainter& painter, const QRectF& rect, const QColor& colour) {
  const bool horizontal = rect.width() >= rect.height();
  QLinearGradient gradient(rect.topLeft(), horizontal ? rect.topRight() : rect.bottomLeft());
  gradient.setColorAt(0, WithAlpha(colour, 0));
  gradient.setColorAt(0.25, colour);
  gradient.setColorAt(0.75, colour);
  gradient.setColorAt(1, WithAlpha(colour, 0));
  painter.fillRect(rect, gradient);
}

}  // namespace Pictures
