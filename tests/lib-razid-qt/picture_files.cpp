#include "picture_files.h"

#include <zlib.h>

#include <QBuffer>
#include <QImageWriter>
#include <QPainter>
#include <QtEndian>
#include <algorithm>
#include <array>

namespace PictureFiles {

namespace {

QByteArray BigEndian(quint32 value) {
  QByteArray bytes(4, '\0');
  qToBigEndian(value, bytes.data());
  return bytes;
}

QByteArray Chunk(QByteArray const& type, QByteArray const& data) {
  QByteArray const typed = type + data;
  auto const check = crc32(0, reinterpret_cast<Bytef const*>(typed.constData()), typed.size());
  return BigEndian(quint32(data.size())) + typed + BigEndian(quint32(check));
}

QByteArray Png(int width, int height, bool interlaced, QByteArray const& compressedRows,
               int depth = 8) {
  QByteArray header = BigEndian(width) + BigEndian(height);
  header.append(char(depth))
      .append(char(2))
      .append(char(0))
      .append(char(0))
      .append(char(interlaced));
  return QByteArray("\x89PNG\r\n\x1a\n", 8) + Chunk("IHDR", header) +
         Chunk("IDAT", compressedRows) + Chunk("IEND", {});
}

// Deflated with the wrapper zlib's window bits choose: 15 for zlib, 31 for gzip.
QByteArray Deflated(int windowBits, QByteArray const& head, char fill, qint64 fills,
                    QByteArray const& tail) {
  z_stream stream{};
  deflateInit2(&stream, 1, Z_DEFLATED, windowBits, 8, Z_DEFAULT_STRATEGY);
  QByteArray out;
  std::array<Bytef, 1 << 16> buffer;
  auto const feed = [&](QByteArray const& in, int flush) {
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(in.constData()));
    stream.avail_in = uInt(in.size());
    do {
      stream.next_out = buffer.data();
      stream.avail_out = uInt(buffer.size());
      deflate(&stream, flush);
      out.append(reinterpret_cast<char*>(buffer.data()),
                 qsizetype(buffer.size() - stream.avail_out));
    } while (stream.avail_out == 0);
  };
  feed(head, Z_NO_FLUSH);
  QByteArray const block(1 << 20, fill);
  for (qint64 left = fills; left > 0; left -= block.size())
    feed(left < block.size() ? block.left(left) : block, Z_NO_FLUSH);
  feed(tail, Z_FINISH);
  deflateEnd(&stream);
  return out;
}

}  // namespace

QByteArray Written(QImage const& picture, char const* format, bool progressive) {
  QBuffer buffer;
  buffer.open(QIODevice::WriteOnly);
  QImageWriter writer(&buffer, format);
  writer.setProgressiveScanWrite(progressive);
  writer.write(picture);
  return buffer.data();
}

QImage Halves(int width, int height) {
  QImage picture(width, height, QImage::Format_RGB32);
  picture.fill(Qt::red);
  QPainter(&picture).fillRect(0, 0, width / 2, height, Qt::blue);
  return picture;
}

QByteArray InterlacedPng(QImage const& picture) {
  // First column and row, and the steps between them, of each of the seven passes.
  constexpr int kPasses[7][4] = {{0, 0, 8, 8}, {4, 0, 8, 8}, {0, 4, 4, 8}, {2, 0, 4, 4},
                                 {0, 2, 2, 4}, {1, 0, 2, 2}, {0, 1, 1, 2}};
  QByteArray rows;
  for (auto const& [column, row, across, down] : kPasses) {
    if (column >= picture.width()) continue;
    for (int y = row; y < picture.height(); y += down) {
      rows.append('\0');
      for (int x = column; x < picture.width(); x += across) {
        QRgb const pixel = picture.pixel(x, y);
        rows.append(char(qRed(pixel))).append(char(qGreen(pixel))).append(char(qBlue(pixel)));
      }
    }
  }
  return Png(picture.width(), picture.height(), true, Deflated(15, rows, 0, 0, {}));
}

QByteArray PngWithMoreData(qint64 moreBytes) {
  return Png(1, 1, false, Deflated(15, QByteArray(4, '\0'), '\0', moreBytes, {}));
}

QByteArray BlackPngOf16Bits(int side) {
  qint64 const rows = qint64(side) * (1 + qint64(side) * 6);
  return Png(side, side, false, Deflated(15, {}, '\0', rows, {}), 16);
}

QByteArray Svg(int side, QString const& body) {
  return QStringLiteral(
             "<svg xmlns=\"http://www.w3.org/2000/svg\" "
             "xmlns:xlink=\"http://www.w3.org/1999/xlink\" "
             "width=\"%1\" height=\"%1\">%2</svg>")
      .arg(side)
      .arg(body)
      .toUtf8();
}

QByteArray Gzip(QByteArray const& head, char fill, qint64 fills, QByteArray const& tail) {
  return Deflated(31, head, fill, fills, tail);
}

QByteArray IconHolding(QByteArray const& png) {
  // An icon of one picture; its entry: 1 x 1, no palette, one plane, 32 bits a pixel, then the
  // picture's length and its place, right after the directory, in little-endian order.
  QByteArray icon("\0\0\1\0\1\0\1\1\0\0\1\0\x20\0", 14);
  quint32 const lengthAndPlace[] = {qToLittleEndian(quint32(png.size())), qToLittleEndian(22u)};
  return icon.append(reinterpret_cast<char const*>(lengthAndPlace), 8) + png;
}

QByteArray JpegWithScanRepeated(QImage const& picture, int times) {
  QByteArray const jpeg = Written(picture, "jpeg", true);
  qsizetype const lastScan = jpeg.lastIndexOf("\xFF\xDA");
  qsizetype const end = jpeg.lastIndexOf("\xFF\xD9");
  QByteArray const scan = jpeg.mid(lastScan, end - lastScan);
  return jpeg.left(end) + scan.repeated(times) + jpeg.mid(end);
}

QByteArray JpegWithBeforeScans(QByteArray const& jpeg, QByteArray const& bytes) {
  QByteArray marked = jpeg;
  return marked.insert(jpeg.indexOf("\xFF\xDA"), bytes);
}

QByteArray JpegWithComments(QByteArray const& jpeg, qint64 bytes) {
  // Comments of the longest length a segment has, then one that takes what is left.
  QByteArray comments;
  constexpr qint64 kLongest = 0xFFFF - 2;
  for (qint64 left = bytes; left > 0; left -= kLongest + 4) {
    qint64 const text = std::min(kLongest, std::max<qint64>(0, left - 4));
    quint16 const length = qToBigEndian(quint16(text + 2));
    comments.append("\xFF\xFE", 2)
        .append(reinterpret_cast<char const*>(&length), 2)
        .append(QByteArray(text, 'c'));
  }
  return jpeg.left(2) + comments + jpeg.mid(2);
}

QByteArray PlainPixmapAfterBlanks(qint64 blanks) {
  return "P3" + QByteArray(blanks, ' ') + "2 1 255\n0 0 255 255 0 0\n";
}

}  // namespace PictureFiles
