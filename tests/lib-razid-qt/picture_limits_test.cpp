// A score reads each picture once and shares it between its marks, and weighs the pictures
// before it reads them, so that whatever it takes on is drawn in the memory a trainer can spare.
#include <QFile>
#include <QImage>
#include <QImageWriter>
#include <QPainter>
#include <QProcess>
#include <QTemporaryDir>
#include <string>

#include "Razid.h"
#include "engine_fixture.h"
#include "support/resident_memory.h"
#include "support/sanitizers.h"

namespace RazidQtTesting {
namespace {

class PictureLimitsTest : public EngineFixture {
 protected:
  void SetUp() override {
    if (Testing::UnderAddressSanitizer || Testing::UnderThreadSanitizer)
      GTEST_SKIP() << "resident memory counts the sanitizers' shadow and quarantine";
  }

  // A PNG of the size and format, striped so that it does not compress to nothing.
  static void WritePicture(QTemporaryDir const& dir, char const* name, int side,
                           QImage::Format format = QImage::Format_RGB32) {
    QImage picture(side, side, format);
    picture.fill(Qt::white);
    QPainter painter(&picture);
    for (int x = 0; x < side; x += 7) painter.fillRect(x, 0, 3, side, QColor(x % 256, 90, 200));
    painter.end();
    QImageWriter writer(dir.filePath(name), "png");
    writer.setQuality(80);
    ASSERT_TRUE(writer.write(picture)) << writer.errorString().toStdString();
  }

  // The score read from its file in the folder; true when the engine took it on.
  static bool Read(QRazidPainter& painter, QTemporaryDir const& dir, std::string const& score,
                   std::string* warnings = nullptr) {
    testing::internal::CaptureStderr();
    bool const read = painter.setRMNFile(WriteFile(dir, "score.rmn", score));
    std::string const warned = testing::internal::GetCapturedStderr();
    if (warnings) *warnings = warned;
    return read;
  }

  // The megabytes resident beyond those before while the score is read and drawn.
  static double DrawnMegabytes(QTemporaryDir const& dir, std::string const& score) {
    Painter painter = NewPainter();
    Testing::ResetPeakResident();
    double const before = Testing::PeakResidentMegabytes();
    EXPECT_TRUE(Read(*painter, dir, score));
    Draw(*painter, 1, {1240, painter->heightForWidth(1240, 1)});
    return Testing::PeakResidentMegabytes() - before;
  }

  static qint64 SvgBytes(QTemporaryDir const& dir, std::string const& score) {
    QProcess tool;
    tool.start(RMN_RENDER_PATH, {WriteFile(dir, "score.rmn", score), dir.filePath("score.svg")});
    EXPECT_TRUE(tool.waitForFinished(60000));
    EXPECT_EQ(tool.exitCode(), 0) << tool.readAllStandardError().toStdString();
    return QFile(dir.filePath("score.svg")).size();
  }
};

// Eight times the marks of one picture add less than one copy of its pixels in memory and far
// less than its file per mark in SVG, and a missing picture is warned of once.
TEST_F(PictureLimitsTest, TheMarksOfAPictureShareItsOneReading) {
  QTemporaryDir dir;
  int const side = 1500, few = 2, many = 8 * few;
  WritePicture(dir, "drvesk.png", side);
  auto const marks = [](int pairs) {
    std::string text = "[ ";
    for (int i = 0; i < pairs; ++i) text += "\\DrVesk c \\DrVesk<-1> d ";
    return text + "]";
  };
  DrawnMegabytes(dir, marks(few));  // fonts and caches come on the first drawing
  double const fewMegabytes = DrawnMegabytes(dir, marks(few));
  EXPECT_LT(DrawnMegabytes(dir, marks(many)) - fewMegabytes, side * side * 4.0 / (1 << 20));
  qint64 const grown = SvgBytes(dir, marks(many)) - SvgBytes(dir, marks(few));
  EXPECT_LT(grown / (2 * (many - few)), QFile(dir.filePath("drvesk.png")).size() / 5);

  ASSERT_TRUE(QFile::remove(dir.filePath("drvesk.png")));
  Painter painter = NewPainter();
  std::string warnings;
  Read(*painter, dir, "{ " + marks(many) + ", [ \\DrPild c \\DrPild d ] }", &warnings);
  for (char const* name : {"drvesk", "drpild"}) {
    std::string const warning =
        "Picture not found or not readable: " + dir.filePath(name).toStdString() + "\n";
    EXPECT_NE(warnings.find(warning), std::string::npos) << warnings;
    EXPECT_EQ(warnings.find(warning), warnings.rfind(warning)) << warnings;
  }
}

// The largest pictures taken on, in the format dearest to read, are drawn in bounded memory; a
// larger one is left out before it is read, with one warning, and the music drawn without it.
TEST_F(PictureLimitsTest, TheLargestPicturesTakenAreDrawnInBoundedMemory) {
  QTemporaryDir dir;
  std::string const score = "[ \\DrVesk c \\DrPild<-1> d \\DrVesk e \\DrPild f ]";
  auto const tooLarge = [&](char const* name) {
    return "Picture too large for one layout - left out: " + dir.filePath(name).toStdString();
  };
  // The limit weighs a picture by the size its header tells, so headers alone find the largest.
  auto const taken = [&](int side) {
    for (char const* name : {"drvesk", "drpild"})
      WriteFile(dir, name, "P6\n" + std::to_string(side) + " " + std::to_string(side) + "\n255\n");
    Painter painter = NewPainter();
    std::string warnings;
    EXPECT_TRUE(Read(*painter, dir, score, &warnings)) << "the music is drawn all the same";
    return warnings.find(tooLarge("drpild")) == std::string::npos;
  };
  int largest = 1, leftOut = 6000;  // Qt reads no picture over 256 MB at all
  ASSERT_TRUE(taken(largest));
  ASSERT_FALSE(taken(leftOut));
  while (leftOut - largest > 1) {
    int const side = (largest + leftOut) / 2;
    (taken(side) ? largest : leftOut) = side;
  }
  EXPECT_GE(largest, 2400);  // a camera's picture

  for (char const* name : {"drvesk", "drpild"}) {
    ASSERT_TRUE(QFile::remove(dir.filePath(name)));
    WritePicture(dir, (name + std::string(".png")).c_str(), largest, QImage::Format_RGBA64);
  }
  Painter painter = NewPainter();
  Testing::ResetPeakResident();
  ASSERT_TRUE(Read(*painter, dir, score));
  QImage const page = Draw(*painter, 1, {1240, painter->heightForWidth(1240, 1)});
  EXPECT_LT(Testing::PeakResidentMegabytes(), 300) << "pictures of " << largest;
  EXPECT_GT(Count(page, page.rect(), [](QRgb c) { return qRed(c) != qBlue(c); }), 0);

  ASSERT_TRUE(QFile::remove(dir.filePath("drvesk.png")));
  WritePicture(dir, "drpild.png", 6000, QImage::Format_RGBA64);
  Testing::ResetPeakResident();
  double const before = Testing::PeakResidentMegabytes();
  std::string warnings;
  ASSERT_TRUE(Read(*painter, dir, score, &warnings));
  EXPECT_LT(Testing::PeakResidentMegabytes() - before, 6000 * 6000 * 4.0 / (1 << 20) / 4);
  EXPECT_NE(warnings.find(tooLarge("drpild")), std::string::npos) << warnings;
  EXPECT_EQ(warnings.find(tooLarge("drpild")), warnings.rfind(tooLarge("drpild"))) << warnings;
  QImage const music = Draw(*painter, 1, {1240, painter->heightForWidth(1240, 1)});
  EXPECT_GT(Count(music, music.rect(), Dark), 0);
}

}  // namespace
}  // namespace RazidQtTesting
