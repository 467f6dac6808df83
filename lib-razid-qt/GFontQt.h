#pragma once

#include <QByteArray>
#include <QChar>
#include <QFont>
#include <QString>

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
  const QString& symbolFontKey() const { return mSymbolFontKey; }

 private:
  void Measure(const QFont& font, const QString& text, float* width, float* height,
               VGDevice* device) const;

  QFont mFont;
  QFont mSymbolFont;
  QString mSymbolFontKey;
  QByteArray mName;
  int mSize;
  int mProperties;
  unsigned int const* mSymbolTable;
};
