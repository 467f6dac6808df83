#include "GRTrill.h"

#include "ARTrill.h"

namespace {
constexpr unsigned int kMordentGlyph = 77;
}  // namespace

GRTrill::GRTrill(GRStaff* staff, ARTrill* ar) : GRFirstNoteMark(staff, ar) {
  if (ar->getType() == ARTrill::MORD) setSymbol(kMordentGlyph);
}

void GRTrill::drawMark(VGDevice& device, VScoreSymbolMap& map) const {
  auto const* trill = static_cast<ARTrill const*>(getAbstractRepresentation());
  if (trill->getType() == ARTrill::MORD)
    GRNotationElement::OnDraw(device, map);
  else
    GRFirstNoteMark::drawMark(device, map);
}

std::optional<NVRect> GRTrill::glyphBoxOn(GRSystem const* system) const {
  if (getSymbol() != kMordentGlyph || !drawnOn(system)) return std::nullopt;
  // Centred on the mark's x, standing on its y: the glyph's ink at size 1.
  constexpr float kHalfWidth = 50.5f;
  constexpr float kHeight = 67;
  NVPoint const at = mPosition + getOffset();
  float const size = getSize();
  return NVRect{at.x - kHalfWidth * size, at.y - kHeight * size, at.x + kHalfWidth * size, at.y};
}

char const* GRTrill::words() const {
  switch (static_cast<ARTrill const*>(getAbstractRepresentation())->getType()) {
    case ARTrill::TRILL:
      return "trill";
    case ARTrill::TURN:
      return "turn";
    default:
      return nullptr;
  }
}
