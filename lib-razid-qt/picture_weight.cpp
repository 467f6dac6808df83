#include "lib-razid-qt/picture_weight.h"

#include <QtEndian>
#include <algorithm>
#include <cctype>
#include <climits>
#include <utility>

#include "lib-razid-qt/jpeg_picture.h"
#include "lib-razid-qt/png_picture.h"

namespace RazidQt {

namespace {

// A progressive JPEG's usual number of scans, which costs about one decoding of its pixels.
constexpr double kScansOfOnePass = 10;

std::optional<PictureWeight> WeighPng(QByteArray bytes) {
  std::optional<PngPicture> png = ReadPngPicture(std::move(bytes));
  if (!png) return std::nullopt;
  return PictureWeight{"png", png->size, 1, std::move(png->pixelChunks)};
}

std::optional<PictureWeight> WeighJpeg(QByteArray const& bytes) {
  std::optional<JpegPicture> const jpeg = ReadJpegPicture(bytes);
  if (!jpeg) return std::nullopt;
  return PictureWeight{"jpeg", jpeg->size, std::max(1.0, jpeg->scans / kScansOfOnePass), bytes};
}

// A BMP without compression or with bit fields: one pass over pixels in rows as wide as its
// header. Run-length coded ones are not read.
std::optional<PictureWeight> WeighBmp(QByteArray const& bytes) {
  constexpr qsizetype kFileHeader = 14;
  if (bytes.size() < kFileHeader + 16 || !bytes.startsWith("BM")) return std::nullopt;
  auto const* info = reinterpret_cast<uchar const*>(bytes.constData()) + kFileHeader;
  quint32 const infoLength = qFromLittleEndian<quint32>(info);
  qint64 width = 0, height = 0;
  int bitsPerPixel = 0;
  quint32 compression = 0;
  constexpr quint32 kCoreInfo = 12, kInfo = 40;
  if (infoLength == kCoreInfo) {
    width = qFromLittleEndian<quint16>(info + 4);
    height = qFromLittleEndian<quint16>(info + 6);
    bitsPerPixel = qFromLittleEndian<quint16>(info + 10);
  } else if (infoLength >= kInfo && bytes.size() >= kFileHeader + kInfo) {
    width = qFromLittleEndian<qint32>(info + 4);
    height = qFromLittleEndian<qint32>(info + 8);  // below 0 for rows from the top
    bitsPerPixel = qFromLittleEndian<quint16>(info + 14);
    compression = qFromLittleEndian<quint32>(info + 16);
  } else {
    return std::nullopt;
  }
  constexpr quint32 kUncompressed = 0, kBitFields = 3;
  height = height < 0 ? -height : height;
  bool const plain = compression == kUncompressed || compression == kBitFields;
  if (!plain || width <= 0 || height <= 0 || height > INT_MAX || width > INT_MAX ||
      !(bitsPerPixel == 1 || bitsPerPixel == 4 || bitsPerPixel == 8 || bitsPerPixel == 16 ||
        bitsPerPixel == 24 || bitsPerPixel == 32))
    return std::nullopt;
  return PictureWeight{"bmp", QSize(int(width), int(height)), 1, bytes};
}

// A portable bitmap, grey map or pixmap, in text (P1 to P3) or binary (P4 to P6): its size is the
// first two numbers after the magic, among blanks and comments.
std::optional<PictureWeight> WeighPortable(QByteArray const& bytes) {
  if (bytes.size() < 3 || bytes[0] != 'P' || bytes[1] < '1' || bytes[1] > '6') return std::nullopt;
  qsizetype at = 2;
  auto const number = [&]() -> std::optional<int> {
    for (bool inComment = false; at < bytes.size(); ++at) {
      char const c = bytes[at];
      inComment = c == '#' || (inComment && c != '\n' && c != '\r');
      if (!inComment && !std::isspace(static_cast<uchar>(c))) break;
    }
    qint64 value = 0;
    qsizetype const first = at;
    for (; at < bytes.size() && std::isdigit(static_cast<uchar>(bytes[at])) && value <= INT_MAX;
         ++at)
      value = value * 10 + (bytes[at] - '0');
    if (at == first || value > INT_MAX) return std::nullopt;
    return int(value);
  };
  std::optional<int> const width = number();
  std::optional<int> const height = width ? number() : std::nullopt;
  if (!height || *width == 0 || *height == 0) return std::nullopt;
  char const kind = bytes[1];
  QByteArray const format = kind == '1' || kind == '4'   ? "pbm"
                            : kind == '2' || kind == '5' ? "pgm"
                                                         : "ppm";
  return PictureWeight{format, QSize(*width, *height), 1, bytes};
}

}  // namespace

std::optional<PictureWeight> WeighPicture(QByteArray bytes) {
  for (auto* weigh : {WeighJpeg, WeighBmp, WeighPortable})
    if (std::optional<PictureWeight> weight = weigh(bytes)) return weight;
  // Last, as it takes the bytes over to leave chunks behind in them.
  return WeighPng(std::move(bytes));
}

}  // namespace RazidQt
