#include "lib-razid-qt/GFontQt.h"

#include <QFontMetrics>
#include <cstdio>

#include "VGDevice.h"
#include "lib-razid-qt/engine_text.h"
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
  mSymbolWidths.fill(-1);
}

const QString& GFontQt::symbolFontKey() const {
  if (mSymbolFontKey.isNull()) mSymbolFontKey = mSymbolFont.key();
  return mSymbolFontKey;
}

const QFontMetrics& GFontQt::TextMetrics() const {
  if (!mTextMetrics) mTextMetrics.emplace(mFont);
  return *mTextMetrics;
}

const QFontMetrics& GFontQt::SymbolMetrics() const {
  if (!mSymbolMetrics) mSymbolMetrics.emplace(mSymbolFont);
  return *mSymbolMetrics;
}

void GFontQt::GetExtent(char const* s, int, float* width, float* height, VGDevice* device) const {
  if (!s) {
    *width = 0;
    *height = 0;
    return;
  }
  // The whole string is measured, as it is drawn: the engine's counts are not always its length.
  const QFontMetrics& metrics = TextMetrics();
  Scale(metrics.horizontalAdvance(RazidQt::DecodeScoreText(s)), metrics.height(), width, height,
        device);
}

void GFontQt::GetExtent(unsigned char symbol, float* width, float* height, VGDevice* device) const {
  const QChar character = Symbol(symbol);
  int& measured = mSymbolWidths[symbol];
  if (measured < 0) measured = SymbolMetrics().horizontalAdvance(QString(character));
  Scale(measured, SymbolMetrics().height(), width, height, device);
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

void GFontQt::Scale(int width, int height, float* scaledWidth, float* scaledHeight,
                    VGDevice* device) {
  // Only a drawing device has a scale; the measuring device has no painter.
  const bool scaled = device && device->IsValid();
  *scaledWidth = float(width) * (scaled ? device->GetXScale() : 1.0f);
  *scaledHeight = float(height) * (scaled ? device->GetYScale() : 1.0f);
}
