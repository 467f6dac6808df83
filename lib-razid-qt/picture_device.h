#pragma once

#include <QImage>
#include <QPainter>

#include "lib-razid-qt/GDeviceQt.h"

namespace RazidQt {

// The picture the device is painted on, made before the device and gone after it.
struct HeldPicture {
  explicit HeldPicture(QImage picture);
  QImage held;
  QPainter picturePainter;
};

// An offscreen device that holds a picture read from a file: the engine copies it onto a page.
class PictureDevice : private HeldPicture, public GDeviceQt {
 public:
  PictureDevice(QImage picture, GSystemQt* system);
  int GetWidth() const override { return held.width(); }
  int GetHeight() const override { return held.height(); }
};

// A device holding the picture in the file, read by Qt's image reader (a name without a suffix
// is also looked for with the suffix of each picture format); null when the file is missing or
// unreadable.
PictureDevice* ReadPicture(QString const& path, GSystemQt* system);

}  // namespace RazidQt
