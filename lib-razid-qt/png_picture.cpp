#include "lib-razid-qt/png_picture.h"

#include <zlib.h>

#include <QtEndian>
#include <algorithm>
#include <array>
#include <bit>
#include <cstring>
#include <functional>
#include <utility>

namespace RazidQt {

namespace {

constexpr char kSignature[] = "\x89PNG\r\n\x1a\n";
constexpr qsizetype kSignatureLength = 8;
// Length, type and check of a chunk beside its data.
constexpr qsizetype kChunkFrame = 12;
constexpr qsizetype kHeaderLength = 13;

// What a decoder needs to draw the pixels in their colours; every other chunk is left behind.
bool MakesUpPixels(QByteArrayView type) {
  for (char const* kept : {"IHDR", "PLTE", "tRNS", "IDAT", "IEND", "gAMA", "cHRM", "sRGB", "sBIT"})
    if (type == QByteArrayView(kept)) return true;
  return false;
}

// Calls `visit` with each whole chunk (frame and data) of the PNG and its type, in their order,
// until it returns false, IEND has been visited or the bytes end; false when they are no PNG.
bool ForEachChunk(QByteArray const& png,
                  std::function<bool(QByteArrayView type, QByteArrayView chunk)> const& visit) {
  if (!png.startsWith(QByteArrayView(kSignature, kSignatureLength))) return false;
  for (qsizetype at = kSignatureLength; png.size() - at >= kChunkFrame;) {
    quint32 const length = qFromBigEndian<quint32>(png.constData() + at);
    if (length > quint32(png.size() - at - kChunkFrame)) break;
    QByteArrayView const chunk(png.constData() + at, kChunkFrame + length);
    QByteArrayView const type = chunk.sliced(4, 4);
    if (!visit(type, chunk) || type == QByteArrayView("IEND")) break;
    at += chunk.size();
  }
  return true;
}

// The channels of each colour type (0 grey, 2 colour, 3 palette, 4 grey and alpha, 6 colour and
// alpha) and the bit depths it may have, each depth its own bit; types 1 and 5 do not exist.
constexpr std::array<std::pair<int, unsigned>, 7> kColourTypes{{{1, 1 | 2 | 4 | 8 | 16},
                                                                {0, 0},
                                                                {3, 8 | 16},
                                                                {1, 1 | 2 | 4 | 8},
                                                                {2, 8 | 16},
                                                                {0, 0},
                                                                {4, 8 | 16}}};

struct Header {
  quint32 width = 0;
  quint32 height = 0;
  int bitsPerPixel = 0;
  bool interlaced = false;
  int depth = 0;
};

// The header at the start of the PNG, when it is one a decoder takes.
std::optional<Header> ReadHeader(QByteArray const& png) {
  std::optional<Header> header;
  ForEachChunk(png, [&](QByteArrayView type, QByteArrayView chunk) {
    if (type != QByteArrayView("IHDR") || chunk.size() != kChunkFrame + kHeaderLength) return false;
    uchar const* data = reinterpret_cast<uchar const*>(chunk.data()) + 8;
    int const depth = data[8], colourType = data[9];
    if (colourType >= int(kColourTypes.size())) return false;
    auto const [channels, depths] = kColourTypes[colourType];
    bool const depthFits = std::has_single_bit(unsigned(depth)) && (depths & unsigned(depth)) != 0;
    Header read{qFromBigEndian<quint32>(data), qFromBigEndian<quint32>(data + 4), channels * depth,
                data[12] == 1, depth};
    if (!depthFits || read.width == 0 || read.height == 0 || data[12] > 1) return false;
    header = read;
    return false;
  });
  return header;
}

// The bytes of the rows of a PNG before they are compressed: each row, or each row of each of the
// seven interlaced passes, a filter byte and its pixels.
qint64 RowBytes(Header const& header) {
  auto const rows = [&](qint64 width, qint64 height) {
    return width == 0 ? 0 : height * (1 + (width * header.bitsPerPixel + 7) / 8);
  };
  if (!header.interlaced) return rows(header.width, header.height);
  // First column and row, and the steps between them, of each pass.
  static constexpr std::array<std::array<qint64, 4>, 7> kPasses{{{0, 0, 8, 8},
                                                                 {4, 0, 8, 8},
                                                                 {0, 4, 4, 8},
                                                                 {2, 0, 4, 4},
                                                                 {0, 2, 2, 4},
                                                                 {1, 0, 2, 2},
                                                                 {0, 1, 1, 2}}};
  qint64 bytes = 0;
  for (auto const& [column, row, across, down] : kPasses)
    bytes += rows(std::max<qint64>(0, (header.width - column + across - 1) / across),
                  std::max<qint64>(0, (header.height - row + down - 1) / down));
  return bytes;
}

}  // namespace

std::optional<PngPicture> ReadPngPicture(QByteArray bytes) {
  std::optional<Header> const header = ReadHeader(bytes);
  if (!header || header->width > quint32(INT_MAX) || header->height > quint32(INT_MAX))
    return std::nullopt;
  // The chunks kept move up over those left behind, in the file's own bytes: each is written no
  // further on than it was read from.
  char* const kept = bytes.data();
  qsizetype end = kSignatureLength;
  ForEachChunk(bytes, [&](QByteArrayView type, QByteArrayView chunk) {
    if (!MakesUpPixels(type)) return true;
    std::memmove(kept + end, chunk.data(), chunk.size());
    end += chunk.size();
    return true;
  });
  bytes.truncate(end);
  return PngPicture{QSize(int(header->width), int(header->height)), std::move(bytes),
                    header->depth == 16 ? 8 : 4};
}

bool PngDataFitItsRows(QByteArray const& png) {
  std::optional<Header> const header = ReadHeader(png);
  if (!header) return false;
  qint64 const rowBytes = RowBytes(*header);
  z_stream stream{};
  if (inflateInit(&stream) != Z_OK) return false;
  std::array<Bytef, 1 << 16> scratch;
  qint64 inflated = 0;
  int result = Z_OK;
  ForEachChunk(png, [&](QByteArrayView type, QByteArrayView chunk) {
    if (type != QByteArrayView("IDAT")) return true;
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(chunk.data())) + 8;
    stream.avail_in = uInt(chunk.size() - kChunkFrame);
    while (result == Z_OK && (stream.avail_in > 0 || stream.avail_out == 0)) {
      stream.next_out = scratch.data();
      stream.avail_out = uInt(scratch.size());
      result = inflate(&stream, Z_NO_FLUSH);
      inflated += qint64(scratch.size() - stream.avail_out);
      if (inflated > rowBytes) result = Z_DATA_ERROR;
      if (result == Z_BUF_ERROR) result = Z_OK;  // waits for the next chunk
    }
    return result == Z_OK;
  });
  inflateEnd(&stream);
  // Data that end early leave rows empty, which a decoder copes with.
  return result == Z_OK || result == Z_STREAM_END;
}

}  // namespace RazidQt
