#include "GRBreathMark.h"

#include "articulation_ink.h"

#include "ARMusicalTag.h"

GRBreathMark::GRBreathMark(ARMusicalTag* tag) : GRTagARNotationElement(tag, 50) {
  mSymbol = sBreathMarkSymbol;
  mNeedsSpring = 1;
  mPosition.y = -75;
  mRefpos = NVPoint{-12.5f - GetSymbolExtent(mSymbol), 0};
}

NVRect GRBreathMark::inkBox() const {
  // The glyph starts at its drawn x.
  float above = 0;
  float below = 0;
  ArticulationGlyphReach(mSymbol, &above, &below);
  float const size = getSize();
  NVPoint const at{mPosition.x + getOffset().x + mRefpos.x * size,
                   mPosition.y + getOffset().y + mRefpos.y * size};
  return NVRect{at.x, at.y - above * size, at.x + GetSymbolExtent(mSymbol) * size,
                at.y + below * size};
}
