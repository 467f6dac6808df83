#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <memory>

#include "lib-razid-qt/GDeviceQt.h"
#include "lib-razid-qt/GFontQt.h"
#include "lib-razid-qt/GSystemQt.h"
#include "lib-razid-qt/engine_fonts.h"

namespace {

// Engine units: line space 50, music font 200, drawn at the screen scale of a question score.
constexpr float kScale = 0.35f;
constexpr float kTopLine = 100;
constexpr float kLineSpace = 50;

struct Head {
  float x;
  float y;  // of the head's middle, on a line or a space
};
constexpr Head kHeads[] = {{450, 300}, {650, 275}, {850, 250}, {1050, 200}, {1250, 350}};

// Draws a treble staff in 4/4 with five quarter notes (the last on a ledger line) and a bar line,
// as the engine's elements do: lines and stems with the pen, everything else from the music font.
void DrawStaff(VGDevice& device) {
  device.SetScale(kScale, kScale);
  device.PushPen(kOpaqueBlack, 4);
  for (int line = 0; line < 5; ++line)
    device.Line(50, kTopLine + line * kLineSpace, 1600, kTopLine + line * kLineSpace);
  device.Line(1230, 350, 1330, 350);
  for (const Head& head : kHeads) device.Line(head.x + 58, head.y, head.x + 58, head.y - 175);
  device.PopPen();
  device.DrawMusicSymbol(80, 250, 38);
  device.DrawMusicSymbol(280, 150, 52);
  device.DrawMusicSymbol(280, 250, 52);
  for (const Head& head : kHeads) device.DrawMusicSymbol(head.x, head.y, 88);
  device.DrawMusicSymbol(1598, 300, 139);
}

int Ink(const QImage& image, const QRect& area) {
  int count = 0;
  for (int y = area.top(); y <= area.bottom(); ++y)
    for (int x = area.left(); x <= area.right(); ++x)
      count += image.valid(x, y) && qGray(image.pixel(x, y)) < 128;
  return count;
}

QRect InkBounds(const QImage& image) {
  QRect bounds;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x)
      if (qGray(image.pixel(x, y)) < 128) bounds |= QRect(x, y, 1, 1);
  return bounds;
}

QRect OnImage(float left, float top, float right, float bottom) {
  return QRect(QPoint(int(left * kScale), int(top * kScale)),
               QPoint(int(right * kScale), int(bottom * kScale)));
}

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
    DrawStaff(*device);
  }
  // To look at the drawing: MELVARIN_STAFF_PNG=/tmp/staff.png test_razid_qt
  if (qEnvironmentVariableIsSet("MELVARIN_STAFF_PNG"))
    image.save(qEnvironmentVariable("MELVARIN_STAFF_PNG"));

  for (const Head& head : kHeads) {
    // A head fills most of its box between the lines around it.
    EXPECT_GT(Ink(image, OnImage(head.x + 5, head.y - 18, head.x + 50, head.y + 18)), 60) << head.x;
  }
  EXPECT_GT(Ink(image, OnImage(80, 80, 200, 400)), 300);     // the clef, above and below the staff
  EXPECT_GT(Ink(image, OnImage(280, 110, 380, 290)), 150);   // 4/4
  EXPECT_GT(Ink(image, OnImage(1590, 110, 1610, 290)), 40);  // the bar line
  // Between the meter and the first note the staff is only its lines.
  EXPECT_EQ(Ink(image, OnImage(380, 110, 440, 140)), 0);
  EXPECT_EQ(Ink(image, OnImage(1330, 20, 1580, 90)), 0);  // above the staff after the stems
}

// Symbols on pixels are drawn from images kept for the process; they must look like the outline
// Qt would fill, in any colour and at any scale.
TEST(StaffRendering, CachedSymbolsMatchTheirOutlines) {
  ASSERT_TRUE(RazidQt::PrepareEngineFonts());
  struct Row {
    unsigned int symbol;
    float scale;
    QColor color;
  };
  const Row rows[] = {{38, 0.35f, Qt::black},
                      {88, 0.35f, Qt::black},
                      {88, 0.35f, QColor(0x00996c)},
                      {52, 0.5f, Qt::red},
                      {38, 1.0f, Qt::blue}};
  for (const Row& row : rows) {
    QImage cached(300, 400, QImage::Format_ARGB32_Premultiplied);
    QImage outlined = cached;
    cached.fill(Qt::white);
    outlined.fill(Qt::white);
    {
      QPainter painter(&cached);
      GSystemQt system(&painter);
      std::unique_ptr<VGDevice> device(system.CreateDisplayDevice());
      std::unique_ptr<VGFont const> music(system.CreateVGFont(RazidQt::kMusicFontFamily, 200, 0));
      device->SetMusicFont(music.get());
      device->SetFontColor(VGColor(row.color.red(), row.color.green(), row.color.blue()));
      device->SetScale(row.scale, row.scale);
      device->DrawMusicSymbol(100, 500, row.symbol);
      QPainter reference(&outlined);
      reference.setRenderHint(QPainter::Antialiasing);
      reference.scale(row.scale, row.scale);
      QPainterPath outline;
      auto const* font = static_cast<GFontQt const*>(music.get());
      outline.addText(100, 500, font->symbolFont(), QString(font->Symbol(row.symbol)));
      reference.fillPath(outline, row.color);
    }
    const QRect want = InkBounds(outlined);
    const QRect got = InkBounds(cached);
    ASSERT_FALSE(want.isEmpty()) << row.symbol;
    EXPECT_LE((want.topLeft() - got.topLeft()).manhattanLength(), 1) << row.symbol;
    EXPECT_LE((want.bottomRight() - got.bottomRight()).manhattanLength(), 1) << row.symbol;
    const QPoint middle = want.center();
    EXPECT_EQ(cached.pixelColor(middle), outlined.pixelColor(middle)) << row.symbol;
  }
}

}  // namespace
