#include "lib-razid-qt/jpeg_picture.h"

#include <QtEndian>

namespace RazidQt {

namespace {

constexpr uchar kMarker = 0xFF;
constexpr uchar kStartOfImage = 0xD8;
constexpr uchar kEndOfImage = 0xD9;
constexpr uchar kStartOfScan = 0xDA;

// Markers that stand alone, without a length and a segment: the restarts and TEM.
bool StandsAlone(uchar marker) {
  return (marker >= 0xD0 && marker <= 0xD7) || marker == 0x01;
}

// The start of a frame, of any coding: C0 to CF less C4 (Huffman tables), C8 (reserved) and CC
// (arithmetic conditioning).
bool StartsFrame(uchar marker) {
  return marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
}

}  // namespace

std::optional<JpegPicture> ReadJpegPicture(QByteArray const& bytes) {
  auto const* data = reinterpret_cast<uchar const*>(bytes.constData());
  qsizetype const size = bytes.size();
  if (size < 4 || data[0] != kMarker || data[1] != kStartOfImage) return std::nullopt;
  JpegPicture picture;
  qsizetype at = 2;
  while (at < size) {
    // Whatever stands between segments, entropy-coded data above all, up to the next marker: a
    // marker byte followed by neither a stuffed zero nor a restart.
    if (data[at] != kMarker || at + 1 >= size || data[at + 1] == 0 || StandsAlone(data[at + 1])) {
      ++at;
      continue;
    }
    uchar const marker = data[at + 1];
    at += 2;
    if (marker == kMarker) {  // fill bytes before a marker
      --at;
      continue;
    }
    if (marker == kEndOfImage) break;
    if (at + 2 > size) break;
    qsizetype const length = qFromBigEndian<quint16>(data + at);
    if (length < 2 || at + length > size) break;
    if (StartsFrame(marker) && picture.size.isEmpty()) {
      if (length < 8) return std::nullopt;
      int const height = qFromBigEndian<quint16>(data + at + 3);
      int const width = qFromBigEndian<quint16>(data + at + 5);
      // A height of 0 is told after the first scan (DNL), which decoders do not take.
      if (width == 0 || height == 0) return std::nullopt;
      picture.size = QSize(width, height);
    }
    if (marker == kStartOfScan) {
      if (picture.size.isEmpty()) return std::nullopt;
      ++picture.scans;
    }
    at += length;
  }
  if (picture.size.isEmpty()) return std::nullopt;
  return picture;
}

}  // namespace RazidQt
