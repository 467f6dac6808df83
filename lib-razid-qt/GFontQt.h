#pragma once

#include <QByteArray>
#include <QChar>
#include <QFont>
#include <QFontMetrics>
#include <QString>
#include <array>
#include <optional>

#include "VGFont.h"

// A font of the Qt drawing system. Texts are measured and drawn with the font as made; music
// symbols with a copy that never borrows a glyph from another face, so a missing symbol shows as
// missing. Widths and heights come out multiplied by the scale of the device they are measured
// on, when that device draws.
class GFontQt : public VGFont {
 public:
  // The symbol table is not owned; the drawing system hands out its static one.
  GFontQt(const QFont& font, char const* name, int size, int properties,
          unsigned int const* symbolTable);

  char const* GetName() const override { return mName.constData(); }
  int GetSize() const override { return mSize; }
  int GetProperties() const override { return mProperties; }
  void GetExtent(char const* s, int count, float* width, float* height,
                 VGDevice* device) const override;
  void GetExtent(unsigned char symbol, float* width, float* height,
                 VGDevice* device) const override;

  // The music font's character for a symbol code; a code without one is reported on standard
  // output and gives character 1, which draws nothing.
  QChar Symbol(unsigned int code) const;

  const QFont& textFont() const { return mFont; }
  const QFont& symbolFont() const { return mSymbolFont; }
  // Identifies the symbol font among all fonts, for images of its symbols kept beyond its life.
  // Made when first asked: only a font whose symbols are drawn on pixels needs it.
  const QString& symbolFontKey() const;

 private:
  static void Scale(int width, int height, float* scaledWidth, float* scaledHeight,
                    VGDevice* device);
  const QFontMetrics& TextMetrics() const;
  const QFontMetrics& SymbolMetrics() const;

  QFont mFont;
  QFont mSymbolFont;
  mutable QString mSymbolFontKey;
  // The metrics of each font, and the width of each symbol code, taken when first asked for:
  // the engine measures the same few symbols over and over.
  mutable std::optional<QFontMetrics> mTextMetrics;
  mutable std::optional<QFontMetrics> mSymbolMetrics;
  mutable std::array<int, 256> mSymbolWidths;
  QByteArray mName;
  int mSize;
  int mProperties;
  unsigned int const* mSymbolTable;
};
