#include "lib-razid-qt/glyph_blend.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <random>

namespace RazidQtTesting {
namespace {

// Premultiplied pixels of every kind: transparent, opaque and translucent, with channels up to
// their alpha as premultiplication allows.
QImage Noise(QSize size, std::mt19937& random) {
  QImage image(size, QImage::Format_ARGB32_Premultiplied);
  for (int y = 0; y < size.height(); ++y) {
    for (int x = 0; x < size.width(); ++x) {
      const int kind = int(random() % 4);
      const int alpha = kind == 0 ? 0 : kind == 1 ? 255 : int(random() % 256);
      auto channel = [&] { return alpha == 0 ? 0 : int(random() % (alpha + 1)); };
      image.setPixel(x, y, qRgba(channel(), channel(), channel(), alpha));
    }
  }
  return image;
}

// Every pixel comes out as the painter's own drawing of the image gives it, over any ground, at
// any place in a row, and with the image cut by each edge of the target.
TEST(BlendOver, GivesThePaintersPixelsOverAnyGroundAndCutAtTheEdges) {
  std::mt19937 random(38);
  QImage blended = Noise({97, 61}, random);
  QImage painted = blended.copy();
  RazidQt::RasterPixels pixels{blended.bits(), blended.bytesPerLine(), blended.rect()};
  QPainter reference(&painted);
  const QPoint places[] = {{-7, -5}, {90, 55}, {-20, 30}, {40, -9}, {3, 4}, {95, 2}, {200, 10}};
  for (int round = 0; round < 60; ++round) {
    const QImage glyph = Noise({1 + int(random() % 19), 1 + int(random() % 23)}, random);
    const QPoint at =
        round < 7 ? places[round] : QPoint(int(random() % 100) - 10, int(random() % 70) - 10);
    RazidQt::BlendOver(pixels, at, glyph);
    reference.drawImage(at, glyph);
  }
  reference.end();
  EXPECT_TRUE(blended == painted);
}

}  // namespace
}  // namespace RazidQtTesting
