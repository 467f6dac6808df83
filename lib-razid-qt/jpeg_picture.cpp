#include "lib-razid-qt/jpeg_picture.h"

#include <QtEndian>
#include <algorithm>
#include <cstring>
#include <utility>

namespace RazidQt {

namespace {

constexpr uchar kMarker = 0xFF;
constexpr uchar kStartOfImage = 0xD8;
constexpr uchar kEndOfImage = 0xD9;
constexpr uchar kStartOfScan = 0xDA;
constexpr uchar kComment = 0xFE;

// Markers that stand alone, without a length and a segment: the restarts and TEM.
bool StandsAlone(uchar marker) {
  return (marker >= 0xD0 && marker <= 0xD7) || marker == 0x01;
}

// The start of a frame, of any coding: C0 to CF less C4 (Huffman tables), C8 (reserved) and CC
// (arithmetic conditioning).
bool StartsFrame(uchar marker) {
  return marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
}

// Whether the decoder draws the pixels without the segment: comments, and application data other
// than the JFIF header (APP0), the Adobe colour transform (APP14) and the first Exif block, whose
// turn the picture is shown in. A decoder keeps every comment and application segment it is given
// in memory, as many megabytes as a file holds.
bool LeftBehind(uchar marker, uchar const* data, qsizetype length, bool* exifKept) {
  if (marker == kComment) return true;
  if (marker < 0xE0 || marker > 0xEF || marker == 0xE0 || marker == 0xEE) return false;
  bool const exif = marker == 0xE1 && length >= 6 && std::memcmp(data, "Exif\0\0", 6) == 0;
  if (!exif || *exifKept) return true;
  *exifKept = true;
  return false;
}

}  // namespace

std::optional<JpegPicture> ReadJpegPicture(QByteArray bytes) {
  if (bytes.size() < 4 || uchar(bytes[0]) != kMarker || uchar(bytes[1]) != kStartOfImage)
    return std::nullopt;
  // The segments kept move up over those left behind, in the file's own bytes: each is written no
  // further on than it was read from.
  auto* const data = reinterpret_cast<uchar*>(bytes.data());
  qsizetype const size = bytes.size();
  qsizetype end = 0;      // of the bytes kept
  qsizetype unmoved = 0;  // the first byte read that is neither kept nor left behind yet
  auto const keepUpTo = [&](qsizetype to) {
    std::memmove(data + end, data + unmoved, to - unmoved);
    end += to - unmoved;
    unmoved = to;
  };
  JpegPicture picture;
  bool exifKept = false;
  qsizetype at = 2;
  while (at < size) {
    // Whatever stands between segments, entropy-coded data above all, up to the next marker: a
    // marker byte followed by neither a stuffed zero nor a restart.
    if (data[at] != kMarker || at + 1 >= size || data[at + 1] == 0 || StandsAlone(data[at + 1])) {
      ++at;
      continue;
    }
    uchar const marker = data[at + 1];
    qsizetype const segment = at;
    at += 2;
    if (marker == kMarker) {  // fill bytes before a marker
      --at;
      continue;
    }
    if (marker == kEndOfImage) break;
    // A picture cut short: the decoder reads what there is.
    if (at + 2 > size || at + qFromBigEndian<quint16>(data + at) > size) {
      at = size;
      break;
    }
    qsizetype const length = qFromBigEndian<quint16>(data + at);
    // A length that does not cover itself leaves where the segment ends to each decoder's
    // guess, and a decoder reads on into bytes never weighed.
    if (length < 2) return std::nullopt;
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
    if (LeftBehind(marker, data + at + 2, length - 2, &exifKept)) {
      keepUpTo(segment);
      unmoved = at + length;
    }
    at += length;
  }
  if (picture.size.isEmpty()) return std::nullopt;
  // Up to the end of the picture, the marker ending it included; what follows it is not read.
  keepUpTo(std::min(at, size));
  bytes.truncate(end);
  picture.decodable = std::move(bytes);
  return picture;
}

}  // namespace RazidQt
