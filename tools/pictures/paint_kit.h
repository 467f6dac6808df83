#pragma once
// Drawing helpers shared by the picture groups: fonts, text as outlines, panels, buttons and
// shadows, so that every picture is built from the same few shapes.
#include <QColor>
#include <QFont>
#include <QPainter>
#include <QPainterPath>
#include <QRectF>
#include <QString>

namespace Pictures {

// The look of a button picture.
enum class ButtonState { Normal, Hover, Pressed, Disabled };

// Liberation Sans (or DejaVu Sans for symbols), loaded from the font files themselves so that a
// rerun draws the same outlines whatever the desktop's font setup is.
QFont SansFont(qreal pixelSize, bool bold = false);
QFont SymbolFont(qreal pixelSize);

// Text filled as outlines (no hinting, no sub-pixel tricks), aligned in `box` by `alignment`.
QRectF DrawText(QPainter& painter, const QRectF& box, const QString& text, const QFont& font,
                const QBrush& brush, Qt::Alignment alignment = Qt::AlignCenter);
qreal TextWidth(const QString& text, const QFont& font);

QLinearGradient VerticalGradient(const QRectF& rect, const QColor& top, const QColor& bottom);
QColor WithAlpha(QColor colour, int alpha);

// A rounded panel: gradient body, a sheen over its upper half and a one-pixel border.
void Panel(QPainter& painter, const QRectF& rect, qreal radius, const QColor& top,
           const QColor& bottom, const QColor& border);
// A soft shadow around `rect`, `spread` pixels wide, strongest at the edge.
void SoftShadow(QPainter& painter, const QRectF& rect, qreal radius, int spread, int alpha = 90);
// A glossy button body in `base`, lighter on hover, darker and sunk when pressed, grey when
// disabled. `path` is its outline.
void ButtonBody(QPainter& painter, const QPainterPath& path, const QColor& base, ButtonState state);
QPainterPath RoundedRect(const QRectF& rect, qreal radius);
// A rectangle rounded only on its left or right side (for two buttons that form one pill).
QPainterPath HalfRoundedRect(const QRectF& rect, qreal radius, bool roundLeft);

// A five-pointed star centred in `rect`.
QPainterPath StarPath(const QRectF& rect, qreal innerRatio = 0.45);

// Fills `rect` with `colour` fading out towards both ends of the long side.
void FadingLine(QPainter& painter, const QRectF& rect, const QColor& colour);

}  // namespace Pictures
