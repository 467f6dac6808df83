// The two picture marks of a score read from a file show the pictures of their names found
// beside the score, as high as the staff, the second mirrored where the score asks; a missing or
// unreadable picture is warned of and draws nothing.
#include <QColor>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <algorithm>
#include <string>
#include <tuple>

#include "engine_fixture.h"
#include "support/named_pipes.h"
#include "support/patience.h"

namespace RazidQtTesting {
namespace {

class PictureMarksTest : public EngineFixture {
 protected:
  // The score read from its file in the folder and drawn 1000 pixels wide; what was warned.
  QImage DrawScoreIn(QTemporaryDir const& dir, std::string* warnings) {
    Painter painter = NewPainter();
    testing::internal::CaptureStderr();
    EXPECT_TRUE(painter->setRMNFile(WriteFile(
        dir, "pictures.rmn", "[ \\meter<\"4/4\"> c2/4 \\DrVesk d2 \\DrPild<-1> e2 f2 ]")));
    QImage const image = Draw(*painter, 1, {1000, painter->heightForWidth(1000, 1)});
    *warnings = testing::internal::GetCapturedStderr();
    return image;
  }
};

QRect Where(QImage const& image, QColor colour) {
  QRect found;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x)
      if (image.pixelColor(x, y) == colour) found |= QRect(x, y, 1, 1);
  return found;
}

TEST_F(PictureMarksTest, PicturesBesideTheScoreAreShownAndMissingOnesWarnedOf) {
  QTemporaryDir dir;
  for (auto const& [name, left, right] : {std::tuple{"drvesk.png", Qt::red, Qt::blue},
                                          std::tuple{"drpild.png", Qt::green, Qt::magenta}}) {
    QImage picture(40, 30, QImage::Format_ARGB32);
    picture.fill(right);
    QPainter(&picture).fillRect(0, 0, 20, 30, left);
    ASSERT_TRUE(picture.save(dir.filePath(name), "PNG"));
  }
  std::string warnings;
  QImage const image = DrawScoreIn(dir, &warnings);
  EXPECT_EQ(warnings, "");
  QRect const red = Where(image, Qt::red), blue = Where(image, Qt::blue);
  QRect const green = Where(image, Qt::green), magenta = Where(image, Qt::magenta);
  for (QRect const& half : {red, blue, green, magenta}) ASSERT_FALSE(half.isEmpty());
  // The first as it is, the second mirrored after it, both as high as the staff lines just
  // before them and in the pictures' proportions.
  EXPECT_TRUE(red.right() < blue.left() && blue.right() < magenta.left() &&
              magenta.right() < green.left());
  QRect const vesk = red | blue;
  EXPECT_EQ(vesk.top(), (green | magenta).top());
  EXPECT_EQ(vesk.height(), (green | magenta).height());
  EXPECT_NEAR(double(vesk.width()) / vesk.height(), 40.0 / 30.0, 0.1);
  int top = image.height(), bottom = -1;
  for (int y = 0; y < image.height(); ++y)
    if (image.pixel(red.left() - 2, y) != qRgb(255, 255, 255))
      top = std::min(top, y), bottom = std::max(bottom, y);
  EXPECT_NEAR(vesk.top(), top, 3);
  EXPECT_NEAR(vesk.height(), bottom - top + 1, 0.1 * (bottom - top));

  QFile::remove(dir.filePath("drvesk.png"));
  WriteFile(dir, "drpild.png", "not a picture");
  QImage const music = DrawScoreIn(dir, &warnings);
  for (char const* name : {"drvesk", "drpild"})
    EXPECT_NE(warnings.find("Razid Warning: Picture not found or not readable: " +
                            dir.filePath(name).toStdString() + "\n"),
              std::string::npos)
        << warnings;
  EXPECT_EQ(Count(music, music.rect(),
                  [](QRgb c) { return qRed(c) != qGreen(c) || qGreen(c) != qBlue(c); }),
            0)
      << "more than the music's greys";
}

// A picture is read only from a regular file: a pipe may wait for ever for a writer (the
// watchdog lets it go and says so) and a device never end, so they stand for missing pictures.
TEST_F(PictureMarksTest, WhatIsNoRegularFileIsWarnedOfAndNeverRead) {
  enum Kind { Pipe, LinkToPipe, LinkToDevice, Folder };
  std::tuple<Kind, char const*, char const*> const cases[] = {{Pipe, "drvesk", "drvesk"},
                                                              {Pipe, "drpild", "drpild.png"},
                                                              {LinkToPipe, "drvesk", "drvesk.gif"},
                                                              {LinkToDevice, "drpild", "drpild"},
                                                              {Folder, "drvesk", "drvesk.png"}};
  for (auto const& [kind, name, file] : cases) {
    SCOPED_TRACE(file);
    QTemporaryDir dir;
    Testing::NamedPipes pipes(Testing::PatienceMs / 1000);
    QString const path = dir.filePath(file), elsewhere = dir.filePath("elsewhere");
    ASSERT_TRUE(kind == Pipe           ? pipes.Make(path)
                : kind == LinkToPipe   ? pipes.Make(elsewhere) && QFile::link(elsewhere, path)
                : kind == LinkToDevice ? QFile::link("/dev/zero", path)
                                       : QDir().mkdir(path));
    std::string warnings;
    DrawScoreIn(dir, &warnings);
    EXPECT_TRUE(pipes.Release()) << "the score waited for a pipe's writer";
    EXPECT_NE(warnings.find("Razid Warning: Picture not found or not readable: " +
                            dir.filePath(name).toStdString() + "\n"),
              std::string::npos)
        << warnings;
  }
}

}  // namespace
}  // namespace RazidQtTesting
