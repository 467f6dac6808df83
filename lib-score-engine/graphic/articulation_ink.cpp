// Where an articulation's glyph puts its ink, each centred on the mark's x.
#include "articulation_ink.h"

#include "GRArticulation.h"

namespace {

struct GlyphReach {
  unsigned int symbol;
  float above;
  float below;
};

constexpr GlyphReach kReaches[] = {
    {44, 49.25f, 0}, {45, 8, 0},  {46, 11.25f, 11.25f}, {62, 42, 0},
    {85, 76.5f, 0},  {94, 55, 0}, {117, 0, 76.5f},      {118, 55, 0},
};

}  // namespace

bool ArticulationGlyphReach(unsigned int symbol, float* above, float* below) {
  for (GlyphReach const& reach : kReaches)
    if (reach.symbol == symbol) {
      *above = reach.above;
      *below = reach.below;
      return true;
    }
  return false;
}

NVRect GRArticulation::inkBox() const {
  NVRect box = mBoundingBox + mPosition + getOffset();
  float above = 0;
  float below = 0;
  if (ArticulationGlyphReach(mSymbol, &above, &below)) {
    float const size = getSize();
    float const base = mPosition.y + getOffset().y + mRefpos.y * size;
    box.top = base - above * size;
    box.bottom = base + below * size;
  }
  return box;
}
