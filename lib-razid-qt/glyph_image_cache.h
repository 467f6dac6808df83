#pragma once

#include <QColor>
#include <QFont>
#include <QImage>
#include <QPoint>
#include <QString>

// Images of drawn music symbols, kept for the process. Qt's raster engine caches glyph images
// only up to 64 pixels (and, on this Qt, draws nothing at all above that when its limit is raised),
// so every symbol of the music font, about 70 pixels on screen, would be filled as a path at
// every draw. A symbol is rendered once per font, character, colour and scale instead.
namespace RazidQt {

// Larger symbols (a zoomed page) are left to Qt's own drawing rather than kept as images.
inline constexpr qreal kMaxGlyphImageSize = 512;

struct GlyphImage {
  QImage image;
  // From the symbol's origin on the baseline, in device pixels, to the image's top left corner.
  QPoint offset;
};

// The image of one character of the font in the colour, at the horizontal and vertical scale;
// fontKey is the font's QFont::key(), given by the caller that keeps it.
const GlyphImage& CachedGlyph(const QFont& font, const QString& fontKey, QChar character,
                              QRgb color, qreal scaleX, qreal scaleY);

}  // namespace RazidQt
