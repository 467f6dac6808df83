#pragma once

#include <QImage>
#include <QSize>
#include <memory>

#include "lib-razid-qt/GDeviceQt.h"

class QFile;

namespace RazidQt {

// An offscreen device that holds a picture read from a file: the engine copies it onto a page.
// It draws nothing itself: a painter on the picture would make every copy of it a copy of all its
// pixels.
class PictureDevice : public GDeviceQt {
 public:
  PictureDevice(QImage picture, GSystemQt* system);
  int GetWidth() const override { return mPicture.width(); }
  int GetHeight() const override { return mPicture.height(); }

  QImage* picture() { return &mPicture; }
  // The picture to copy into so many pixels of a page: the picture itself, or, drawn smaller, a
  // copy scaled down to them once and kept for the next copy of that size. A large picture
  // shown small costs each copy only the pixels it is drawn in, and an SVG writes each copy as
  // small as it is seen.
  QImage const& ScaledFor(QSize drawn);

 private:
  QImage mPicture;
  QImage mScaled;
};

// The file of a picture named so: the name itself, or with the suffix of a format pictures are
// read in after it; the first of them that is a regular file, opened for reading, or null. A pipe,
// device or folder is never opened to be read: reading a pipe waits for a writer that may never
// come, and a device may never end.
std::unique_ptr<QFile> OpenPictureFile(QString const& path);

}  // namespace RazidQt
