#include <QPen>
#include <cmath>
#include <limits>

#include "image_device_fixture.h"

namespace RazidQtTesting {
namespace {

constexpr VGColor kRed{255, 0, 0};
constexpr VGColor kBlue{0, 0, 255};

TEST_F(ImageDevice, StartsBlackOnWhiteAtTheBaselineWithItsOwnFonts) {
  EXPECT_TRUE(device->IsValid());
  EXPECT_EQ(device->GetNativeContext(), &painter);
  EXPECT_EQ(device->getVGSystem(), &system);
  EXPECT_EQ(device->GetFontColor(), kOpaqueBlack);
  EXPECT_EQ(device->GetFontAlign(), 17u);
  EXPECT_EQ(device->GetFontBackgroundColor(), VGColor(255, 255, 255, 0));
  EXPECT_EQ(painter.backgroundMode(), Qt::TransparentMode);
  EXPECT_EQ(painter.pen().color(), QColor(Qt::black));
  EXPECT_EQ(painter.pen().widthF(), 1.0);
  EXPECT_EQ(painter.brush().color(), QColor(Qt::white));
  EXPECT_EQ(device->GetDPITag(), -1.0f);
  ASSERT_TRUE(device->GetTextFont() && device->GetMusicFont());
  EXPECT_STREQ(device->GetTextFont()->GetName(), "Arial");
  EXPECT_STREQ(device->GetMusicFont()->GetName(), "Razid2");
  EXPECT_EQ(device->GetMusicFont()->GetSize(), 10);
  device->SetFontBackgroundColor(VGColor(1, 2, 3, 4));
  EXPECT_EQ(painter.backgroundMode(), Qt::OpaqueMode);
  EXPECT_EQ(device->GetFontBackgroundColor(), VGColor(1, 2, 3, 4));
}

// The pen position is kept in whole units, so each side starts at the truncated end of the last.
TEST_F(ImageDevice, FrameClosesOnItsFirstCornerAtWholeUnits) {
  device->Frame(10.9f, 20.9f, 60.5f, 50.5f);
  EXPECT_GT(Ink(QRect(12, 20, 46, 1)), 40);  // top
  EXPECT_GT(Ink(QRect(60, 22, 1, 26)), 20);  // right
  EXPECT_GT(Ink(QRect(12, 50, 46, 1)), 40);  // bottom
  EXPECT_EQ(Ink(QRect(10, 21, 1, 28)), 28);  // left, back to (10, 20)
  EXPECT_EQ(Ink(QRect(12, 22, 46, 26)), 0);
  EXPECT_EQ(Ink(QRect(0, 0, 200, 19)), 0);
}

TEST_F(ImageDevice, ShapesAreFilledWithTheBrushAndNeverOutlined) {
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
  EXPECT_EQ(PixelsOf(QRect(20, 20, 39, 39), qRgb(255, 0, 0)), 39 * 39);
  EXPECT_EQ(Ink(QRect(0, 0, 70, 70)), 39 * 39);
  EXPECT_EQ(PixelsOf(image.rect(), qRgb(0, 0, 255)), 0);
  // Odd-even: the star's middle pentagon is a hole, its points are filled.
  EXPECT_EQ(Ink(QRect(98, 100, 4, 4)), 0);
  EXPECT_EQ(PixelsOf(QRect(98, 50, 4, 4), qRgb(255, 0, 0)), 16);
  EXPECT_EQ(PixelsOf(QRect(168, 160, 4, 4), qRgb(255, 0, 0)), 16);
}

TEST_F(ImageDevice, EndDrawRestoresTheDeviceAndThePainterTogether) {
  const VGFont* text = device->GetTextFont();
  const VGFont* music = device->GetMusicFont();
  device->SetFontColor(kRed);
  device->BeginDraw();
  device->SetFontColor(kBlue);
  device->SetFontAlign(8);
  device->SetTextFont(nullptr);
  device->SetMusicFont(nullptr);
  device->PushPen(kRed, 3.0f);
  device->PushFillColor(kBlue);
  device->SetScale(2, 2);
  EXPECT_EQ(painter.brush().color(), QColor(Qt::blue));
  device->PopFillColor();
  EXPECT_EQ(painter.brush().color(), QColor(Qt::white));
  EXPECT_EQ(painter.pen().color(), QColor(Qt::red));
  device->PopPen();
  EXPECT_EQ(painter.pen().color(), QColor(Qt::black));
  device->EndDraw();
  EXPECT_EQ(device->GetFontColor(), kRed);
  EXPECT_EQ(device->GetFontAlign(), 17u);
  EXPECT_EQ(device->GetTextFont(), text);
  EXPECT_EQ(device->GetMusicFont(), music);
  EXPECT_EQ(device->GetXScale(), 1.0f);
  // The pen position comes back too: this line starts where the one before BeginDraw ended.
  device->MoveTo(10, 10);
  device->BeginDraw();
  device->MoveTo(150, 150);
  device->EndDraw();
  device->LineTo(10, 40);
  EXPECT_EQ(Ink(QRect(10, 10, 1, 30)), 30);
  EXPECT_EQ(Ink(QRect(100, 100, 100, 100)), 0);
}

TEST_F(ImageDevice, ScaleMultipliesAndOriginIsTheTranslationInLogicalUnits) {
  device->SetScale(2, 2);
  device->SetScale(2, 2);
  EXPECT_EQ(device->GetXScale(), 4.0f);
  device->SetScale(0.25f, 0.5f);
  EXPECT_EQ(device->GetYScale(), 2.0f);
  device->OffsetOrigin(10, 5);
  device->OffsetOrigin(10, 5);
  device->SetOrigin(100, 100);
  EXPECT_EQ(device->GetXOrigin(), 20.0f);  // dx 20 at scale 1
  EXPECT_EQ(device->GetYOrigin(), 10.0f);  // dy 20 at scale 2
  float x = 7.5f, y = -3.25f;
  device->LogicalToDevice(&x, &y);
  EXPECT_FLOAT_EQ(x, 7.5f - 20);
  EXPECT_FLOAT_EQ(y, -6.5f - 10);
  device->DeviceToLogical(&x, &y);
  EXPECT_FLOAT_EQ(x, 7.5f);
  EXPECT_FLOAT_EQ(y, -3.25f);
  device->NotifySize(120, 80);
  EXPECT_EQ(painter.viewport(), QRect(20, 10, 120, 80));
  EXPECT_EQ(device->GetWidth(), 120);
  EXPECT_EQ(device->GetHeight(), 80);
}

TEST_F(ImageDevice, ShapesLandWhereScaleAndOriginPutThem) {
  device->SelectFillColor(kRed);
  device->OffsetOrigin(10, 20);
  device->SetScale(2, 2);
  device->Rectangle(5, 5, 15, 15);  // device (20, 30) to (40, 50)
  EXPECT_EQ(PixelsOf(QRect(20, 30, 20, 20), qRgb(255, 0, 0)), 400);
  EXPECT_EQ(Ink(image.rect()), 400);
}

TEST_F(ImageDevice, ArcRunsCounterClockwiseFromStartToEndDirection) {
  // From 0 degrees (right) to 90 degrees (up): the upper right quarter of the circle.
  device->Arc(20, 20, 180, 180, 180, 100, 100, 20);
  EXPECT_GT(Ink(QRect(100, 15, 85, 85)), 100);
  EXPECT_EQ(Ink(QRect(0, 102, 200, 98)) + Ink(QRect(0, 0, 98, 102)), 0);
}

TEST_F(ImageDevice, ArcWithOneDirectionOrAFlatBoxDrawsNothing) {
  device->Arc(20, 20, 180, 180, 180, 100, 190, 100);
  device->Arc(20, 20, 20, 180, 180, 100, 100, 20);
  device->Arc(20, 20, 180, 20.5f, 180, 100, 100, 20);
  EXPECT_EQ(Ink(image.rect()), 0);
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
  EXPECT_EQ(device->GetXOrigin(), 0.0f);
  device->NotifySize(10, 10);
  device->DrawString(nan, inf, "x", 1);
  SUCCEED();
}

TEST_F(ImageDevice, RasterModesMapToCompositionModesBothWays) {
  struct Row {
    VGDevice::VRasterOpMode mode;
    QPainter::CompositionMode composition;
    VGDevice::VRasterOpMode readBack;
  };
  const Row rows[] = {
      {VGDevice::kOpCopy, QPainter::CompositionMode_SourceOver, VGDevice::kOpCopy},
      {VGDevice::kOpAnd, QPainter::CompositionMode_Darken, VGDevice::kOpAnd},
      {VGDevice::kOpXOr, QPainter::CompositionMode_Difference, VGDevice::kOpXOr},
      {VGDevice::kOpInvert, QPainter::CompositionMode_Clear, VGDevice::kOpInvert},
      {VGDevice::kOpOr, QPainter::CompositionMode_Lighten, VGDevice::kOpOr},
      {VGDevice::kUnknown, QPainter::CompositionMode_SourceOver, VGDevice::kOpCopy},
  };
  for (const Row& row : rows) {
    testing::internal::CaptureStdout();
    device->SetRasterOpMode(row.mode);
    const std::string said = testing::internal::GetCapturedStdout();
    EXPECT_EQ(painter.compositionMode(), row.composition) << row.mode;
    EXPECT_EQ(device->GetRasterOpMode(), row.readBack) << row.mode;
    EXPECT_EQ(said.find("SetRasterOpMode(kOpInvert) : not supported") != std::string::npos,
              row.mode == VGDevice::kOpInvert);
  }
  painter.setCompositionMode(QPainter::CompositionMode_Multiply);
  EXPECT_EQ(device->GetRasterOpMode(), VGDevice::kUnknown);
}

TEST_F(ImageDevice, ASymbolHasInkOfTheFontColourWhereItIsPlaced) {
  UseMusicFont(40);  // a head is 12 px wide, 10 px high around the baseline
  device->SetFontColor(kRed);
  device->DrawMusicSymbol(50.9f, 100.9f, 88);
  EXPECT_EQ(painter.pen().color(), QColor(Qt::black));
  EXPECT_GT(PixelsOf(QRect(50, 95, 12, 10), qRgb(255, 0, 0)), 40);
  EXPECT_EQ(Ink(image.rect()), Ink(QRect(49, 93, 14, 14)));
}

// With an opaque font background the symbol is drawn as text, over its background box.
TEST_F(ImageDevice, AnOpaqueFontBackgroundIsFilledBehindTheSymbol) {
  UseMusicFont(40);
  device->SetFontBackgroundColor(VGColor(255, 255, 0));
  device->DrawMusicSymbol(50, 100, 88);
  EXPECT_GT(PixelsOf(QRect(45, 60, 30, 60), qRgb(255, 255, 0)), 100);
  EXPECT_GT(PixelsOf(QRect(50, 95, 12, 10), qRgb(0, 0, 0)), 40);
}

TEST_F(ImageDevice, AlignmentMovesTheSymbolByItsWidthAndTheFontsAscent) {
  struct Row {
    unsigned int align;
    QRect inked;
  };
  const Row rows[] = {
      {VGDevice::kAlignBase | VGDevice::kAlignCenter, QRect(43, 90, 14, 20)},
      {VGDevice::kAlignBase | VGDevice::kAlignRight, QRect(37, 90, 14, 20)},
      {VGDevice::kAlignTop | VGDevice::kAlignLeft, QRect(50, 101, 13, 200)},
      {VGDevice::kAlignBottom | VGDevice::kAlignLeft, QRect(50, 0, 13, 100)},
  };
  for (const Row& row : rows) {
    if (!painter.isActive()) {
      image.fill(Qt::white);
      painter.begin(&image);
    }
    UseMusicFont(40);
    device->SetFontAlign(row.align);
    device->DrawMusicSymbol(50, 100, 88);
    const int all = Ink(image.rect());
    EXPECT_GT(all, 40) << row.align;
    EXPECT_EQ(Ink(row.inked), all) << row.align;
  }
}

TEST_F(ImageDevice, NothingIsDrawnWithoutAFont) {
  device->SetMusicFont(nullptr);
  device->SetTextFont(nullptr);
  device->DrawMusicSymbol(50, 100, 88);
  device->DrawString(50, 100, "text", 4);
  EXPECT_EQ(Ink(image.rect()), 0);
}

TEST_F(ImageDevice, StringsAreDrawnWholeWhateverTheCount) {
  std::unique_ptr<VGFont const> font(system.CreateVGFont("Arial", 20, 0));
  device->SetTextFont(font.get());
  float width = 0, height = 0;
  font->GetExtent("Wide text", 2, &width, &height, device.get());
  device->DrawString(10, 100, "Wide text", 2);
  EXPECT_GT(Ink(QRect(10 + int(width) * 3 / 4, 80, int(width) / 4 + 2, 25)), 10);
  EXPECT_EQ(Ink(QRect(12 + int(width), 0, 200, 200)), 0);
}

}  // namespace
}  // namespace RazidQtTesting
