#pragma once

#include <QByteArray>
#include <QSize>
#include <optional>

namespace RazidQt {

// A picture file weighed before any of it is decoded: the format Qt's image reader decodes it in,
// its size, how many times decoding works through each of its pixels, and the bytes to decode.
struct PictureWeight {
  QByteArray format;
  QSize size;
  double passes = 1;
  QByteArray decodable;
  // The memory a pixel takes as it is decoded, before it is converted to the page's format.
  int bytesPerPixel = 4;
};

// The weight of the picture in the bytes, told by their content alone, whatever the file's name,
// with the bytes to decode in the same memory; nullopt for any content whose whole cost is not
// known before it is decoded. Only formats whose headers bound that cost are read: PNG (its data
// checked against its rows before decoding), JPEG, uncompressed BMP and the portable bitmaps. SVG
// is never read: its cost is that of the drawing it describes, the files it names and the pictures
// it holds, none of which its header bounds; nor are GIF and icons, whose data may hold more than
// their headers tell.
std::optional<PictureWeight> WeighPicture(QByteArray bytes);

}  // namespace RazidQt
