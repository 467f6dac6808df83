#include "lib-razid-qt/picture_weight.h"

#include <QtEndian>
#include <algorithm>
#include <cctype>
#include <climits>
#include <cstring>
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
  return PictureWeight{"png", png->size, 1, std::move(png->pixelChunks), png->bytesPerPixel};
}

std::optional<PictureWeight> WeighJpeg(QByteArray bytes) {
  std::optional<JpegPicture> jpeg = ReadJpegPicture(std::move(bytes));
  if (!jpeg) return std::nullopt;
  return PictureWeight{"jpeg", jpeg->size, std::max(1.0, jpeg->scans / kScansOfOnePass),
                       std::move(jpeg->decodable)};
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

bool IsPortable(QByteArray const& bytes) {
  return bytes.size() >= 3 && bytes[0] == 'P' && bytes[1] >= '1' && bytes[1] <= '6';
}

// A portable bitmap, grey map or pixmap, in text (P1 to P3) or binary (P4 to P6): its size is the
// first two numbers after the magic, among blanks and comments. The blanks and comments are left
// behind, in the same memory, but for one between numbers: a decoder reads a text form a
// character at a time, and megabytes of blanks take it seconds.
std::optional<PictureWeight> WeighPortable(QByteArray bytes) {
  if (!IsPortable(bytes)) return std::nullopt;
  char const kind = bytes[1];
  char* const out = bytes.data();
  qsizetype const size = bytes.size();
  qsizetype end = 2;
  qsizetype at = 2;
  auto const skipBlanks = [&] {
    for (bool inComment = false; at < size; ++at) {
      char const c = out[at];
      inComment = c == '#' || (inComment && c != '\n' && c != '\r');
      if (!inComment && !std::isspace(static_cast<uchar>(c))) break;
    }
  };
  // Each number or other word moves up behind one blank.
  auto const keepWord = [&](auto&& inWord) {
    out[end++] = '\n';
    for (; at < size && inWord(out[at]); ++at) out[end++] = out[at];
  };
  auto const number = [&]() -> std::optional<int> {
    skipBlanks();
    qsizetype const first = at;
    qint64 value = 0;
    for (qsizetype digit = at;
         digit < size && std::isdigit(static_cast<uchar>(out[digit])) && value <= INT_MAX; ++digit)
      value = value * 10 + (out[digit] - '0');
    keepWord([](char c) { return std::isdigit(static_cast<uchar>(c)) != 0; });
    if (at == first || value > INT_MAX) return std::nullopt;
    return int(value);
  };
  std::optional<int> const width = number();
  std::optional<int> const height = width ? number() : std::nullopt;
  if (!height || *width == 0 || *height == 0) return std::nullopt;
  bool const bitmap = kind == '1' || kind == '4';
  if (!bitmap && !number()) return std::nullopt;  // the largest value of a sample
  if (kind >= '4') {
    // The binary samples begin after the one character that ends the header.
    qsizetype const samples = std::min(at + 1, size);
    out[end++] = '\n';
    std::memmove(out + end, out + samples, size - samples);
    end += size - samples;
  } else {
    for (skipBlanks(); at < size; skipBlanks())
      keepWord([](char c) { return c != '#' && !std::isspace(static_cast<uchar>(c)); });
  }
  bytes.truncate(end);
  QByteArray const format = bitmap ? "pbm" : kind == '2' || kind == '5' ? "pgm" : "ppm";
  return PictureWeight{format, QSize(*width, *height), 1, std::move(bytes)};
}

}  // namespace

std::optional<PictureWeight> WeighPicture(QByteArray bytes) {
  // Each form is told by its first bytes; the weighing of JPEGs, portable maps and PNGs takes the
  // bytes over to leave what is not decoded behind in them.
  if (bytes.startsWith("\xFF\xD8")) return WeighJpeg(std::move(bytes));
  if (IsPortable(bytes)) return WeighPortable(std::move(bytes));
  if (std::optional<PictureWeight> weight = WeighBmp(bytes)) return weight;
  return WeighPng(std::move(bytes));
}

}  // namespace RazidQt
