#include <array>
#include <string>
#include <utility>

#include "GRSpecial.h"
#include "engine_fixture.h"
#include "engine_globals.h"
#include "lib-razid-qt/GDeviceQt.h"

namespace RazidQtTesting {
namespace {

constexpr char kChord[] = "{ [ \\staff<1> \\clef<\"g2\"> \\stemsAuto { c1 , e1 , g1 } ] }";

using RazidPainterTest = EngineFixture;

TEST_F(RazidPainterTest, AFreshPainterHasOnePageOfAnyAspect) {
  Painter painter = NewPainter();
  EXPECT_EQ(painter->pageCount(), 1);
  EXPECT_EQ(painter->heightForWidth(1000, 1), 1000);
  EXPECT_EQ(painter->pageSizeMM(1), QSizeF(0, 0));
  painter->setSystemsDistance(0.5f);
  EXPECT_EQ(painter->getSystemsDistance(), 1.0f);
  // Nothing is drawn without a score.
  const QImage image = Draw(*painter, 1, {100, 100});
  EXPECT_EQ(Count(image, image.rect(), [](QRgb p) { return p != 0xffffffff; }), 0);
}

TEST_F(RazidPainterTest, AFailedScoreKeepsItsTextAndSaysWhere) {
  Painter painter = NewPainter();
  testing::internal::CaptureStdout();
  EXPECT_FALSE(painter->setRMNCode("{ [ c1 \n d1 ( ] }"));
  testing::internal::GetCapturedStdout();
  EXPECT_EQ(painter->rmnCode(), "{ [ c1 \n d1 ( ] }");
  EXPECT_EQ(painter->getLastErrorMessage(), "Parse error (line 2)");
  EXPECT_EQ(painter->pageCount(), 1);

  QTemporaryDir dir;
  const QString missing = dir.filePath("missing.rmn");
  EXPECT_FALSE(painter->setRMNFile(missing));
  EXPECT_EQ(painter->getLastErrorMessage(), "File error");
  EXPECT_EQ(painter->fileName(), missing);
  EXPECT_EQ(painter->rmnCode(), "");
}

// A painter's page format lays out its own score only; a missing page has no format.
TEST_F(RazidPainterTest, AScoreFromAFileIsLaidOutOnThePaintersFormat) {
  QTemporaryDir dir;
  Painter painter = NewPainter();
  painter->setResizePageToMusic(false);
  ASSERT_TRUE(painter->setRMNFile(WriteFile(dir, "chord.rmn", kChord)));
  EXPECT_EQ(painter->rmnCode(), kChord);
  EXPECT_EQ(painter->heightForWidth(1000, 1), 1414);  // A4
  EXPECT_NEAR(painter->pageSizeMM(1).width(), 210, 0.01);
  EXPECT_EQ(painter->heightForWidth(1000, 2), 1000);
  EXPECT_EQ(painter->pageSizeMM(2), QSizeF(0, 0));
  painter->setRazidPageFormat({6000, 1000, 20, 70, 20, 70});
  EXPECT_EQ(painter->heightForWidth(3000, 1), 500);
  RazidPageFormat engineDefault{};
  RazidGetDefaultPageFormat(&engineDefault);
  EXPECT_FLOAT_EQ(engineDefault.width, 4979.2324f);
}

TEST_F(RazidPainterTest, LayoutsHoldTheirScoresAndRefuseStaleHandles) {
  ARHandle ar = nullptr;
  GRHandle gr = nullptr;
  ASSERT_EQ(RazidParseString(kChord, &ar), 0);
  ASSERT_EQ(RazidAR2GR(ar, nullptr, &gr), 0);
  RazidFreeAR(ar);
  EXPECT_EQ(RazidMarkVoice(ar, 1, {0, 1}, {1, 4}), 0);  // alive through the layout
  EXPECT_EQ(RazidGetPageCount(gr), 1);
  RazidFreeGR(gr);

  EXPECT_EQ(RazidMarkVoice(ar, 1, {0, 1}, {1, 4}), -8);
  RazidDate date{7, 7};
  GRHandle none = nullptr;
  EXPECT_EQ(RazidAR2GR(ar, nullptr, &none), -8);
  EXPECT_EQ(none, nullptr);
  EXPECT_EQ((std::array{RazidGetPageCount(gr), RazidUpdateGR(gr, nullptr),
                        RazidResizePageToMusic(gr), RazidDuration(gr, &date)}),
            (std::array{0, -8, -8, -8}));
  EXPECT_EQ(date.denom, 1);
  RazidPageFormat format{1, 2, 3, 4, 5, 6};
  RazidGetPageFormat(gr, 1, &format);
  EXPECT_EQ(format.width + format.height + format.marginleft + format.marginbottom, 0);
  RazidFreeGR(gr);  // stale: frees nothing
}

// A device whose drawing cannot begin, recording that the engine still ends it.
class RefusingDevice : public GDeviceQt {
 public:
  RefusingDevice() : GDeviceQt(nullptr, nullptr) {}
  bool BeginDraw() override { return false; }
  void EndDraw() override { ++ended; }
  int ended = 0;
};

TEST_F(RazidPainterTest, DrawRequestsAreChecked) {
  Painter painter = QuestionPainter(kChord);
  RefusingDevice device;
  const GRHandle score = painter->grHandle();
  const struct {
    GRHandle handle;
    int page, height, result;
  } cases[] = {{score, 0, 100, -7}, {score, 1, 0, -7}, {nullptr, 1, 100, -8}, {score, 1, 100, -10}};
  for (auto const& c : cases) {
    RazidOnDrawDesc desc;
    desc.handle = c.handle, desc.hdc = &device, desc.page = c.page;
    desc.sizex = 100, desc.sizey = c.height;
    EXPECT_EQ(RazidOnDraw(&desc), c.result) << c.page << " " << c.height;
  }
  EXPECT_EQ(device.ended, 1);  // a drawing that could not begin is still ended
  EXPECT_EQ(RazidOnDraw(nullptr), -7);
  // An empty rectangle draws nothing.
  QImage image(10, 10, QImage::Format_ARGB32_Premultiplied);
  QPainter target(&image);
  painter->draw(&target, 1, QRect(), QRect());
  EXPECT_EQ(RazidMapGetRootElement(score, 1), nullptr);
}

// Accented titles and texts are read as UTF-8, or as Latin-1 where the bytes are not UTF-8: a
// score from a UTF-8 file, from a Latin-1 file and from the same text given directly draws the
// same, also once laid out again from the text the painter kept; characters beyond Latin-1 are
// not lost on the way.
TEST_F(RazidPainterTest, AccentedTextsAreReadAsUtf8OrElseLatin1) {
  const std::string utf8 =
      "[ \\title<\"F\xc3\xbcr \xc3\x89lise\"> \\text<\"\xc3\xa9t\xc3\xa9\">(c1/4) ]";
  const std::string latin1 = "[ \\title<\"F\xfcr \xc9lise\"> \\text<\"\xe9t\xe9\">(c1/4) ]";
  const QSize size{1200, 500};
  Painter given = QuestionPainter(QString::fromUtf8(utf8));
  const QImage expected = Draw(*given, 1, size);

  QTemporaryDir dir;
  for (auto [name, bytes] : {std::pair{"utf8.rmn", utf8}, {"latin1.rmn", latin1}}) {
    SCOPED_TRACE(name);
    Painter fromFile = QuestionPainter("[ c1/4 ]");
    ASSERT_TRUE(fromFile->setRMNFile(WriteFile(dir, name, bytes)));
    EXPECT_EQ(fromFile->rmnCode(), QString::fromUtf8(utf8));
    EXPECT_TRUE(Draw(*fromFile, 1, size) == expected);
    fromFile->setRazidPageFormat(fromFile->razidPageFormat());
    EXPECT_TRUE(Draw(*fromFile, 1, size) == expected);
  }

  Painter czech = QuestionPainter(QString::fromUtf8("[ \\title<\"Dvo\xc5\x99\xc3\xa1k\"> c1/4 ]"));
  Painter lost = QuestionPainter(QString::fromUtf8("[ \\title<\"Dvo?\xc3\xa1k\"> c1/4 ]"));
  EXPECT_FALSE(Draw(*czech, 1, size) == Draw(*lost, 1, size));
}

// The painter keeps the text the engine read from a UTF-16 or marked UTF-8 file, so laying the
// score out again, no longer shrunk to its music, gives the score of that text: every character
// of the title, the texts and the lyrics, one beyond the 16-bit range among them.
TEST_F(RazidPainterTest, AScoreFileKeepsTheTextTheEngineReadInEveryEncoding) {
  const std::string text =
      "[ \\title<\"Fr\xc3\xa8re Jacques\"> \\meter<\"3/4\">\n  \\text<\"\xe2\x80\xa2 "
      "\xf0\x9d\x84\x9e\">( c1/4 ) \\lyrics<\"Dor-mez \xc3\xa9t\xc3\xa9\">( d e f/2 ) ]\n";
  std::string le = "\xff\xfe", be = "\xfe\xff";
  for (const QChar c : QString::fromUtf8(text)) {
    const char low = static_cast<char>(c.unicode() & 0xff),
               high = static_cast<char>(c.unicode() >> 8);
    le += std::string{low, high}, be += std::string{high, low};
  }
  const QSize size{1200, 600};
  Painter given = NewPainter();
  ASSERT_TRUE(given->setRMNCode(QString::fromUtf8(text)));
  given->setResizePageToMusic(false);
  const QImage whole = Draw(*given, 1, size);
  QTemporaryDir dir;
  const std::pair<const char*, std::string> files[] = {
      {"utf8-mark.rmn", "\xef\xbb\xbf" + text}, {"utf16le.rmn", le}, {"utf16be.rmn", be}};
  for (auto const& [name, bytes] : files) {
    SCOPED_TRACE(name);
    Painter painter = NewPainter();
    ASSERT_TRUE(painter->setRMNFile(WriteFile(dir, name, bytes)));
    EXPECT_EQ(painter->rmnCode(), QString::fromUtf8(text));
    Draw(*painter, 1, size);
    painter->setResizePageToMusic(false);
    EXPECT_TRUE(Draw(*painter, 1, size) == whole);
  }
}

// Stopping lets go of the measuring device and the fonts made on it; starting again makes them
// afresh, and scores are laid out as before.
TEST_F(RazidPainterTest, TheEngineStopsCleanlyAndStartsAfresh) {
  const RazidPageFormat wide{3000, 1000, 20, 70, 20, 70};
  RazidSetDefaultPageFormat(&wide);
  QRazidPainter::stopRazidEngine();
  RazidPageFormat format{};
  RazidGetDefaultPageFormat(&format);
  EXPECT_FLOAT_EQ(format.width, 4979.2324f);
  EXPECT_FALSE(QRazidPainter::isRazidEngineStarted());
  EXPECT_EQ(gGlobalSettings.gDevice, nullptr);
  EXPECT_EQ(GRSpecial::CachedFontCount(), 0);
  EXPECT_EQ(QRazidPainter::createRazidPainter(), nullptr);
  QRazidPainter::startRazidEngine();
  EXPECT_NE(gGlobalSettings.gDevice, nullptr);
  Painter painter = QuestionPainter(kChord);
  EXPECT_EQ(painter->pageCount(), 1);
}

}  // namespace
}  // namespace RazidQtTesting
