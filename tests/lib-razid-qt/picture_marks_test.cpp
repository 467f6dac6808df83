// The two picture marks of a score read from a file show the pictures of their names found
// beside the score, drawn as high as the staff, the second one mirrored where the score asks.
#include <QColor>
#include <QImage>
#include <QTemporaryDir>
#include <algorithm>
#include <string>

#include "engine_fixture.h"

namespace RazidQtTesting {
namespace {

constexpr char kScore[] = "[ \\meter<\"4/4\"> c2/4 \\DrVesk d2 \\DrPild<-1> e2 f2 ]";

class PictureMarksTest : public EngineFixture {
 protected:
  // A picture of two halves, 40 by 30 pixels.
  static void WritePicture(QString const& path, QColor left, QColor right) {
    QImage picture(40, 30, QImage::Format_ARGB32);
    for (int y = 0; y < picture.height(); ++y)
      for (int x = 0; x < picture.width(); ++x)
        picture.setPixelColor(x, y, x < picture.width() / 2 ? left : right);
    ASSERT_TRUE(picture.save(path, "PNG"));
  }

  // The score read from its file in dir and drawn 1000 pixels wide; what the engine warned.
  QImage DrawScoreIn(QTemporaryDir const& dir, std::string* warnings) {
    Painter painter = NewPainter();
    testing::internal::CaptureStderr();
    bool const read = painter->setRMNFile(WriteFile(dir, "pictures.rmn", kScore));
    QImage const image = Draw(*painter, 1, {1000, painter->heightForWidth(1000, 1)});
    *warnings = testing::internal::GetCapturedStderr();
    EXPECT_TRUE(read);
    return image;
  }

  // The columns and rows where pixels of the colour lie.
  static QRect Where(QImage const& image, QColor colour) {
    QRect found;
    for (int y = 0; y < image.height(); ++y)
      for (int x = 0; x < image.width(); ++x)
        if (image.pixelColor(x, y) == colour) found |= QRect(x, y, 1, 1);
    return found;
  }
};

TEST_F(PictureMarksTest, PicturesBesideTheScoreAreShownAsHighAsTheStaff) {
  QTemporaryDir dir;
  WritePicture(dir.filePath("drvesk.png"), Qt::red, Qt::blue);
  WritePicture(dir.filePath("drpild.png"), Qt::green, Qt::magenta);
  std::string warnings;
  QImage const image = DrawScoreIn(dir, &warnings);
  EXPECT_EQ(warnings, "");

  QRect const red = Where(image, Qt::red), blue = Where(image, Qt::blue);
  QRect const green = Where(image, Qt::green), magenta = Where(image, Qt::magenta);
  for (QRect const& half : {red, blue, green, magenta}) ASSERT_FALSE(half.isEmpty());
  // The first as it is, the second mirrored, one after the other.
  EXPECT_LT(red.right(), blue.left());
  EXPECT_LT(magenta.right(), green.left());
  EXPECT_LT(blue.right(), magenta.left());
  // Each keeps its proportions at the height of the staff: four line spaces, 200 units.
  QRect const vesk = red | blue;
  EXPECT_NEAR(double(vesk.width()) / vesk.height(), 40.0 / 30.0, 0.1);
  EXPECT_EQ(vesk.top(), (green | magenta).top());
  EXPECT_EQ(vesk.height(), (green | magenta).height());
  // The staff lines just before the first picture span its height.
  int const x = red.left() - 2;
  int top = image.height(), bottom = -1;
  for (int y = 0; y < image.height(); ++y)
    if (image.pixel(x, y) != qRgb(255, 255, 255))
      top = std::min(top, y), bottom = std::max(bottom, y);
  // (The lines' own width lies outside the picture.)
  EXPECT_NEAR(vesk.top(), top, 3);
  EXPECT_NEAR(vesk.height(), bottom - top + 1, 0.1 * (bottom - top));
}

TEST_F(PictureMarksTest, AMissingOrUnreadablePictureIsWarnedOfAndNotDrawn) {
  QTemporaryDir dir;
  // No drvesk picture; the drpild one is no picture at all.
  WriteFile(dir, "drpild.png", "not a picture");
  std::string warnings;
  QImage const image = DrawScoreIn(dir, &warnings);
  EXPECT_NE(warnings.find("Razid Warning: Picture not found or not readable: " +
                          dir.filePath("drvesk").toStdString() + "\n"),
            std::string::npos)
      << warnings;
  EXPECT_NE(warnings.find("Razid Warning: Picture not found or not readable: " +
                          dir.filePath("drpild").toStdString() + "\n"),
            std::string::npos)
      << warnings;
  // Only the music is drawn: nothing but greys.
  EXPECT_EQ(Count(image, image.rect(),
                  [](QRgb pixel) {
                    return qRed(pixel) != qGreen(pixel) || qGreen(pixel) != qBlue(pixel);
                  }),
            0);
}

}  // namespace
}  // namespace RazidQtTesting
