#pragma once

#include <QImage>
#include <QPainter>
#include <memory>

#include "lib-razid-qt/GDeviceQt.h"

class QFile;

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

// The file of a picture named so: the name itself, or with the suffix of a picture format after
// it, as Qt's image reader looks for it; the first of them that is a regular file, opened for
// reading, or null. A pipe, device or folder is never opened to be read: reading a pipe waits
// for a writer that may never come, and a device may never end.
std::unique_ptr<QFile> OpenPictureFile(QString const& path);

// A device holding the picture in the file, read by Qt's image reader; null when the file is
// missing or unreadable.
PictureDevice* ReadPicture(QString const& path, GSystemQt* system);

}  // namespace RazidQt
