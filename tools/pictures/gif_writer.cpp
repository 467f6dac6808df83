#include "tools/pictures/gif_writer.h"

#include "src/common/assertion.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <map>
#include <unordered_map>

namespace Pictures {

namespace {

constexpr int TransparentIndex = 0;
constexpr int PaletteSize = 256;
constexpr int MinCodeSize = 8;

void PutLe16(QByteArray& out, int value) {
  out.append(char(value & 0xff));
  out.append(char((value >> 8) & 0xff));
}

// The colour a pixel shows, or -1 when it is transparent.
int OpaqueRgb(QRgb premultiplied) {
  if (qAlpha(premultiplied) < 64) return -1;
  return int(premultiplied & 0xffffff);
}

int Bucket(int rgb) {
  return ((rgb >> 20) & 0xf) << 8 | ((rgb >> 12) & 0xf) << 4 | ((rgb >> 4) & 0xf);
}

// The palette: the 255 most used colours at four bits per channel, each the average of what fell
// into it. Ties go to the lower bucket, so the palette does not depend on hashing order.
std::vector<QRgb> BuildPalette(const std::vector<QImage>& frames) {
  std::map<int, std::array<std::int64_t, 4>> buckets;  // bucket -> sum r, g, b and count
  for (const QImage& frame : frames) {
    for (int y = 0; y < frame.height(); ++y) {
      const auto* line = reinterpret_cast<const QRgb*>(frame.constScanLine(y));
      for (int x = 0; x < frame.width(); ++x) {
        const int rgb = OpaqueRgb(line[x]);
        if (rgb < 0) continue;
        auto& sum = buckets[Bucket(rgb)];
        sum[0] += qRed(QRgb(rgb));
        sum[1] += qGreen(QRgb(rgb));
        sum[2] += qBlue(QRgb(rgb));
        sum[3] += 1;
      }
    }
  }
  std::vector<std::pair<std::int64_t, int>> byUse;
  for (const auto& [bucket, sum] : buckets) byUse.emplace_back(-sum[3], bucket);
  std::sort(byUse.begin(), byUse.end());
  std::vector<QRgb> palette(1, qRgb(0, 0, 0));  // entry 0 is the transparent one
  for (const auto& [negativeCount, bucket] : byUse) {
    if (int(palette.size()) == PaletteSize) break;
    const auto& sum = buckets[bucket];
    palette.push_back(qRgb(int(sum[0] / sum[3]), int(sum[1] / sum[3]), int(sum[2] / sum[3])));
  }
  return palette;
}

int Nearest(const std::vector<QRgb>& palette, int rgb) {
  int best = 1;
  int bestDistance = 1 << 30;
  for (int i = 1; i < int(palette.size()); ++i) {
    const int dr = qRed(palette[i]) - qRed(QRgb(rgb));
    const int dg = qGreen(palette[i]) - qGreen(QRgb(rgb));
    const int db = qBlue(palette[i]) - qBlue(QRgb(rgb));
    const int distance = dr * dr + dg * dg + db * db;
    if (distance < bestDistance) {
      bestDistance = distance;
      best = i;
    }
  }
  return best;
}

class BitWriter {
 public:
  void Put(int code, int size) {
    accumulator_ |= std::uint32_t(code) << bits_;
    bits_ += size;
    while (bits_ >= 8) {
      bytes_.append(char(accumulator_ & 0xff));
      accumulator_ >>= 8;
      bits_ -= 8;
    }
  }
  QByteArray Finish() {
    if (bits_ > 0) bytes_.append(char(accumulator_ & 0xff));
    accumulator_ = 0;
    bits_ = 0;
    return bytes_;
  }

 private:
  QByteArray bytes_;
  std::uint32_t accumulator_ = 0;
  int bits_ = 0;
};

// Variable-length LZW as GIF wants it: codes grow from 9 to 12 bits, and the table is cleared
// when it is full.
QByteArray Lzw(const std::vector<std::uint8_t>& indexes) {
  const int clearCode = 1 << MinCodeSize;
  const int endCode = clearCode + 1;
  BitWriter writer;
  int codeSize = MinCodeSize + 1;
  int nextCode = endCode + 1;
  std::unordered_map<std::uint32_t, int> table;
  writer.Put(clearCode, codeSize);
  int prefix = indexes.front();
  for (std::size_t i = 1; i < indexes.size(); ++i) {
    const std::uint32_t key = std::uint32_t(prefix) << 8 | indexes[i];
    const auto found = table.find(key);
    if (found != table.end()) {
      prefix = found->second;
      continue;
    }
    writer.Put(prefix, codeSize);
    if (nextCode < 4096) {
      if (nextCode == (1 << codeSize)) ++codeSize;
      table.emplace(key, nextCode++);
    } else {
      writer.Put(clearCode, codeSize);
      table.clear();
      codeSize = MinCodeSize + 1;
      nextCode = endCode + 1;
    }
    prefix = indexes[i];
  }
  writer.Put(prefix, codeSize);
  writer.Put(endCode, codeSize);
  return writer.Finish();
}

void PutSubBlocks(QByteArray& out, const QByteArray& data) {
  for (qsizetype at = 0; at < data.size(); at += 255) {
    const qsizetype length = std::min<qsizetype>(255, data.size() - at);
    out.append(char(length));
    out.append(data.mid(at, length));
  }
  out.append(char(0));
}

}  // namespace

QByteArray EncodeGif(const std::vector<QImage>& frames, int delayMs) {
  MELVARIN_ASSERT(!frames.empty());
  std::vector<QImage> premultiplied;
  for (const QImage& frame : frames) {
    MELVARIN_ASSERT(frame.size() == frames.front().size());
    premultiplied.push_back(frame.convertToFormat(QImage::Format_ARGB32_Premultiplied));
  }
  std::vector<QRgb> palette = BuildPalette(premultiplied);
  palette.resize(PaletteSize, qRgb(0, 0, 0));
  const int width = frames.front().width();
  const int height = frames.front().height();

  QByteArray out("GIF89a");
  PutLe16(out, width);
  PutLe16(out, height);
  out.append(char(0xf7));  // global table of 256 colours, 8 bits per primary
  out.append(char(TransparentIndex));
  out.append(char(0));
  for (QRgb colour : palette) {
    out.append(char(qRed(colour)));
    out.append(char(qGreen(colour)));
    out.append(char(qBlue(colour)));
  }
  out.append(QByteArray::fromHex("21ff0b"));
  out.append("NETSCAPE2.0");
  out.append(QByteArray::fromHex("0301000000"));  // loop for ever

  std::unordered_map<int, int> nearest;
  for (const QImage& frame : premultiplied) {
    out.append(QByteArray::fromHex("21f904"));
    out.append(char(0x09));  // restore to background after the frame; has a transparent index
    PutLe16(out, (delayMs + 5) / 10);
    out.append(char(TransparentIndex));
    out.append(char(0));
    out.append(char(0x2c));
    PutLe16(out, 0);
    PutLe16(out, 0);
    PutLe16(out, width);
    PutLe16(out, height);
    out.append(char(0));
    std::vector<std::uint8_t> indexes;
    indexes.reserve(std::size_t(width) * std::size_t(height));
    for (int y = 0; y < height; ++y) {
      const auto* line = reinterpret_cast<const QRgb*>(frame.constScanLine(y));
      for (int x = 0; x < width; ++x) {
        const int rgb = OpaqueRgb(line[x]);
        if (rgb < 0) {
          indexes.push_back(TransparentIndex);
          continue;
        }
        auto found = nearest.find(rgb);
        if (found == nearest.end()) found = nearest.emplace(rgb, Nearest(palette, rgb)).first;
        indexes.push_back(std::uint8_t(found->second));
      }
    }
    out.append(char(MinCodeSize));
    PutSubBlocks(out, Lzw(indexes));
  }
  out.append(char(0x3b));
  return out;
}

}  // namespace Pictures
