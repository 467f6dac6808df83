#include "razid_font_system.h"

#include <QString>

#include "lib-razid-qt/GSystemQt.h"
#include "lib-razid-qt/engine_fonts.h"

namespace EngineTesting {

// The fonts are those of the Qt drawing system; only the devices are the recording ones.
VGFont const* RazidFontSystem::CreateVGFont(char const* face, int size, int properties) const {
  return GSystemQt(nullptr).CreateVGFont(face, size, properties);
}

void RazidFontFixture::SetUpTestSuite() {
  QString error;
  ASSERT_TRUE(RazidQt::PrepareEngineFonts(&error)) << error.toStdString();
}

void RazidFontFixture::SetUp() {
  GraphicFixture::SetUp();
  device.setVGSystem(&razidSystem);
}

}  // namespace EngineTesting
