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
  switch (trill->getType()) {
    case ARTrill::MORD:
      GRNotationElement::OnDraw(device, map);
      break;
    case ARTrill::TRILL:
      drawText(device, "trill");
      break;
    case ARTrill::TURN:
      drawText(device, "turn");
      break;
  }
}
