#pragma once

#include <QByteArray>
#include <QSize>
#include <optional>

namespace RazidQt {

// A JPEG as its markers tell it before it is decoded: its size, its number of scans, and the bytes
// to decode. A progressive JPEG is decoded scan by scan, each over every block of the picture, and
// a decoder takes any number of scans, however few bytes each holds.
struct JpegPicture {
  QSize size;
  int scans = 0;
  // Up to the end of the picture, without the comments and application data that no pixel needs:
  // a decoder keeps each of them, however many megabytes a file holds.
  QByteArray decodable;
};

// The JPEG in the bytes, from its first frame, its segments kept in the same memory; nullopt when
// they are no JPEG, its frame has no size before its first scan, or a segment's length does not
// tell where the segment ends.
std::optional<JpegPicture> ReadJpegPicture(QByteArray bytes);

}  // namespace RazidQt
