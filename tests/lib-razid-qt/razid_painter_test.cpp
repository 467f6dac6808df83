#include <QTemporaryDir>

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
  EXPECT_FALSE(painter->isRMNValid());
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

TEST_F(RazidPainterTest, AScoreFromAFileIsLaidOutOnItsPageFormat) {
  QTemporaryDir dir;
  QFile file(dir.filePath("chord.rmn"));
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write(kChord);
  file.close();
  Painter painter = NewPainter();
  painter->setResizePageToMusic(false);
  ASSERT_TRUE(painter->setRMNFile(file.fileName()));
  EXPECT_EQ(painter->rmnCode(), kChord);
  EXPECT_EQ(painter->pageCount(), 1);
  EXPECT_EQ(painter->heightForWidth(1000, 1), 1414);  // A4
  EXPECT_NEAR(painter->pageSizeMM(1).width(), 210, 0.01);
  // A missing page has no format: the width is kept.
  EXPECT_EQ(painter->heightForWidth(1000, 2), 1000);
  EXPECT_EQ(painter->pageSizeMM(2), QSizeF(0, 0));
}

// The page formats and settings of painters apply to their own scores only.
TEST_F(RazidPainterTest, PainterFormatsDoNotLeakIntoTheEngine) {
  Painter question = QuestionPainter(kChord);
  RazidPageFormat format{};
  RazidGetDefaultPageFormat(&format);
  EXPECT_FLOAT_EQ(format.width, 4979.2324f);
  EXPECT_EQ(question->heightForWidth(3000, 1), 1000);
  question->setRazidPageFormat({6000, 1000, 20, 70, 20, 70});
  EXPECT_EQ(question->heightForWidth(3000, 1), 500);
}

TEST_F(RazidPainterTest, LayoutsHoldTheirScoresAndRefuseStaleHandles) {
  ARHandle ar = nullptr;
  GRHandle gr = nullptr;
  ASSERT_EQ(RazidParseString(kChord, &ar), 0);
  ASSERT_EQ(RazidAR2GR(ar, nullptr, &gr), 0);
  RazidFreeAR(ar);
  RazidMarkVoice(ar, 1, {0, 1}, {1, 4});  // still alive through the layout
  EXPECT_EQ(RazidGetPageCount(gr), 1);
  RazidDate date{7, 7};
  EXPECT_EQ(RazidGetPageDate(gr, 1, &date), 0);
  EXPECT_EQ(date.num, 0);
  RazidFreeGR(gr);

  EXPECT_EQ(RazidMarkVoice(ar, 1, {0, 1}, {1, 4}), -8);
  GRHandle none = nullptr;
  EXPECT_EQ(RazidAR2GR(ar, nullptr, &none), -8);
  EXPECT_EQ(none, nullptr);
  EXPECT_EQ(RazidGetPageCount(gr), 0);
  EXPECT_EQ(RazidUpdateGR(gr, nullptr), -8);
  EXPECT_EQ(RazidResizePageToMusic(gr), -8);
  EXPECT_EQ(RazidDuration(gr, &date), -8);
  EXPECT_EQ(date.denom, 1);
  RazidPageFormat format{1, 2, 3, 4, 5, 6};
  RazidGetPageFormat(gr, 1, &format);
  EXPECT_EQ(format.width + format.height + format.marginleft + format.marginbottom, 0);
  EXPECT_EQ(RazidMapGetRootElement(gr, 1), nullptr);
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
  RazidOnDrawDesc desc;
  desc.handle = painter->grHandle();
  desc.hdc = &device;
  desc.sizex = 100;
  desc.sizey = 100;
  desc.page = 0;
  EXPECT_EQ(RazidOnDraw(&desc), -7);
  desc.page = 1;
  desc.sizey = 0;
  EXPECT_EQ(RazidOnDraw(&desc), -7);
  desc.sizey = 100;
  EXPECT_EQ(RazidOnDraw(&desc), -10);
  EXPECT_EQ(device.ended, 1);
  desc.handle = nullptr;
  EXPECT_EQ(RazidOnDraw(&desc), -8);
  EXPECT_EQ(RazidOnDraw(nullptr), -7);
  // An empty rectangle draws nothing.
  QImage image(10, 10, QImage::Format_ARGB32_Premultiplied);
  QPainter target(&image);
  painter->draw(&target, 1, QRect(), QRect());
  EXPECT_EQ(RazidMapGetRootElement(painter->grHandle(), 1), nullptr);
}

// Stopping lets go of the measuring device and the fonts made on it; starting again makes them
// afresh, and scores are laid out as before.
TEST_F(RazidPainterTest, TheEngineStopsCleanlyAndStartsAfresh) {
  QRazidPainter::stopRazidEngine();
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
