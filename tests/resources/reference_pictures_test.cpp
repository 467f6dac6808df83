// The committed reference pictures are what the engraving tool makes of its list, byte for byte,
// and nothing else lies in their folder.
#include "tools/reference-pictures/reference_pictures.h"
#include "lib-razid-qt/QRazidPainter.h"
#include "lib-razid-qt/engine_fonts.h"
#include "support/sanitizers.h"

#include <gtest/gtest.h>

#include <QFile>
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

}  // namespace
