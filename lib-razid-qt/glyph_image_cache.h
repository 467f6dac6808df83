#pragma once

#include <QColor>
#include <QFont>
#include <QImage>
#include <QPoint>
#include <QString>
#include <array>
#include <memory>

// Images of drawn music symbols, kept for the process. Qt's raster engine caches glyph images
// only up to 64 pixels (and, on this Qt, draws nothing at all above that when its limit is raised),
// so every symbol of the music font, about 70 pixels on screen, would be filled as a path at
// every draw. A symbol is rendered once per font, character, colour and scale instead.
namespace RazidQt {

// Larger symbols (a zoomed page) are left to Qt's own drawing rather than kept as images.
inline constexpr qreal kMaxGlyphImageSize = 512;

// Pixels a raster row is aligned to for the raster engine's blending, which blends a row in
// groups of that many pixels and takes the pixels before the first group and after the last one
// in slow masked steps.
inline constexpr int kBlendGroup = 8;

struct GlyphImage {
  QImage image;
  // From the symbol's origin on the baseline, in device pixels, to the image's top left corner.
  QPoint offset;
  // The image shifted right by 0 .. 7 pixels and widened to whole groups with transparent
  // pixels, made when first asked for (AlignedGlyph) and shared by every copy of the glyph.
  std::shared_ptr<std::array<QImage, kBlendGroup>> aligned;
};

// The image of one character of the font in the colour, at the horizontal and vertical scale;
// fontKey is the font's QFont::key(), given by the caller that keeps it.
const GlyphImage& CachedGlyph(const QFont& font, const QString& fontKey, QChar character,
                              QRgb color, qreal scaleX, qreal scaleY);

// The glyph's image shifted right by shift pixels (0 .. kBlendGroup - 1) in an image of whole
// blend groups. Drawn shift pixels to the left of the glyph's place where a row's group begins,
// it blends in whole groups and leaves every pixel as the glyph's own image would: the pixels it
// adds are transparent, and blending one of those keeps the pixel under it.
const QImage& AlignedGlyph(const GlyphImage& glyph, int shift);

}  // namespace RazidQt
