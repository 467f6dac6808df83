#include <functional>
#include <limits>

#include "image_device_fixture.h"

namespace RazidQtTesting {
namespace {

constexpr VGColor kRed{255, 0, 0};
constexpr VGColor kBlue{0, 0, 255};

TEST_F(ImageDevice, StartsBlackOnWhiteAtTheBaselineWithItsOwnFonts) {
  EXPECT_EQ(device->GetNativeContext(), &painter);
  EXPECT_EQ(device->GetFontColor(), kOpaqueBlack);
  EXPECT_EQ(device->GetFontAlign(), 17u);
  EXPECT_EQ(painter.backgroundMode(), Qt::TransparentMode);
  EXPECT_EQ(painter.pen().color(), QColor(Qt::black));
  EXPECT_EQ(painter.brush().color(), QColor(Qt::white));
  EXPECT_EQ(device->GetDPITag(), -1.0f);
  EXPECT_STREQ(device->GetTextFont()->GetName(), "Arial");
  EXPECT_STREQ(device->GetMusicFont()->GetName(), "Razid2");
}

// The pen position is kept in whole units, so each side starts at the truncated end of the last.
TEST_F(ImageDevice, FrameClosesOnItsFirstCornerAtWholeUnits) {
  device->Frame(10.9f, 20.9f, 60.5f, 50.5f);
  EXPECT_GT(Ink(QRect(12, 20, 46, 1)) + Ink(QRect(12, 50, 46, 1)), 80);  // top and bottom
  EXPECT_GT(Ink(QRect(60, 22, 1, 26)), 20);                              // right
  EXPECT_EQ(Ink(QRect(10, 21, 1, 28)), 28);                              // left, back to (10, 20)
  EXPECT_EQ(Ink(QRect(12, 22, 46, 26)) + Ink(QRect(0, 0, 200, 19)), 0);
}

// Straight lines on pixels are filled as the rectangles they cover: the pixels must stay those
// of Qt's own stroke, at any scale and with translucent pens.
TEST_F(ImageDevice, StraightLinesCoverTheStrokesPixels) {
  QImage stroked = image;
  QPainter reference(&stroked);
  for (QPainter* target : {&painter, &reference}) {
    target->setRenderHint(QPainter::Antialiasing);
    target->scale(0.7, 0.7);
  }
  device->SelectPen(VGColor(0, 0, 0, 122), 3.5f);
  reference.setPen(painter.pen());
  const QLineF lines[] = {{10, 20, 250, 20}, {250, 31, 10, 31}, {40, 50, 40, 270}, {60, 9, 60, 9}};
  for (const QLineF& line : lines) {
    device->Line(line.x1(), line.y1(), line.x2(), line.y2());
    reference.drawLine(line);
  }
  reference.end();
  painter.end();
  int largest = 0;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x)
      largest = std::max(largest, std::abs(qGray(image.pixel(x, y)) - qGray(stroked.pixel(x, y))));
  EXPECT_LE(largest, 2);
  EXPECT_GT(Ink(image.rect()), 300);
}

// A tall translucent line is filled in bands of rows, so that Qt keeps the fill on this thread;
// every pixel must come out as one fill of the whole line gives it, with the painter left
// unclipped, and inside a clip of the caller's as well.
TEST_F(ImageDevice, TallLinesFilledInBandsKeepEveryPixelOfOneFill) {
  for (const bool clipped : {false, true}) {
    SCOPED_TRACE(clipped ? "clipped" : "unclipped");
    QImage banded(120, 600, QImage::Format_ARGB32_Premultiplied);
    QImage whole = banded;
    banded.fill(Qt::white);
    whole.fill(Qt::white);
    QPainter target(&banded);
    QPainter reference(&whole);
    for (QPainter* each : {&target, &reference}) {
      each->setRenderHint(QPainter::Antialiasing);
      if (clipped) each->setClipRect(QRect(0, 33, 120, 500));
      each->translate(0.3, 7.6);
      each->scale(0.37, 0.37);
    }
    GSystemQt bandSystem(&target);
    std::unique_ptr<VGDevice> bands(bandSystem.CreateDisplayDevice());
    // A line starts at the pen's position, kept in whole units: from y 12 to 1481.7.
    const int xs[] = {20, 101, 188};
    for (int i = 0; i < 3; ++i) {
      bands->SelectPen(VGColor(0, 0, i == 2 ? 200 : 0, i == 1 ? 255 : 122), 4.5f + i);
      bands->Line(xs[i], 12.2f, xs[i], 1481.7f);
      const qreal half = (4.5 + i) / 2;
      reference.fillRect(QRectF(QPointF(xs[i], 12), QPointF(xs[i], 1481.7f))
                             .normalized()
                             .adjusted(-half, -half, half, half),
                         QColor(0, 0, i == 2 ? 200 : 0, i == 1 ? 255 : 122));
    }
    EXPECT_EQ(target.hasClipping(), clipped);
    target.end();
    reference.end();
    EXPECT_TRUE(banded == whole);
    EXPECT_NE(banded.pixel(8, 300), qRgb(255, 255, 255));
  }
}

TEST_F(ImageDevice, ShapesAreFilledOddEvenWithTheBrushAndNeverOutlined) {
  device->SelectPen(kBlue, 4.0f);
  device->SelectFillColor(kRed);
  device->Rectangle(20.7f, 20.7f, 60.2f, 60.2f);           // (20, 20) sized 40 x 40
  const float xs[] = {100, 135.3f, 43.1f, 156.9f, 64.7f};  // a five-pointed star
  const float ys[] = {40, 148.5f, 81.5f, 81.5f, 148.5f};
  device->Polygon(xs, ys, 5);
  device->Polygon(xs, ys, 0);
  device->Triangle(150, 150, 190, 150, 170, 190);
  EXPECT_EQ(painter.pen().color(), QColor(Qt::blue));
  // Qt fills an aliased 40 x 40 rectangle as 39 x 39 pixels from its corner.
  EXPECT_EQ(PixelsOf(QRect(0, 0, 70, 70), qRgb(255, 0, 0)), 39 * 39);
  EXPECT_EQ(PixelsOf(image.rect(), qRgb(0, 0, 255)), 0);
  EXPECT_EQ(Ink(QRect(98, 100, 4, 4)), 0);  // the star's middle is a hole
  EXPECT_EQ(PixelsOf(QRect(98, 50, 4, 4), qRgb(255, 0, 0)), 16);
  EXPECT_EQ(PixelsOf(QRect(168, 160, 4, 4), qRgb(255, 0, 0)), 16);
}

TEST_F(ImageDevice, EndDrawRestoresTheDeviceAndThePainterTogether) {
  const VGFont* music = device->GetMusicFont();
  device->MoveTo(10, 10);
  device->BeginDraw();
  device->SetFontColor(kBlue);
  device->SetFontAlign(8);
  device->SetMusicFont(nullptr);
  device->MoveTo(150, 150);
  device->PushPen(kRed, 3.0f);
  device->PushFillColor(kBlue);
  device->SetScale(2, 2);
  device->PopFillColor();
  EXPECT_EQ(painter.brush().color(), QColor(Qt::white));
  EXPECT_EQ(painter.pen().color(), QColor(Qt::red));
  device->PopPen();
  device->EndDraw();
  EXPECT_EQ(painter.pen().color(), QColor(Qt::black));
  EXPECT_EQ(device->GetFontColor(), kOpaqueBlack);
  EXPECT_EQ(device->GetFontAlign(), 17u);
  EXPECT_EQ(device->GetMusicFont(), music);
  EXPECT_EQ(device->GetXScale(), 1.0f);
  device->LineTo(10, 40);  // from the pen position saved by BeginDraw
  EXPECT_GE(Ink(QRect(10, 10, 1, 31)), 30);
  EXPECT_EQ(Ink(image.rect()), Ink(QRect(10, 10, 1, 31)));
}

TEST_F(ImageDevice, ScaleMultipliesAndOriginIsTheTranslationInLogicalUnits) {
  device->SetScale(2, 2);
  device->SetScale(0.5f, 1);
  device->OffsetOrigin(10, 5);
  device->OffsetOrigin(10, 5);
  device->SetOrigin(100, 100);
  EXPECT_EQ(device->GetXScale(), 1.0f);
  EXPECT_EQ(device->GetYScale(), 2.0f);
  EXPECT_EQ(device->GetXOrigin(), 20.0f);  // dx 20 at scale 1
  EXPECT_EQ(device->GetYOrigin(), 10.0f);  // dy 20 at scale 2
  float x = 7.5f, y = -3.25f;
  device->LogicalToDevice(&x, &y);
  EXPECT_FLOAT_EQ(y, -6.5f - 10);
  device->DeviceToLogical(&x, &y);
  EXPECT_FLOAT_EQ(x, 7.5f);
  EXPECT_FLOAT_EQ(y, -3.25f);
  device->SelectFillColor(kRed);
  device->Rectangle(0, 0, 10, 10);  // device (20, 20) to (30, 40)
  device->NotifySize(120, 80);
  EXPECT_EQ(painter.viewport(), QRect(20, 10, 120, 80));
  EXPECT_EQ(device->GetWidth() + device->GetHeight(), 200);
  EXPECT_GE(PixelsOf(QRect(20, 20, 10, 20), qRgb(255, 0, 0)), 9 * 19);
  EXPECT_EQ(Ink(image.rect()), Ink(QRect(20, 20, 10, 20)));
}

TEST_F(ImageDevice, ArcRunsCounterClockwiseAndADegenerateOneDrawsNothing) {
  device->Arc(20, 20, 180, 180, 180, 100, 100, 20);   // from 0 degrees (right) to 90 (up)
  device->Arc(20, 20, 180, 180, 100, 180, 100, 190);  // one direction: an empty span
  device->Arc(20, 20, 20, 180, 180, 100, 100, 20);    // no width
  EXPECT_GT(Ink(QRect(100, 15, 85, 85)), 100);
  EXPECT_EQ(Ink(QRect(0, 102, 200, 98)) + Ink(QRect(0, 0, 98, 102)), 0);
}

// Coordinates of a layout gone wrong must not reach an int conversion that is undefined.
TEST_F(ImageDevice, CoordinatesNoIntHoldsAreClampedNotConverted) {
  constexpr float nan = std::numeric_limits<float>::quiet_NaN();
  constexpr float inf = std::numeric_limits<float>::infinity();
  device->MoveTo(nan, inf);
  device->LineTo(1e30f, -1e30f);
  device->Rectangle(-1e30f, nan, 1e30f, inf);
  device->Arc(-1e30f, -1e30f, 1e30f, 1e30f, nan, 0, inf, 0);
  device->SetScale(0, 0);
  device->NotifySize(10, 10);
  device->DrawString(nan, inf, "x", 1);
  EXPECT_EQ(device->GetXOrigin(), 0.0f);
}

TEST_F(ImageDevice, RasterModesMapToCompositionModesBothWays) {
  using C = QPainter::CompositionMode;
  const std::tuple<VGDevice::VRasterOpMode, C, VGDevice::VRasterOpMode> rows[] = {
      {VGDevice::kOpCopy, C::CompositionMode_SourceOver, VGDevice::kOpCopy},
      {VGDevice::kOpAnd, C::CompositionMode_Darken, VGDevice::kOpAnd},
      {VGDevice::kOpXOr, C::CompositionMode_Difference, VGDevice::kOpXOr},
      {VGDevice::kOpInvert, C::CompositionMode_Clear, VGDevice::kOpInvert},
      {VGDevice::kOpOr, C::CompositionMode_Lighten, VGDevice::kOpOr},
      {VGDevice::kUnknown, C::CompositionMode_SourceOver, VGDevice::kOpCopy}};
  for (auto [mode, composition, readBack] : rows) {
    testing::internal::CaptureStdout();
    device->SetRasterOpMode(mode);
    const bool reported = testing::internal::GetCapturedStdout().find(
                              "(kOpInvert) : not supported") != std::string::npos;
    EXPECT_EQ(painter.compositionMode(), composition) << mode;
    EXPECT_EQ(device->GetRasterOpMode(), readBack) << mode;
    EXPECT_EQ(reported, mode == VGDevice::kOpInvert) << mode;
  }
  painter.setCompositionMode(QPainter::CompositionMode_Multiply);
  EXPECT_EQ(device->GetRasterOpMode(), VGDevice::kUnknown);
}

// A head of a 40 px font is 12 px wide and 10 px high around the baseline.
TEST_F(ImageDevice, SymbolsAreDrawnInTheFontColourWhereTheAlignmentPutsThem) {
  const std::pair<unsigned int, QRect> rows[] = {
      {VGDevice::kAlignBase | VGDevice::kAlignLeft, QRect(49, 90, 14, 20)},
      {VGDevice::kAlignBase | VGDevice::kAlignCenter, QRect(43, 90, 14, 20)},
      {VGDevice::kAlignBase | VGDevice::kAlignRight, QRect(37, 90, 14, 20)},
      {VGDevice::kAlignTop | VGDevice::kAlignLeft, QRect(50, 101, 13, 99)},
      {VGDevice::kAlignBottom | VGDevice::kAlignLeft, QRect(50, 0, 13, 100)}};
  for (auto [align, inked] : rows) {
    if (!painter.isActive()) image.fill(Qt::white), painter.begin(&image);
    UseMusicFont(40);
    device->SetFontColor(kRed);
    device->SetFontAlign(align);
    device->DrawMusicSymbol(50.9f, 100.9f, 88);
    EXPECT_EQ(painter.pen().color(), QColor(Qt::black));
    const int all = Ink(image.rect());
    EXPECT_GT(PixelsOf(inked, qRgb(255, 0, 0)), 40) << align;
    EXPECT_EQ(Ink(inked), all) << align;
  }
}

// With an opaque font background the symbol is drawn as text, over its background box.
// The device keeps the last images it drew: the same symbol again in another colour, at another
// scale or in another font of the same size is drawn as such.
TEST_F(ImageDevice, RepeatedSymbolsFollowColourScaleAndFont) {
  UseMusicFont(40);
  device->SetFontColor(kRed);
  device->DrawMusicSymbol(20, 60, 88);
  device->SetFontColor(kBlue);
  device->DrawMusicSymbol(80, 60, 88);
  device->SetScale(2, 2);
  device->DrawMusicSymbol(10, 90, 88);
  device->SetScale(0.5f, 0.5f);
  UseMusicFont(40);
  device->SetFontColor(kRed);
  device->DrawMusicSymbol(160, 60, 88);
  EXPECT_GT(PixelsOf(QRect(0, 0, 60, 70), qRgb(255, 0, 0)), 40);
  EXPECT_EQ(PixelsOf(QRect(60, 0, 60, 70), qRgb(255, 0, 0)), 0);
  const int blue = PixelsOf(QRect(60, 0, 60, 70), qRgb(0, 0, 255));
  EXPECT_GT(blue, 40);
  EXPECT_GT(PixelsOf(QRect(0, 100, 200, 100), qRgb(0, 0, 255)), 3 * blue);
  EXPECT_EQ(PixelsOf(QRect(140, 0, 60, 70), qRgb(255, 0, 0)),
            PixelsOf(QRect(0, 0, 60, 70), qRgb(255, 0, 0)));
}

// Symbols are drawn from copies of their images that start where the target's row blends in
// whole groups: the pixels must be those of the symbol's own image drawn at its place, at every
// offset within a group and cut by the image's edges.
TEST_F(ImageDevice, SymbolsDrawnFromAlignedCopiesKeepTheirImagesPixels) {
  GFontQt const* font = UseMusicFont(40);
  device->SetFontColor(VGColor(30, 60, 200, 160));
  const RazidQt::GlyphImage& glyph = RazidQt::CachedGlyph(
      font->symbolFont(), font->symbolFontKey(), font->Symbol(88), qRgba(30, 60, 200, 160), 1, 1);
  ASSERT_FALSE(glyph.image.isNull());
  QImage expected = image;
  QPainter reference(&expected);
  for (int x = -9; x < 200; x += 11) {
    const int y = (x * 7) % 150 + 20;
    device->DrawMusicSymbol(float(x), float(y), 88);
    reference.drawImage(QPoint(x, y) + glyph.offset, glyph.image);
  }
  reference.end();
  painter.end();
  EXPECT_TRUE(image == expected);
  EXPECT_GT(Ink(image.rect()), 500);
}

// Where the painter clips, fades or paints into other pixels than premultiplied ones, symbols
// are left to it: each comes out as the painter's own drawing of its image under that state.
TEST_F(ImageDevice, SymbolsKeepThePaintersClipOpacityAndPixelFormat) {
  GFontQt const* font = UseMusicFont(40);
  const RazidQt::GlyphImage& glyph = RazidQt::CachedGlyph(
      font->symbolFont(), font->symbolFontKey(), font->Symbol(88), qRgba(0, 0, 0, 255), 1, 1);
  ASSERT_FALSE(glyph.image.isNull());
  const std::function<void(QPainter&)> states[] = {
      [](QPainter& p) { p.setClipRect(QRect(30, 40, 90, 70)); },
      [](QPainter& p) { p.setOpacity(0.4); },
      [](QPainter& p) { p.setCompositionMode(QPainter::CompositionMode_Multiply); }};
  for (QImage::Format format : {QImage::Format_ARGB32_Premultiplied, QImage::Format_RGB32}) {
    for (int state = format == QImage::Format_RGB32 ? 2 : 0; state < 3; ++state) {
      SCOPED_TRACE(format * 10 + state);
      QImage drawn(200, 200, format);
      drawn.fill(QColor(250, 200, 120));
      QImage expected = drawn;
      QPainter target(&drawn);
      QPainter reference(&expected);
      states[state](target);
      states[state](reference);
      GSystemQt targetSystem(&target);
      std::unique_ptr<VGDevice> symbols(targetSystem.CreateDisplayDevice());
      symbols->SetMusicFont(font);
      for (int x = 5; x < 190; x += 23) {
        symbols->DrawMusicSymbol(float(x), float(x / 2 + 30), 88);
        reference.drawImage(QPoint(x, x / 2 + 30) + glyph.offset, glyph.image);
      }
      target.end();
      reference.end();
      EXPECT_TRUE(drawn == expected);
    }
  }
}

TEST_F(ImageDevice, AnOpaqueFontBackgroundIsFilledBehindTheSymbol) {
  UseMusicFont(40);
  device->SetFontBackgroundColor(VGColor(255, 255, 0));
  EXPECT_EQ(painter.backgroundMode(), Qt::OpaqueMode);
  device->DrawMusicSymbol(50, 100, 88);
  EXPECT_GT(PixelsOf(QRect(45, 60, 30, 60), qRgb(255, 255, 0)), 100);
  EXPECT_GT(PixelsOf(QRect(50, 95, 12, 10), qRgb(0, 0, 0)), 40);
}

TEST_F(ImageDevice, StringsAreDrawnWholeWhateverTheCountAndNothingWithoutAFont) {
  std::unique_ptr<VGFont const> font(system.CreateVGFont("Arial", 20, 0));
  float width = 0, height = 0;
  font->GetExtent("Wide text", 2, &width, &height, device.get());
  device->SetTextFont(nullptr);
  device->SetMusicFont(nullptr);
  device->DrawString(10, 150, "Wide text", 9);
  device->DrawMusicSymbol(50, 150, 88);
  device->SetTextFont(font.get());
  device->DrawString(10, 100, "Wide text", 2);
  EXPECT_GT(Ink(QRect(10 + int(width) * 3 / 4, 80, int(width) / 4 + 2, 25)), 10);
  EXPECT_EQ(Ink(QRect(12 + int(width), 0, 200, 200)) + Ink(QRect(0, 130, 200, 70)), 0);
}

}  // namespace
}  // namespace RazidQtTesting
