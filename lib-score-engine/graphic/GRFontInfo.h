#pragma once

class NVstring;
class VGFont;

// One entry of the font cache: the font made for a size, a name and attribute letters. The font
// is null when the drawing system could not make it, so the failure is not retried.
class GRFontInfo {
 public:
  GRFontInfo(VGFont const* font, int size, NVstring const* name, NVstring const* attributes);
  GRFontInfo(GRFontInfo const&) = delete;
  GRFontInfo& operator=(GRFontInfo const&) = delete;
  virtual ~GRFontInfo();

  // Equal size, and name and attributes each absent on both sides or equal on both.
  bool Compare(int size, char const* name, char const* attributes) const;
  VGFont const* getFont() const { return mFont; }

 private:
  VGFont const* mFont;
  int mSize;
  NVstring* mName;
  NVstring* mAttributes;
};
