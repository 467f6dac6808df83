#pragma once
// The pictures of the exercise screen's reference pages: each is a short piece of RMN engraved by
// the notation engine, with a mark the engine does not draw painted over it where needed.
#include "tools/pictures/reference_marks.h"

#include <QDir>
#include <QImage>
#include <QRectF>
#include <QString>
#include <QStringList>

#include <vector>

class QRazidPainter;

namespace ReferencePictures {

struct Picture {
  QString file;  // file name under the reference picture folder
  QString rmn;
  qreal staffSpace;  // distance of two staff lines in the written picture, in pixels
  Pictures::ReferenceMark mark = Pictures::ReferenceMark::None;
  // When set, the picture is a grid of these pieces, each engraved on its own (`rmn` is unused):
  // the engine shows a change of key only by the signs that change. An empty piece is a blank.
  QStringList cells = {};
  int columns = 1;
};

// The 96 pictures in page order.
const std::vector<Picture>& AllPictures();

// The engraving, cropped to the music and turned into black ink on a transparent ground. Null
// when the engine refuses the text. The engine must have been started.
QImage Render(const Picture& picture);

// The boxes of the events (notes, chord heads, rests) the score drew last, left to right, in the
// coordinates of that drawing: where a painted mark finds its notes.
std::vector<QRectF> EventBoxes(const QRazidPainter& score);

// Renders every picture into `folder`; returns the names written. Stops at the first picture
// that cannot be rendered or written and returns the names written so far with `error` set.
QStringList WriteAll(const QDir& folder, QString* error);

// Engraves each item (anything with a `file` and the `rmn` it shows) with `engrave` and saves it
// as PNG in `folder`, the way WriteAll does: the names written, up to the first failure.
template <typename Item, typename Engrave>
QStringList SaveEach(const std::vector<Item>& items, const QDir& folder, Engrave engrave,
                     QString* error) {
  QStringList written;
  QDir().mkpath(folder.path());
  for (const Item& item : items) {
    const QImage image = engrave(item);
    if (image.isNull()) {
      *error = item.file + ": the engine does not engrave " + item.rmn;
      return written;
    }
    if (!image.save(folder.filePath(item.file), "PNG")) {
      *error = item.file + ": cannot be written";
      return written;
    }
    written << item.file;
  }
  return written;
}

}  // namespace ReferencePictures
