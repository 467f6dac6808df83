#include <QPainterPath>

#include "image_device_fixture.h"

namespace RazidQtTesting {
namespace {

// Engine units (line space 50, music font 200) drawn at the screen scale of a question score.
constexpr float kScale = 0.35f;
constexpr QPointF kHeads[] = {{450, 300}, {650, 275}, {850, 250}, {1050, 200}, {1250, 350}};

int Dark(const QImage& image, float left, float top, float right, float bottom) {
  int count = 0;
  for (int y = int(top * kScale); y <= int(bottom * kScale); ++y)
    for (int x = int(left * kScale); x <= int(right * kScale); ++x)
      count += image.valid(x, y) && qGray(image.pixel(x, y)) < 128;
  return count;
}

// A treble staff in 4/4 with five quarter notes (the last on a ledger line) and a bar line, drawn
// as the engine's elements do: lines and stems with the pen, the rest from the music font.
// To look at it: MELVARIN_STAFF_PNG=/tmp/staff.png test_razid_qt --gtest_filter='Staff*'
TEST(StaffRendering, HeadsClefMeterAndBarHaveInkWhereTheStaffPutsThem) {
  ASSERT_TRUE(RazidQt::PrepareEngineFonts());
  QImage image(580, 160, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::white);
  {
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    GSystemQt system(&painter);
    std::unique_ptr<VGDevice> device(system.CreateDisplayDevice());
    std::unique_ptr<VGFont const> music(system.CreateVGFont(RazidQt::kMusicFontFamily, 200, 0));
    device->SetMusicFont(music.get());
    device->SetScale(kScale, kScale);
    device->PushPen(kOpaqueBlack, 4);
    for (int line = 0; line < 5; ++line) device->Line(50, 100 + line * 50, 1600, 100 + line * 50);
    device->Line(1230, 350, 1330, 350);
    for (QPointF head : kHeads)
      device->Line(head.x() + 58, head.y(), head.x() + 58, head.y() - 175);
    device->PopPen();
    device->DrawMusicSymbol(80, 250, 38);
    device->DrawMusicSymbol(280, 150, 52);
    device->DrawMusicSymbol(280, 250, 52);
    for (QPointF head : kHeads) device->DrawMusicSymbol(head.x(), head.y(), 88);
    device->DrawMusicSymbol(1598, 300, 139);
  }
  if (qEnvironmentVariableIsSet("MELVARIN_STAFF_PNG"))
    image.save(qEnvironmentVariable("MELVARIN_STAFF_PNG"));
  for (QPointF head : kHeads)  // a head fills most of its box between the lines around it
    EXPECT_GT(Dark(image, head.x() + 5, head.y() - 18, head.x() + 50, head.y() + 18), 60);
  EXPECT_GT(Dark(image, 80, 80, 200, 400), 300);    // the clef, above and below the staff
  EXPECT_GT(Dark(image, 280, 110, 380, 290), 140);  // 4/4
  EXPECT_EQ(Dark(image, 380, 110, 440, 140) + Dark(image, 1330, 20, 1580, 90), 0);
}

// Symbols on pixels are drawn from images kept for the process; they must look like the outline
// Qt would fill, in any colour and at any scale.
TEST_F(ImageDevice, CachedSymbolsMatchTheirOutlines) {
  const std::tuple<unsigned int, float, QColor> rows[] = {
      {38, 0.35f, Qt::black}, {88, 0.35f, QColor(0x00996c)}, {52, 0.5f, Qt::red}};
  for (auto [symbol, scale, color] : rows) {
    if (!painter.isActive()) image.fill(Qt::white), painter.begin(&image);
    auto const* font = UseMusicFont(200);
    device->SetFontColor(VGColor(color.red(), color.green(), color.blue()));
    device->SetScale(scale, scale);
    device->DrawMusicSymbol(100, 300, symbol);
    device->SetScale(1 / scale, 1 / scale);
    QImage outlined(image.size(), image.format());
    outlined.fill(Qt::white);
    QPainter reference(&outlined);
    reference.setRenderHint(QPainter::Antialiasing);
    reference.scale(scale, scale);
    QPainterPath outline;
    outline.addText(100, 300, font->symbolFont(), QString(font->Symbol(symbol)));
    reference.fillPath(outline, color);
    reference.end();
    const QRect want =
        QTransform::fromScale(scale, scale).mapRect(outline.boundingRect()).toAlignedRect();
    const int inked = Ink(image.rect());
    EXPECT_EQ(Ink(want.adjusted(-1, -1, 1, 1)), inked) << symbol;
    int outlinedInk = 0;
    for (int y = 0; y < outlined.height(); ++y)
      for (int x = 0; x < outlined.width(); ++x) outlinedInk += outlined.pixel(x, y) != 0xffffffff;
    EXPECT_NEAR(inked, outlinedInk, outlinedInk / 20) << symbol;
    EXPECT_EQ(image.pixelColor(want.center()), outlined.pixelColor(want.center())) << symbol;
  }
}

}  // namespace
}  // namespace RazidQtTesting
