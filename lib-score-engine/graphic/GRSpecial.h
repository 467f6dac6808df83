#pragma once

#include "GRARNotationElement.h"
#include "GRTag.h"
#include "kf_ilist.h"

class ARSpecial;
class GRFontInfo;
class NVstring;
class VGFont;

// A raw music-font glyph written with the special tag, at its own scale and offset.
//
// The class also keeps the engine's font cache: every font an element needs beyond the two
// start-up fonts (music glyphs at another size, texts in a named font, size and style), made
// once on the registered device's drawing system and kept until the engine stops.
class GRSpecial : public GRARNotationElement, public GRTag {
 public:
  GRSpecial(ARSpecial* special, bool ownsAR);

  // Nothing for a tag in error.
  void OnDraw(VGDevice& device, VScoreSymbolMap& map) const override;
  void getRefPos(int, NVPoint& point) const { point = NVPoint{}; }

  // The cached font of that size, name (the start-up music font's when none) and attribute
  // letters ("b" bold, "i" italic, "u" underline), made when first asked for. Null when it
  // could not be made; that failure is reported once on standard output and remembered.
  static VGFont const* FindOrCreateFont(int size, NVstring const* name = nullptr,
                                        NVstring const* attributes = nullptr);
  static void ReleaseAllFonts();
  static int CachedFontCount();

 private:
  static KF_IPointerList<GRFontInfo> sFontList;
};
