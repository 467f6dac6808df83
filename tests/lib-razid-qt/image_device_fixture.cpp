#include "image_device_fixture.h"

#include "lib-razid-qt/engine_fonts.h"

namespace RazidQtTesting {

void ImageDevice::SetUpTestSuite() {
  QString error;
  ASSERT_TRUE(RazidQt::PrepareEngineFonts(&error)) << error.toStdString();
}

ImageDevice::ImageDevice() {
  image.fill(Qt::white);
  painter.begin(&image);
  device.reset(static_cast<GDeviceQt*>(system.CreateDisplayDevice()));
}

ImageDevice::~ImageDevice() {
  device.reset();
  if (painter.isActive()) painter.end();
}

const QImage& ImageDevice::Finished() {
  if (painter.isActive()) painter.end();
  return image;
}

int ImageDevice::Ink(const QRect& area) {
  const QImage& done = Finished();
  int count = 0;
  for (int y = area.top(); y <= area.bottom(); ++y)
    for (int x = area.left(); x <= area.right(); ++x)
      count += done.valid(x, y) && done.pixel(x, y) != qRgb(255, 255, 255);
  return count;
}

int ImageDevice::PixelsOf(const QRect& area, QRgb color) {
  const QImage& done = Finished();
  int count = 0;
  for (int y = area.top(); y <= area.bottom(); ++y)
    for (int x = area.left(); x <= area.right(); ++x)
      count += done.valid(x, y) && done.pixel(x, y) == color;
  return count;
}

GFontQt const* ImageDevice::UseMusicFont(int size) {
  musicFont.reset(system.CreateVGFont(RazidQt::kMusicFontFamily, size, 0));
  device->SetMusicFont(musicFont.get());
  return static_cast<GFontQt const*>(musicFont.get());
}

}  // namespace RazidQtTesting
