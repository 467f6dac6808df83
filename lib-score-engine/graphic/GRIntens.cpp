#include "GRIntens.h"

#include "ARIntens.h"
#include "GRStaff.h"
#include "VGFont.h"
#include "engine_globals.h"
#include "graphic_globals.h"
#include "src/common/assertion.h"

namespace {
struct IntensGlyph {
  char const* text;
  unsigned int glyph;
};

constexpr IntensGlyph kGlyphs[] = {
    {"p", 112}, {"pp", 132}, {"ppp", 240}, {"pppp", 241}, {"mp", 80},  {"mf", 70},
    {"f", 102}, {"ff", 131}, {"fff", 39},  {"ffff", 242}, {"sf", 243}, {"sfz", 244},
};
}  // namespace

GRIntens::GRIntens(GRStaff* staff, ARIntens* intens) : GRTagARNotationElement(intens, 50) {
  MELVARIN_ASSERT(intens);
  mNeedsSpring = 1;
  sconst = 100;
  mGrStaff = staff;
  for (IntensGlyph const& entry : kGlyphs) {
    if (!intens->getText().equal(entry.text)) continue;
    mSymbol = entry.glyph;
    break;
  }
  if (mSymbol) {
    float width = 0;
    float height = 0;
    if (gGlobalSettings.gDevice && gFontDefs.music.font)
      gFontDefs.music.font->GetExtent(static_cast<unsigned char>(mSymbol), &width, &height,
                                      gGlobalSettings.gDevice);
    mBoundingBox = NVRect{12.5f, height, width, 200};
  }
  mLeftSpace = mRightSpace = 0;
  mPosition.y = staff ? 6 * staff->getLineSpace() : 300;
}

ARIntens* GRIntens::getARIntens() const {
  return static_cast<ARIntens*>(const_cast<GRIntens*>(this)->getAbstractRepresentation());
}
