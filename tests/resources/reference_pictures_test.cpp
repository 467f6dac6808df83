// The committed reference pictures are what the engraving tool makes of its list, byte for byte,
// and nothing else lies in their folder.
#include "tools/reference-pictures/reference_pictures.h"
#include "lib-razid-qt/QRazidPainter.h"
#include "lib-razid-qt/engine_fonts.h"
#include "support/sanitizers.h"

#include <gtest/gtest.h>

#include <algorithm>

#include <QFile>
#include <QImage>
#include <QTemporaryDir>

namespace {

const QString Committed =
    QStringLiteral(MELVARIN_SOURCE_DIR "/resources/Reference/pixmap/Reference");

QByteArray Read(const QString& file) {
  QFile in(file);
  return in.open(QIODevice::ReadOnly) ? in.readAll() : QByteArray();
}

TEST(ReferencePictures, ARerunEngravesTheCommittedPicturesByteForByte) {
  if (Testing::UnderThreadSanitizer) GTEST_SKIP() << "the raster engine paints on Qt's own threads";
  QString error;
  ASSERT_TRUE(RazidQt::PrepareEngineFonts(&error)) << qPrintable(error);
  QRazidPainter::startRazidEngine();
  QTemporaryDir rerun;
  const QStringList written = ReferencePictures::WriteAll(QDir(rerun.path()), &error);
  QRazidPainter::stopRazidEngine();
  EXPECT_TRUE(error.isEmpty()) << qPrintable(error);
  EXPECT_EQ(written.size(), 96);
  for (const QString& file : written) {
    EXPECT_TRUE(Read(rerun.filePath(file)) == Read(Committed + "/" + file))
        << qPrintable(file) << " differs; run tools/reference-pictures/generate.sh and commit";
  }
  for (const QString& file : QDir(Committed).entryList(QDir::Files)) {
    EXPECT_TRUE(written.contains(file)) << qPrintable(file) << " is not engraved by the tool";
  }
}

// The Single Notes picture names every note under the staff: below the music lies one band of
// text with a name under each of the twenty notes.
TEST(ReferencePictures, TheSingleNotesPictureNamesEveryNoteUnderIt) {
  if (Testing::UnderThreadSanitizer) GTEST_SKIP() << "the raster engine paints on Qt's own threads";
  QString error;
  ASSERT_TRUE(RazidQt::PrepareEngineFonts(&error)) << qPrintable(error);
  QRazidPainter::startRazidEngine();
  const auto& pictures = ReferencePictures::AllPictures();
  const auto notes = std::find_if(pictures.begin(), pictures.end(), [](const auto& picture) {
    return picture.file == "SingleNotes1.png";
  });
  ASSERT_NE(notes, pictures.end());
  const QImage image = ReferencePictures::Render(*notes);
  QRazidPainter::stopRazidEngine();
  ASSERT_FALSE(image.isNull());
  auto inked = [&](int x, int y) { return qAlpha(image.pixel(x, y)) > 100; };
  auto rowInked = [&](int y) {
    for (int x = 0; x < image.width(); ++x)
      if (inked(x, y)) return true;
    return false;
  };
  // The names are the lowest band of rows with ink, apart from the music above by blank rows.
  int bottom = image.height() - 1;
  while (bottom > 0 && !rowInked(bottom)) --bottom;
  int top = bottom;
  while (top > 0 && rowInked(top - 1)) --top;
  ASSERT_GT(top, image.height() / 2) << "no band of text under the music";
  // Each name is a run of inked columns; the gap between two names is wider than any gap
  // between the letters of one.
  constexpr int NameGap = 6;
  int names = 0;
  int blank = NameGap;
  for (int x = 0; x < image.width(); ++x) {
    bool column = false;
    for (int y = top; y <= bottom && !column; ++y) column = inked(x, y);
    if (column && blank >= NameGap) ++names;
    blank = column ? 0 : blank + 1;
  }
  EXPECT_EQ(names, 20);
}

}  // namespace
