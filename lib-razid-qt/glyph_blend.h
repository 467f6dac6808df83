#pragma once

#include <QImage>
#include <QPoint>
#include <QRect>

// Symbol images blended straight into the pixels of a page. A page draws thousands of symbol
// images a dozen pixels wide, and Qt's raster engine spends many times longer on the checks and
// set-up of each drawImage call than on its pixels. Where the painter would only blend the image
// over the target's pixels, unclipped and unscaled, the device blends it itself, with the raster
// engine's own arithmetic, so that every pixel comes out as the engine makes it.
namespace RazidQt {

// The pixels of a premultiplied 32-bit raster the painter draws into.
struct RasterPixels {
  uchar* bits = nullptr;
  qsizetype bytesPerLine = 0;
  QRect bounds;
};

// Blends the premultiplied 32-bit image with its top left corner at topLeft over the pixels,
// source over, as a painter drawing it there at full opacity without a clip does; what lies
// outside the raster is left out.
void BlendOver(const RasterPixels& target, QPoint topLeft, const QImage& image);

}  // namespace RazidQt
