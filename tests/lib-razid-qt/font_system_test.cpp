#include <QFontInfo>
#include <string>

#include "image_device_fixture.h"
#include "lib-razid-qt/engine_fonts.h"

namespace RazidQtTesting {
namespace {

std::unique_ptr<GFontQt const> MakeFont(const GSystemQt& system, const char* face, int size,
                                        int properties = 0) {
  return std::unique_ptr<GFontQt const>(
      static_cast<GFontQt const*>(system.CreateVGFont(face, size, properties)));
}

TEST(FontSystem, SymbolsMapThroughTheTableAndReportCodesWithoutACharacter) {
  GSystemQt system(nullptr);
  const auto font = MakeFont(system, "Razid2", 10);
  struct Row {
    unsigned int code;
    char16_t character;
    const char* said;
  };
  const Row rows[] = {{131, 402, ""},
                      {65, 65, ""},
                      {132, 8222, ""},
                      {1, 1, "GFontQt::Symbol : undefined value.\n"},
                      {256, 1, "GFontQt::Symbol : invalid requested value.\n"}};
  for (const Row& row : rows) {
    testing::internal::CaptureStdout();
    EXPECT_EQ(font->Symbol(row.code), QChar(row.character)) << row.code;
    EXPECT_EQ(testing::internal::GetCapturedStdout(), row.said) << row.code;
  }
}

TEST(FontSystem, FontsTakeTheirSizeInPixelsAndTheirStyleFromTheProperties) {
  GSystemQt system(nullptr);
  EXPECT_EQ(system.CreateVGFont(nullptr, 12, 0), nullptr);
  struct Row {
    int properties;
    bool bold;
    bool italic;
  };
  for (const Row& row :
       {Row{0, false, false}, Row{1, true, false}, Row{2, false, true}, Row{3, true, true}}) {
    const auto font = MakeFont(system, "Times", 12, row.properties);
    EXPECT_STREQ(font->GetName(), "Times");
    EXPECT_EQ(font->GetSize(), 12);
    EXPECT_EQ(font->GetProperties(), row.properties);
    EXPECT_EQ(font->textFont().pixelSize(), 12);
    EXPECT_EQ(font->textFont().weight(), row.bold ? QFont::Bold : QFont::Normal);
    EXPECT_EQ(font->textFont().italic(), row.italic);
    EXPECT_EQ(font->symbolFont().styleStrategy() & QFont::NoFontMerging, QFont::NoFontMerging);
  }
}

// The engine measures on its measuring device (unscaled) and the elements it draws on a page's
// device, whose scale the widths and heights follow.
TEST_F(ImageDevice, ExtentsAreWholeStringsTimesTheDrawingDevicesScale) {
  GSystemQt measuringSystem(nullptr);
  std::unique_ptr<VGDevice> measuring(measuringSystem.CreateDisplayDevice());
  const auto music = MakeFont(system, "Razid2", 200);
  const auto text = MakeFont(system, "Arial", 75);
  float width = -1, height = -1;
  text->GetExtent(nullptr, 3, &width, &height, measuring.get());
  EXPECT_EQ(width, 0.0f);
  EXPECT_EQ(height, 0.0f);
  float whole = 0, part = 0;
  text->GetExtent("Allegro", 7, &whole, &height, measuring.get());
  text->GetExtent("Allegro", 2, &part, &height, measuring.get());
  EXPECT_GT(whole, 150.0f);
  EXPECT_EQ(part, whole);
  float head = 0, headHeight = 0;
  music->GetExtent(88, &head, &headHeight, measuring.get());
  EXPECT_EQ(head, 60.0f);
  device->SetScale(0.5f, 0.25f);
  float scaledHead = 0, scaledHeight = 0;
  music->GetExtent(88, &scaledHead, &scaledHeight, device.get());
  EXPECT_EQ(scaledHead, 30.0f);
  EXPECT_EQ(scaledHeight, headHeight * 0.25f);
  text->GetExtent("Allegro", 7, &width, &height, device.get());
  EXPECT_EQ(width, whole * 0.5f);
}

// The start-up routine: the faces the engine names set in Liberation, the music font registered
// and its family found.
TEST(EngineFonts, PrepareTheTextFacesAndTheMusicFont) {
  QString error;
  ASSERT_TRUE(RazidQt::PrepareEngineFonts(&error)) << error.toStdString();
  ASSERT_TRUE(RazidQt::PrepareEngineFonts());
  EXPECT_TRUE(RazidQt::MusicFamilyAvailable());
  // Prepared twice, the face is still listed once.
  EXPECT_EQ(QFont::substitutes("Times").filter("Liberation Serif", Qt::CaseInsensitive).size(), 1);
  EXPECT_EQ(QFontInfo(QFont("Times")).family(), "Liberation Serif");
  EXPECT_EQ(QFontInfo(QFont("Arial")).family(), "Liberation Sans");
  EXPECT_EQ(QFontInfo(QFont(".Razid2")).family(), "Razid2");
}

}  // namespace
}  // namespace RazidQtTesting
