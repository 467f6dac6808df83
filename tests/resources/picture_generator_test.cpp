// The committed pictures are what their generator draws, and its GIF encoder writes what Qt reads.
#include "support/sanitizers.h"
#include "tools/pictures/gif_writer.h"
#include "tools/pictures/picture_set.h"

#include <gtest/gtest.h>

#include <QBuffer>
#include <QDirIterator>
#include <QFile>
#include <QImageReader>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdlib>

namespace {

const QString Pictures = QStringLiteral(MELVARIN_SOURCE_DIR "/resources/pictures");

QByteArray Read(const QString& file) {
  QFile in(file);
  return in.open(QIODevice::ReadOnly) ? in.readAll() : QByteArray();
}

// Every frame of both files, within a level per channel: the raster engine's rounding differs by
// as much between processors, and between runs on one.
bool SameWithinALevel(const QString& drawn, const QString& committed) {
  QImageReader a(drawn);
  QImageReader b(committed);
  if (a.imageCount() != b.imageCount()) return false;
  for (int frame = 0; frame < std::max(1, a.imageCount()); ++frame) {
    const QImage one = a.read().convertToFormat(QImage::Format_ARGB32);
    const QImage other = b.read().convertToFormat(QImage::Format_ARGB32);
    if (one.isNull() || one.size() != other.size()) return false;
    for (int y = 0; y < one.height(); ++y) {
      for (int x = 0; x < one.width(); ++x) {
        const QRgb p = one.pixel(x, y);
        const QRgb q = other.pixel(x, y);
        for (int shift : {0, 8, 16, 24})
          if (std::abs(int(p >> shift & 0xff) - int(q >> shift & 0xff)) > 1) return false;
      }
    }
  }
  return true;
}

TEST(PictureGenerator, ARerunDrawsTheCommittedPictures) {
  if (Testing::UnderThreadSanitizer) GTEST_SKIP() << "the raster engine paints on Qt's own threads";
  QTemporaryDir rerun;
  ASSERT_TRUE(rerun.isValid());
  const QStringList written = Pictures::AllPictures().WriteAll(QDir(rerun.path()));
  for (const QString& path : written) {
    EXPECT_TRUE(Read(rerun.filePath(path)) == Read(Pictures + "/" + path) ||
                SameWithinALevel(rerun.filePath(path), Pictures + "/" + path))
        << qPrintable(path) << " differs; run tools/pictures/generate.sh and commit";
  }
  // Nor is any picture left over that the generator no longer draws.
  QDirIterator committed(Pictures, {"*.png", "*.PNG", "*.gif"}, QDir::Files,
                         QDirIterator::Subdirectories);
  while (committed.hasNext()) {
    const QString path = QDir(Pictures).relativeFilePath(committed.next());
    EXPECT_TRUE(written.contains(path)) << qPrintable(path) << " is not drawn by the generator";
  }
}

QImage Decode(const QByteArray& gif, int frame) {
  QBuffer buffer;
  buffer.setData(gif);
  QImageReader reader(&buffer, "gif");
  for (int i = 0; i < frame; ++i) reader.read();
  return reader.read().convertToFormat(QImage::Format_ARGB32);
}

// Frames with more distinct runs than the 4096 codes of one table, so that the codes grow to 12
// bits and the table is cleared and started again.
TEST(GifWriter, FramesComeBackPixelForPixel) {
  std::vector<QImage> frames;
  for (int f = 0; f < 2; ++f) {
    QImage frame(160, 120, QImage::Format_ARGB32);
    unsigned seed = 7 + f;
    for (int y = 0; y < frame.height(); ++y) {
      for (int x = 0; x < frame.width(); ++x) {
        seed = seed * 1103515245u + 12345u;
        // Forty colours on steps of 17, which the palette keeps apart, and some transparency.
        const int shade = int(seed >> 16) % 40;
        frame.setPixel(x, y,
                       shade == 0 ? qRgba(0, 0, 0, 0) : qRgb(shade % 8 * 34, shade / 8 * 51, 187));
      }
    }
    frames.push_back(frame);
  }
  const QByteArray gif = Pictures::EncodeGif(frames, 80);
  QBuffer buffer;
  buffer.setData(gif);
  QImageReader reader(&buffer, "gif");
  EXPECT_EQ(reader.imageCount(), 2);
  EXPECT_EQ(reader.loopCount(), -1);  // for ever
  reader.read();
  EXPECT_EQ(reader.nextImageDelay(), 80);
  for (int f = 0; f < 2; ++f) {
    const QImage decoded = Decode(gif, f);
    ASSERT_EQ(decoded.size(), frames[f].size());
    int mismatches = 0;
    for (int y = 0; y < decoded.height(); ++y) {
      for (int x = 0; x < decoded.width(); ++x) {
        const QRgb want = frames[f].pixel(x, y);
        const QRgb got = decoded.pixel(x, y);
        if (qAlpha(want) == 0 ? qAlpha(got) != 0 : got != want) ++mismatches;
      }
    }
    EXPECT_EQ(mismatches, 0) << "frame " << f;
  }
}

}  // namespace
