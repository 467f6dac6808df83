#pragma once

#include <QByteArray>
#include <QSize>
#include <optional>

namespace RazidQt {

// A JPEG as its markers tell it before it is decoded: its size and its number of scans. A
// progressive JPEG is decoded scan by scan, each over every block of the picture, and a decoder
// takes any number of scans, however few bytes each holds.
struct JpegPicture {
  QSize size;
  int scans = 0;
};

// The JPEG in the bytes, from its first frame; nullopt when they are no JPEG, or its frame has no
// size before its first scan.
std::optional<JpegPicture> ReadJpegPicture(QByteArray const& bytes);

}  // namespace RazidQt
