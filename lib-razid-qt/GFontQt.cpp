#include "lib-razid-qt/GFontQt.h"

#include <QFontMetrics>
#include <cstdio>

#include "VGDevice.h"
#include "music_symbol_table.h"
#include "src/common/assertion.h"

GFontQt::GFontQt(const QFont& font, char const* name, int size, int properties,
                 unsigned int const* symbolTable)
    : mFont(font),
      mSymbolFont(font),
      mName(name),
      mSize(size),
      mProperties(properties),
      mSymbolTable(symbolTable) {
  MELVARIN_ASSERT(name != nullptr && symbolTable != nullptr);
  mSymbolFont.setStyleStrategy(QFont::NoFontMerging);
  mSymbolFontKey = mSymbolFont.key();
}

void GFontQt::GetExtent(char const* s, int, float* width, float* height, VGDevice* device) const {
  if (!s) {
    *width = 0;
    *height = 0;
    return;
  }
  // The whole string is measured, as it is drawn: the engine's counts are not always its length.
  Measure(mFont, QString::fromLatin1(s), width, height, device);
}

void GFontQt::GetExtent(unsigned char symbol, float* width, float* height, VGDevice* device) const {
  Measure(mSymbolFont, QString(Symbol(symbol)), width, height, device);
}

QChar GFontQt::Symbol(unsigned int code) const {
  if (code > 255) {
    std::puts("GFontQt::Symbol : invalid requested value.");
    return QChar(char16_t(kUndefinedMusicCharacter));
  }
  const unsigned int character = mSymbolTable[code];
  if (character == kUndefinedMusicCharacter) std::puts("GFontQt::Symbol : undefined value.");
  return QChar(char16_t(character));
}

void GFontQt::Measure(const QFont& font, const QString& text, float* width, float* height,
                      VGDevice* device) const {
  const QFontMetrics metrics(font);
  // Only a drawing device has a scale; the measuring device has no painter.
  const bool scaled = device && device->IsValid();
  *width = float(metrics.horizontalAdvance(text)) * (scaled ? device->GetXScale() : 1.0f);
  *height = float(metrics.height()) * (scaled ? device->GetYScale() : 1.0f);
}
