#pragma once

#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <QRect>
#include <memory>

#include "lib-razid-qt/GDeviceQt.h"
#include "lib-razid-qt/GFontQt.h"
#include "lib-razid-qt/GSystemQt.h"

namespace RazidQtTesting {

// A drawing device on a white image, made as the engine gets it for a page: by the graphic
// system of the image's painter. Antialiasing is off, so edges land on whole pixels.
class ImageDevice : public testing::Test {
 protected:
  static void SetUpTestSuite();

  ImageDevice();
  ~ImageDevice() override;

  // Ends painting, so the image holds everything drawn so far.
  const QImage& Finished();
  // Pixels in the rectangle that are not white, or of exactly the given colour.
  int Ink(const QRect& area);
  int PixelsOf(const QRect& area, QRgb color);
  // A music font of the given pixel size that the fixture keeps and the device draws with.
  GFontQt const* UseMusicFont(int size);

  QImage image{200, 200, QImage::Format_ARGB32_Premultiplied};
  QPainter painter;
  GSystemQt system{&painter};
  std::unique_ptr<GDeviceQt> device;
  std::unique_ptr<VGFont const> musicFont;
};

}  // namespace RazidQtTesting
