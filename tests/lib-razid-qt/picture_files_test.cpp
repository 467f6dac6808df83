// Picture files beside a score are decoded only when their whole cost is known beforehand and
// within the layout's limit: the rest are warned of and left out, and the music is drawn without
// them, in little time and memory.
#include <QFile>
#include <QStringList>
#include <QTemporaryDir>
#include <chrono>
#include <string>
#include <utility>
#include <vector>

#include "engine_fixture.h"
#include "picture_files.h"
#include "support/named_pipes.h"
#include "support/patience.h"
#include "support/resident_memory.h"
#include "support/sanitizers.h"

namespace RazidQtTesting {
namespace {

using namespace PictureFiles;

constexpr char kNotReadable[] = "Picture not found or not readable";
constexpr char kTooLarge[] = "Picture too large for one layout - left out";

// The sanitizers slow drawing down a few times; ThreadSanitizer, which follows every byte the
// decoder reads, slows reading a large file the most.
constexpr double kMostSeconds =
    Testing::EndlessWorkSeconds * (Testing::UnderThreadSanitizer    ? 8
                                   : Testing::UnderAddressSanitizer ? 4
                                                                    : 1);
// Decoding any of the hostile pictures takes hundreds of megabytes.
constexpr double kMostMegabytes = 100;

// The files beside the score and the warning about drvesk, none when it is drawn. In an SVG, "@/"
// stands for the folder (Qt looks for a relative name in the current folder); a file of no bytes
// is a named pipe. A file named score.rmn takes the place of the score, and the warning about its
// text follows.
struct PictureCase {
  char const* what;
  std::vector<std::pair<char const*, QByteArray>> files;
  char const* warning;
  char const* scoreWarning = nullptr;
};

constexpr char kScore[] = "[ c \\DrVesk d \\DrPild<-1> e ]";

// The pieces in UTF-16, little-endian, each after its byte-order mark, as files joined end to end.
QByteArray Utf16Pieces(QStringList const& pieces) {
  QByteArray joined;
  for (QString const& piece : pieces) {
    QString const marked = QChar(0xFEFF) + piece;
    joined.append(reinterpret_cast<char const*>(marked.utf16()), marked.size() * 2);
  }
  return joined;
}

QString Image(QString const& href) {
  return QStringLiteral("<image width=\"10\" height=\"10\" xlink:href=\"%1\"/>").arg(href);
}

std::vector<PictureCase> Cases() {
  QImage const halves = Halves(61, 43);
  QImage large(4000, 4000, QImage::Format_RGB32);  // compresses to little
  large.fill(Qt::green);
  QByteArray const largePng = Written(large, "png");
  // Drawing 300 scans of its 16 million pixels takes seconds.
  QByteArray const manyScans = JpegWithScanRepeated(Halves(4000, 4000), 300);
  QByteArray const bigSvgz = Gzip(Svg(10, "<!--").chopped(6), ' ', 300 << 20, "--></svg>");
  QString path = "M0 0";
  for (int i = 0; i < 100000; ++i)
    path += QStringLiteral(" L%1 %2").arg(i * 37 % 100).arg(i * 91 % 100);
  return {
      // Drawn: the formats read, in the forms whose sizes are worked out differently.
      {"PNG, 16 bits a channel",
       {{"drvesk.png", Written(halves.convertToFormat(QImage::Format_RGBA64), "png")}},
       nullptr},
      {"PNG, one bit a pixel",
       {{"drvesk.png",
         Written(halves.convertToFormat(QImage::Format_Mono, {qRgb(0, 0, 255), qRgb(255, 0, 0)}),
                 "png")}},
       nullptr},
      {"PNG, interlaced", {{"drvesk.png", InterlacedPng(halves)}}, nullptr},
      {"progressive JPEG", {{"drvesk.jpg", Written(halves, "jpeg", true)}}, nullptr},
      {"BMP", {{"drvesk.bmp", Written(halves, "bmp")}}, nullptr},
      {"PPM without a suffix", {{"drvesk", Written(halves, "ppm")}}, nullptr},
      // Not decoded: what a file names, what it holds or how it is compressed is not bounded by
      // its header.
      {"SVG that shows itself", {{"drvesk.svg", Svg(10, Image("@/drvesk.svg"))}}, kNotReadable},
      {"SVGs that show each other",
       {{"drvesk.svg", Svg(10, Image("@/other.svg"))},
        {"other.svg", Svg(10, Image("@/drvesk.svg"))}},
       kNotReadable},
      {"SVG that shows a named pipe",
       {{"drvesk.svg", Svg(10, Image("@/pipe"))}, {"pipe", {}}},
       kNotReadable},
      {"SVG that shows a large PNG ten times",
       {{"large.png", largePng}, {"drvesk.svg", Svg(10, Image("@/large.png").repeated(10))}},
       kNotReadable},
      {"SVG holding four large PNGs",
       {{"drvesk.svg", Svg(10, Image("data:image/png;base64," + largePng.toBase64()).repeated(4))}},
       kNotReadable},
      {"SVG of 20,000 translucent rectangles",
       {{"drvesk.svg",
         Svg(2000, "<g fill=\"red\" fill-opacity=\"0.01\">" +
                       QString("<rect width=\"2000\" height=\"2000\"/>").repeated(20000) +
                       "</g>")}},
       kNotReadable},
      {"SVG of a thick dashed path of 100,000 segments",
       {{"drvesk.svg",
         Svg(100, "<path d=\"" + path +
                      "\" stroke=\"red\" stroke-width=\"5\" stroke-dasharray=\"1 1\"/>")}},
       kNotReadable},
      {"SVGZ that expands to 300 MB", {{"drvesk.svgz", bigSvgz}}, kNotReadable},
      {"SVGZ under a PNG's name", {{"drvesk.png", bigSvgz}}, kNotReadable},
      {"icon that says 1 x 1 and holds a large PNG",
       {{"drvesk.ico", IconHolding(largePng)}},
       kNotReadable},
      {"PNG of 1 x 1 whose data go on for 256 MB",
       {{"drvesk.png", PngWithMoreData(qint64(256) << 20)}},
       kNotReadable},
      // Known, but beyond what the layout takes beside the music.
      {"progressive JPEG whose last scan comes 1,000 times",
       {{"drvesk.jpg", JpegWithScanRepeated(Halves(600, 400), 1000)}},
       kTooLarge},
      {"photograph of 6000 x 4000",
       {{"drvesk.jpg", Written(Halves(6000, 4000), "jpeg")}},
       kTooLarge},
      {"PNG of 4230 x 4230 at 16 bits a channel, beyond what the decoder holds",
       {{"drvesk.png", BlackPngOf16Bits(4230)}},
       kTooLarge},
      // Segments whose length does not cover itself, which decoders step over in their own ways.
      {"progressive JPEG whose scans follow an application segment of length 0",
       {{"drvesk.jpg", JpegWithBeforeScans(manyScans, QByteArray("\xFF\xEF\0\0", 4))}},
       kNotReadable},
      {"progressive JPEG whose scans follow a comment of length 1",
       {{"drvesk.jpg", JpegWithBeforeScans(manyScans, QByteArray("\xFF\xFE\0\x01", 4))}},
       kNotReadable},
      // Drawn, without what the decoder need not read.
      {"JPEG after 60 MB of comments",
       {{"drvesk.jpg", JpegWithComments(Written(halves, "jpeg"), qint64(60) << 20)}},
       nullptr},
      {"plain pixmap after 60 MB of blanks",
       {{"drvesk", PlainPixmapAfterBlanks(60 << 20)}},
       nullptr},
      // Scores in UTF-16, a byte-order mark inside the text parting tokens as a blank does.
      {"UTF-16 score joined from pieces, a mark on every line",
       {{"drvesk.png", Written(halves, "png")},
        {"score.rmn", Utf16Pieces({"[ c \\DrVesk\n", "d \\DrPild<-1>\n", "e ]\n"})}},
       nullptr},
      {"UTF-16 score with a mark between notes",
       {{"drvesk.png", Written(halves, "png")},
        {"score.rmn",
         Utf16Pieces({QString(kScore).replace(" d ", QString(QChar(0xFEFF)) + "d ")})}},
       nullptr},
      {"UTF-16 score ending in a stray byte",
       {{"drvesk.png", Written(halves, "png")}, {"score.rmn", Utf16Pieces({kScore}) + "\n"}},
       nullptr,
       "Stray last byte of a UTF-16 file left out"},
  };
}

class PictureFilesTest : public EngineFixture {
 protected:
  // The score read from its file in the folder and drawn, and what was warned.
  static QImage DrawScore(QTemporaryDir const& dir, std::string* warnings) {
    Painter painter = NewPainter();
    testing::internal::CaptureStderr();
    QString const score = dir.filePath("score.rmn");
    if (!QFile::exists(score)) WriteFile(dir, "score.rmn", kScore);
    EXPECT_TRUE(painter->setRMNFile(score)) << painter->getLastErrorMessage().toStdString();
    QImage page = Draw(*painter, 1, {1000, painter->heightForWidth(1000, 1)});
    *warnings = testing::internal::GetCapturedStderr();
    return page;
  }
};

TEST_F(PictureFilesTest, EachIsDrawnOrLeftOutWithinItsBound) {
  std::string warnings;
  DrawScore(QTemporaryDir(), &warnings);  // fonts and caches come on the first drawing
  for (PictureCase const& picture : Cases()) {
    SCOPED_TRACE(picture.what);
    QTemporaryDir dir;
    // A pipe that is read waits for a writer: the watchdog lets it go and says so.
    Testing::NamedPipes pipes(Testing::PatienceMs / 1000);
    for (auto [name, bytes] : picture.files) {
      if (bytes.isNull()) {
        ASSERT_TRUE(pipes.Make(dir.filePath(name)));
        continue;
      }
      if (QString(name).endsWith(".svg")) bytes.replace("@/", (dir.path() + "/").toUtf8());
      WriteFile(dir, name, bytes.toStdString());
    }
    Testing::ResetPeakResident();
    double const before = Testing::PeakResidentMegabytes();
    auto const start = std::chrono::steady_clock::now();
    QImage const page = DrawScore(dir, &warnings);
    std::chrono::duration<double> const spent = std::chrono::steady_clock::now() - start;
    EXPECT_TRUE(pipes.Release()) << "the score waited for a pipe's writer";
    EXPECT_LT(spent.count(), kMostSeconds);
    // Under a sanitizer, resident memory counts its shadow of every byte read.
    if (!Testing::UnderAddressSanitizer && !Testing::UnderThreadSanitizer) {
      EXPECT_LT(Testing::PeakResidentMegabytes() - before, kMostMegabytes);
    }

    EXPECT_GT(Count(page, page.rect(), Dark), 0) << "no music";
    // Near the colours: JPEG and scaling move them a little.
    int const blue = Count(page, page.rect(), [](QRgb c) { return qBlue(c) - qRed(c) > 200; });
    int const red = Count(page, page.rect(), [](QRgb c) { return qRed(c) - qBlue(c) > 200; });
    int const coloured = Count(
        page, page.rect(), [](QRgb c) { return qRed(c) != qGreen(c) || qGreen(c) != qBlue(c); });
    std::string const path = dir.filePath("drvesk").toStdString();
    if (picture.scoreWarning) {
      std::string const warning = "Razid Warning: " + std::string(picture.scoreWarning);
      EXPECT_NE(warnings.find(warning), std::string::npos) << warnings;
    }
    if (!picture.warning) {
      EXPECT_EQ(warnings.find(path), std::string::npos) << warnings;
      EXPECT_GT(blue, 0);
      EXPECT_GT(red, 0);
      continue;
    }
    std::string const warning = "Razid Warning: " + std::string(picture.warning) + ": " + path;
    EXPECT_NE(warnings.find(warning), std::string::npos) << warnings;
    EXPECT_EQ(warnings.find(warning), warnings.rfind(warning)) << warnings;
    EXPECT_EQ(coloured, 0) << "more than the music's greys";
  }
}

}  // namespace
}  // namespace RazidQtTesting
