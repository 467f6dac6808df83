#include "razid_font_system.h"

#include <QFont>
#include <QFontMetricsF>
#include <QString>
#include <string>

#include "lib-razid-qt/music_font.h"
#include "music_symbol_table.h"

namespace EngineTesting {
namespace {

class QtMeasuredFont : public VGFont {
 public:
  QtMeasuredFont(char const* face, int size, int properties)
      : mName(face), mSize(size), mProperties(properties), mFont(QString::fromLatin1(face)) {
    mFont.setPixelSize(size);
    mFont.setStyleStrategy(QFont::NoFontMerging);
    mFont.setBold(properties & 1);
    mFont.setItalic(properties & 2);
  }

  char const* GetName() const override { return mName.c_str(); }
  int GetSize() const override { return mSize; }
  int GetProperties() const override { return mProperties; }
  void GetExtent(char const* s, int, float* width, float* height, VGDevice*) const override {
    QFontMetricsF const metrics(mFont);
    *width = s ? metrics.horizontalAdvance(QString::fromLatin1(s)) : 0;
    *height = s ? metrics.height() : 0;
  }
  void GetExtent(unsigned char symbol, float* width, float* height, VGDevice*) const override {
    QFontMetricsF const metrics(mFont);
    *width = metrics.horizontalAdvance(QChar(char16_t(kMusicSymbolTable[symbol])));
    *height = metrics.height();
  }

 private:
  std::string mName;
  int mSize;
  int mProperties;
  QFont mFont;
};

}  // namespace

VGFont const* RazidFontSystem::CreateVGFont(char const* face, int size, int properties) const {
  if (!face) return nullptr;
  return new QtMeasuredFont(face, size, properties);
}

void RazidFontFixture::SetUpTestSuite() {
  QString error;
  ASSERT_TRUE(RazidQt::RegisterMusicFont(&error)) << error.toStdString();
}

void RazidFontFixture::SetUp() {
  GraphicFixture::SetUp();
  device.setVGSystem(&razidSystem);
}

}  // namespace EngineTesting
