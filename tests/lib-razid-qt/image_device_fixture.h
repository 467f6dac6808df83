#pragma once

#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <memory>

#include "lib-razid-qt/GDeviceQt.h"
#include "lib-razid-qt/GFontQt.h"
#include "lib-razid-qt/GSystemQt.h"
#include "lib-razid-qt/engine_fonts.h"
#include "lib-razid-qt/glyph_image_cache.h"

namespace RazidQtTesting {

// A drawing device on a white image, made as the engine gets it for a page: by the graphic
// system of the image's painter. Antialiasing is off, so edges land on whole pixels.
class ImageDevice : public testing::Test {
 protected:
  static void SetUpTestSuite() { ASSERT_TRUE(RazidQt::PrepareEngineFonts()); }
  ImageDevice() {
    image.fill(Qt::white);
    painter.begin(&image);
    device.reset(static_cast<GDeviceQt*>(system.CreateDisplayDevice()));
  }

  // Pixels in the area (after painting ends) that are not white, or that have the colour.
  int Ink(const QRect& area) {
    return Count(area, [](QRgb pixel) { return pixel != 0xffffffff; });
  }
  int PixelsOf(const QRect& area, QRgb color) {
    return Count(area, [color](QRgb pixel) { return pixel == color; });
  }
  int Count(const QRect& area, auto&& counts) {
    if (painter.isActive()) painter.end();
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
      for (int x = area.left(); x <= area.right(); ++x)
        count += image.valid(x, y) && counts(image.pixel(x, y));
    return count;
  }
  // A music font of the given pixel size that the fixture keeps and the device draws with.
  GFontQt const* UseMusicFont(int size) {
    musicFont.reset(system.CreateVGFont(RazidQt::kMusicFontFamily, size, 0));
    device->SetMusicFont(musicFont.get());
    return static_cast<GFontQt const*>(musicFont.get());
  }

  QImage image{200, 200, QImage::Format_ARGB32_Premultiplied};
  QPainter painter;
  GSystemQt system{&painter};
  std::unique_ptr<VGFont const> musicFont;
  std::unique_ptr<GDeviceQt> device;
};

}  // namespace RazidQtTesting
