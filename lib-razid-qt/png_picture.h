#pragma once

#include <QByteArray>
#include <QSize>
#include <optional>

namespace RazidQt {

// A PNG as it is decoded: the size its header gives, and the chunks that make up its pixels and
// their colours, in their order. The text, colour profile and other chunks are left behind: a
// decoder inflates compressed ones, each up to megabytes, however many a file holds, and keeps
// them for nothing a page shows.
struct PngPicture {
  QSize size;
  QByteArray pixelChunks;
  // Decoded, sixteen bits a channel take twice the memory of eight.
  int bytesPerPixel = 4;
};

// The PNG in the bytes, its chunks kept in the same memory; nullopt when they are no PNG or its
// header is broken.
std::optional<PngPicture> ReadPngPicture(QByteArray bytes);

// Whether the image data of a PNG (as ReadPngPicture keeps it) inflate to no more than the rows
// its header gives. A decoder inflates the data to their end, however much more they hold: a
// picture of one pixel may have gigabytes after it.
bool PngDataFitItsRows(QByteArray const& png);

}  // namespace RazidQt
