#pragma once

#include "ARMTParameter.h"

// One character of the music font, placed by hand ("special"). A character code that cannot be
// read or lies outside 1..255 sets the tag's error, and the tag then draws nothing.
class ARSpecial : public ARMTParameter {
 public:
  void setTagParameterList(TagParameterList& given) override;
  void print() const override;
  void PrintName(std::ostream& os) const override { os << "\\special"; }
  void PrintParameters(std::ostream& os) const override;

  unsigned char getChar() const { return character; }
  // Offsets and the space taken, in layout units.
  float getOffsetX() const { return dx; }
  float getOffsetY() const { return dy; }
  float getSpace() const { return space; }
  float getScale() const { return scale; }

 private:
  // The code a char text gives: its first character, or after a backslash an octal ("\o101"),
  // hexadecimal ("\x41") or decimal ("\65") number; the error is set for any other.
  void ReadCharacter(char const* text);

  float dx = 0.0f;
  float dy = 0.0f;
  float space = 0.0f;
  float scale = 1.0f;
  unsigned char character = 0;
  static ListOfTPLs ltpls;
};
