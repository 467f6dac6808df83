// What the pictures of picture marks cost: a score reads each picture once and shares it between
// its marks, and its work limit weighs the pictures before it reads them, so that whatever it
// takes on is drawn in the memory a trainer's machine can spare.
#include <QFile>
#include <QImage>
#include <QImageWriter>
#include <QPainter>
#include <QProcess>
#include <QTemporaryDir>
#include <iostream>
#include <string>

#include "Razid.h"
#include "engine_fixture.h"
#include "support/resident_memory.h"
#include "support/sanitizers.h"

namespace RazidQtTesting {
namespace {

constexpr double kMostMegabytes = 300;

std::string Repeated(std::string const& piece, int times) {
  std::string text;
  for (int i = 0; i < times; ++i) text += piece;
  return text;
}

class PictureLimitsTest : public EngineFixture {
 protected:
  void SetUp() override {
    if (Testing::UnderAddressSanitizer || Testing::UnderThreadSanitizer)
      GTEST_SKIP() << "resident memory counts the sanitizers' shadow and quarantine";
  }

  // A picture of the size and format in the folder, in colours a PNG does not shrink to nothing.
  static void WritePicture(QTemporaryDir const& dir, char const* name, int side,
                           QImage::Format format = QImage::Format_RGB32) {
    QImage picture(side, side, format);
    picture.fill(Qt::white);
    QPainter painter(&picture);
    for (int x = 0; x < side; x += 7) painter.fillRect(x, 0, 3, side, QColor(x % 256, 90, 200));
    painter.end();
    QImageWriter writer(dir.filePath(name), "png");
    writer.setQuality(80);  // written quickly, still compressed
    ASSERT_TRUE(writer.write(picture)) << writer.errorString().toStdString();
  }

  // The score read from its file in the folder; true when the engine took it on.
  static bool Read(QRazidPainter& painter, QTemporaryDir const& dir, std::string const& score) {
    testing::internal::CaptureStderr();
    bool const read = painter.setRMNFile(WriteFile(dir, "score.rmn", score));
    testing::internal::GetCapturedStderr();
    return read;
  }

  // The megabytes resident beyond those before, at most, while the score is read and drawn.
  static double DrawnMegabytes(QTemporaryDir const& dir, std::string const& score) {
    Painter painter = NewPainter();
    Testing::ResetPeakResident();
    double const before = Testing::PeakResidentMegabytes();
    EXPECT_TRUE(Read(*painter, dir, score));
    Draw(*painter, 1, {1240, painter->heightForWidth(1240, 1)});
    return Testing::PeakResidentMegabytes() - before;
  }

  // The size of the SVG the render tool writes of the score.
  static qint64 SvgBytes(QTemporaryDir const& dir, std::string const& score) {
    QProcess tool;
    tool.start(RMN_RENDER_PATH, {WriteFile(dir, "score.rmn", score), dir.filePath("score.svg")});
    EXPECT_TRUE(tool.waitForFinished(60000));
    EXPECT_EQ(tool.exitCode(), 0) << tool.readAllStandardError().toStdString();
    return QFile(dir.filePath("score.svg")).size();
  }
};

// Marks of one picture, few and eight times as many: the many hold the same one copy of its
// pixels, an SVG writes each further mark's copy no larger than it is drawn, and a missing
// picture is warned of once whatever the number of its marks.
TEST_F(PictureLimitsTest, TheMarksOfAPictureShareItsOneReading) {
  QTemporaryDir dir;
  int const side = 1500;
  WritePicture(dir, "drvesk.png", side);
  double const pictureMegabytes = side * side * 4.0 / (1 << 20);
  auto const marks = [](int n) { return "[ " + Repeated("\\DrVesk c \\DrVesk<-1> d ", n) + "]"; };
  int const few = 2, many = 8 * few;

  DrawnMegabytes(dir, marks(few));  // fonts and caches come on the first drawing
  double const fewMegabytes = DrawnMegabytes(dir, marks(few));
  double const manyMegabytes = DrawnMegabytes(dir, marks(many));
  EXPECT_LT(manyMegabytes - fewMegabytes, pictureMegabytes)
      << few << " pairs of marks: " << fewMegabytes << " MB, " << many << ": " << manyMegabytes;

  qint64 const fewBytes = SvgBytes(dir, marks(few)), manyBytes = SvgBytes(dir, marks(many));
  qint64 const pictureBytes = QFile(dir.filePath("drvesk.png")).size();
  EXPECT_LT((manyBytes - fewBytes) / (2 * (many - few)), pictureBytes / 5)
      << "SVG of " << few << " pairs of marks: " << fewBytes << " bytes, " << many << ": "
      << manyBytes;

  ASSERT_TRUE(QFile::remove(dir.filePath("drvesk.png")));
  Painter painter = NewPainter();
  testing::internal::CaptureStderr();
  painter->setRMNFile(
      WriteFile(dir, "score.rmn", "{ " + marks(many) + ", [ \\DrPild c \\DrPild d ] }"));
  std::string const warnings = testing::internal::GetCapturedStderr();
  for (char const* name : {"drvesk", "drpild"}) {
    std::string const warning =
        "Picture not found or not readable: " + dir.filePath(name).toStdString() + "\n";
    EXPECT_NE(warnings.find(warning), std::string::npos) << warnings;
    EXPECT_EQ(warnings.find(warning), warnings.rfind(warning)) << warnings;
  }
}

// The largest pictures a score of both marks takes on, in the format that costs most to read, are
// drawn in bounded memory; larger ones are refused as other music too large for the engine is,
// before a pixel of them is read.
TEST_F(PictureLimitsTest, TheLargestAcceptedPicturesAreDrawnInBoundedMemory) {
  QTemporaryDir dir;
  std::string const score = "[ \\DrVesk c \\DrPild<-1> d \\DrVesk e \\DrPild f ]";
  // The limit weighs a picture by its size alone, which the header of a file tells: files of a
  // header alone find the largest size taken on.
  auto const accepted = [&](int side) {
    for (char const* name : {"drvesk", "drpild"})
      WriteFile(dir, name, "P6\n" + std::to_string(side) + " " + std::to_string(side) + "\n255\n");
    Painter painter = NewPainter();
    return Read(*painter, dir, score);
  };
  // (Qt's reader reads no picture of more than 256 MB: one claiming more is no picture to it.)
  int taken = 1, refused = 6000;
  ASSERT_TRUE(accepted(taken));
  ASSERT_FALSE(accepted(refused));
  while (refused - taken > 1) {
    int const side = (taken + refused) / 2;
    (accepted(side) ? taken : refused) = side;
  }
  // A camera's picture is taken on.
  EXPECT_GE(taken, 2400);

  for (char const* name : {"drvesk", "drpild"}) {
    ASSERT_TRUE(QFile::remove(dir.filePath(name)));
    WritePicture(dir, (name + std::string(".png")).c_str(), taken, QImage::Format_RGBA64);
  }
  Painter painter = NewPainter();
  Testing::ResetPeakResident();
  ASSERT_TRUE(Read(*painter, dir, score));
  QImage const page = Draw(*painter, 1, {1240, painter->heightForWidth(1240, 1)});
  double const peak = Testing::PeakResidentMegabytes();
  EXPECT_LT(peak, kMostMegabytes) << "pictures of " << taken;
  std::cout << "pictures of " << taken << " x " << taken << " drawn, peak " << peak << " MB\n";
  EXPECT_GT(Count(page, page.rect(), [](QRgb c) { return qRed(c) != qBlue(c); }), 0)
      << "the pictures were not drawn";

  for (char const* name : {"drvesk.png", "drpild.png"})
    WritePicture(dir, name, refused, QImage::Format_RGBA64);
  Testing::ResetPeakResident();
  double const before = Testing::PeakResidentMegabytes();
  EXPECT_FALSE(Read(*painter, dir, score));
  EXPECT_EQ(painter->getLastErrorMessage(), QString::fromLatin1(RazidGetErrorString(-2)));
  EXPECT_LT(Testing::PeakResidentMegabytes() - before, refused * refused * 4.0 / (1 << 20) / 4)
      << "a picture was read";
}

}  // namespace
}  // namespace RazidQtTesting
