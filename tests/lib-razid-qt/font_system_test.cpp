#include <QFontInfo>

#include "image_device_fixture.h"

namespace RazidQtTesting {
namespace {

std::unique_ptr<GFontQt const> MakeFont(const GSystemQt& system, const char* face, int size,
                                        int properties = 0) {
  return std::unique_ptr<GFontQt const>(
      static_cast<GFontQt const*>(system.CreateVGFont(face, size, properties)));
}

TEST(FontSystem, SymbolsMapThroughTheTableAndReportCodesWithoutACharacter) {
  const auto font = MakeFont(GSystemQt(nullptr), "Razid2", 10);
  const std::tuple<unsigned int, char16_t, const char*> rows[] = {
      {131, 402, ""},
      {65, 65, ""},
      {1, 1, "GFontQt::Symbol : undefined value.\n"},
      {256, 1, "GFontQt::Symbol : invalid requested value.\n"}};
  for (auto [code, character, said] : rows) {
    testing::internal::CaptureStdout();
    EXPECT_EQ(font->Symbol(code), QChar(character)) << code;
    EXPECT_EQ(testing::internal::GetCapturedStdout(), said) << code;
  }
}

TEST(FontSystem, FontsTakeTheirSizeInPixelsAndTheirStyleFromTheProperties) {
  GSystemQt system(nullptr);
  EXPECT_EQ(system.CreateVGFont(nullptr, 12, 0), nullptr);
  for (int properties = 0; properties < 4; ++properties) {
    const auto font = MakeFont(system, "Times", 12, properties);
    EXPECT_STREQ(font->GetName(), "Times");
    EXPECT_EQ(font->GetSize() * 10 + font->GetProperties(), 120 + properties);
    EXPECT_EQ(font->textFont().pixelSize(), 12);
    EXPECT_EQ(font->textFont().bold(), (properties & 1) != 0);
    EXPECT_EQ(font->textFont().italic(), (properties & 2) != 0);
    EXPECT_EQ(font->symbolFont().styleStrategy(), QFont::NoFontMerging);
  }
}

// The engine measures on its measuring device (unscaled) and the elements it draws on a page's
// device, whose scale the widths and heights follow; strings are measured whole.
TEST_F(ImageDevice, ExtentsAreWholeStringsTimesTheDrawingDevicesScale) {
  GSystemQt measuringSystem(nullptr);
  std::unique_ptr<VGDevice> measuring(measuringSystem.CreateDisplayDevice());
  const auto music = MakeFont(system, "Razid2", 200);
  const auto text = MakeFont(system, "Arial", 75);
  float width = -1, height = -1, part = 0, head = 0, headHeight = 0, scaled = 0;
  text->GetExtent(nullptr, 3, &width, &height, measuring.get());
  EXPECT_EQ(width + height, 0.0f);
  text->GetExtent("Allegro", 7, &width, &height, measuring.get());
  text->GetExtent("Allegro", 2, &part, &height, measuring.get());
  EXPECT_GT(width, 150.0f);
  EXPECT_EQ(part, width);
  music->GetExtent(88, &head, &headHeight, measuring.get());
  EXPECT_EQ(head, 60.0f);
  device->SetScale(0.5f, 0.25f);
  music->GetExtent(88, &head, &scaled, device.get());
  EXPECT_EQ(head, 30.0f);
  EXPECT_EQ(scaled, headHeight * 0.25f);
}

// The start-up routine: the faces the engine names set in Liberation, the music font registered
// and its family found; prepared twice, a face is still listed once.
TEST(EngineFonts, PrepareTheTextFacesAndTheMusicFont) {
  QString error;
  ASSERT_TRUE(RazidQt::PrepareEngineFonts(&error)) << error.toStdString();
  ASSERT_TRUE(RazidQt::PrepareEngineFonts());
  EXPECT_TRUE(RazidQt::MusicFamilyAvailable());
  EXPECT_EQ(QFont::substitutes("Times").filter("Liberation Serif", Qt::CaseInsensitive).size(), 1);
  EXPECT_EQ(QFontInfo(QFont("Times")).family(), "Liberation Serif");
  EXPECT_EQ(QFontInfo(QFont("Arial")).family(), "Liberation Sans");
  EXPECT_EQ(QFontInfo(QFont(".Razid2")).family(), "Razid2");
  // The jump marks' words: the serif face's bold italic, asked by style, not by a family name.
  QFontInfo const info(MakeFont(GSystemQt(nullptr), "Times New Roman", 110, 3)->textFont());
  EXPECT_EQ(info.family(), "Liberation Serif");
  EXPECT_TRUE(info.bold());
  EXPECT_TRUE(info.italic());
}

}  // namespace
}  // namespace RazidQtTesting
