#include "lib-razid-qt/picture_device.h"

#include <QImageReader>
#include <utility>

namespace RazidQt {

HeldPicture::HeldPicture(QImage picture) : held(std::move(picture)) {
  // The device copies from the image its painter paints on.
  picturePainter.begin(&held);
}

PictureDevice::PictureDevice(QImage picture, GSystemQt* system)
    : HeldPicture(std::move(picture)), GDeviceQt(&picturePainter, system) {}

PictureDevice* ReadPicture(QString const& path, GSystemQt* system) {
  QImageReader reader(path);
  reader.setAutoTransform(true);
  QImage picture = reader.read();
  if (picture.isNull()) return nullptr;
  // A painter paints only on images of a format it can paint on.
  if (picture.format() != QImage::Format_ARGB32_Premultiplied)
    picture = picture.convertToFormat(QImage::Format_ARGB32_Premultiplied);
  return new PictureDevice(std::move(picture), system);
}

}  // namespace RazidQt
