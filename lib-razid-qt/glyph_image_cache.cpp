#include "lib-razid-qt/glyph_image_cache.h"

#include <QHash>
#include <QPainter>
#include <QPainterPath>
#include <QTransform>
#include <cmath>
#include <cstring>
#include <tuple>

namespace RazidQt {
namespace {

struct GlyphKey {
  QString fontKey;
  char16_t character;
  QRgb color;
  qreal scaleX;
  qreal scaleY;

  bool operator==(const GlyphKey& other) const {
    return std::tie(character, color, scaleX, scaleY, fontKey) ==
           std::tie(other.character, other.color, other.scaleX, other.scaleY, other.fontKey);
  }
};

size_t qHash(const GlyphKey& key, size_t seed = 0) {
  return qHashMulti(seed, key.fontKey, key.character, key.color, key.scaleX, key.scaleY);
}

// A page uses a handful of symbols, colours and scales; this only bounds a program that keeps
// changing its scale.
constexpr qsizetype kMaxCachedGlyphs = 4096;

GlyphImage Render(const QFont& font, QChar character, QRgb color, qreal scaleX, qreal scaleY) {
  QPainterPath outline;
  outline.addText(0, 0, font, QString(character));
  outline = QTransform::fromScale(scaleX, scaleY).map(outline);
  const QRectF bounds = outline.boundingRect();
  if (bounds.isEmpty()) return {};
  // One pixel of room around the ink for the antialiased edge.
  const QPoint offset(int(std::floor(bounds.left())) - 1, int(std::floor(bounds.top())) - 1);
  QImage image(int(std::ceil(bounds.right())) - offset.x() + 1,
               int(std::ceil(bounds.bottom())) - offset.y() + 1,
               QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  QPainter painter(&image);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.translate(-offset);
  painter.fillPath(outline, QColor::fromRgba(color));
  return {image, offset, std::make_shared<std::array<QImage, kBlendGroup>>()};
}

}  // namespace

const QImage& AlignedGlyph(const GlyphImage& glyph, int shift) {
  QImage& aligned = (*glyph.aligned)[shift];
  if (aligned.isNull()) {
    const int width = (shift + glyph.image.width() + kBlendGroup - 1) / kBlendGroup * kBlendGroup;
    aligned = QImage(width, glyph.image.height(), glyph.image.format());
    aligned.fill(Qt::transparent);
    for (int y = 0; y < glyph.image.height(); ++y) {
      std::memcpy(aligned.scanLine(y) + shift * 4, glyph.image.constScanLine(y),
                  glyph.image.width() * 4);
    }
  }
  return aligned;
}

const GlyphImage& CachedGlyph(const QFont& font, const QString& fontKey, QChar character,
                              QRgb color, qreal scaleX, qreal scaleY) {
  static QHash<GlyphKey, GlyphImage> cache;
  const GlyphKey key{fontKey, character.unicode(), color, scaleX, scaleY};
  auto found = cache.constFind(key);
  if (found != cache.constEnd()) return *found;
  if (cache.size() >= kMaxCachedGlyphs) cache.clear();
  return *cache.insert(key, Render(font, character, color, scaleX, scaleY));
}

}  // namespace RazidQt
