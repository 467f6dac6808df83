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
  int repeat;
  char const* warning;
};

constexpr IntensGlyph kGlyphs[] = {
    {"p", 112, 0, nullptr},
    {"pp", 132, 0, nullptr},
    {"ppp", 112, 3, "ppp not supported yet"},
    {"pppp", 132, 2, "pppp not supported yet"},
    {"mp", 80, 0, nullptr},
    {"mf", 70, 0, nullptr},
    {"f", 102, 0, nullptr},
    {"ff", 131, 0, nullptr},
    {"fff", 39, 0, nullptr},
    {"ffff", 115, 0, nullptr},
    {"sf", 83, 0, nullptr},
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
    mRepeat = entry.repeat;
    if (entry.warning) ZudidOvod(entry.warning);
    break;
  }
  if (mSymbol) {
    float width = 0;
    float height = 0;
    if (gGlobalSettings.gDevice && gFontDefs.music.font)
      gFontDefs.music.font->GetExtent(static_cast<unsigned char>(mSymbol), &width, &height,
                                      gGlobalSettings.gDevice);
    mBoundingBox = NVRect{12.5f, height, width, 200};
    if (mRepeat) mBoundingBox.right = mRepeat * width;
  }
  mLeftSpace = mRightSpace = 0;
  mPosition.y = staff ? 6 * staff->getLineSpace() : 300;
}

ARIntens* GRIntens::getARIntens() const {
  return static_cast<ARIntens*>(const_cast<GRIntens*>(this)->getAbstractRepresentation());
}
