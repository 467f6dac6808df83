#include "GRTrill.h"

#include "ARTrill.h"
#include "VGDevice.h"
#include "graphic_globals.h"

namespace {
constexpr unsigned int kMordentGlyph = 77;
}  // namespace

GRTrill::GRTrill(GRStaff* staff, ARTrill* ar) : GRFirstNoteMark(staff, ar) {
  if (ar->getType() == ARTrill::MORD) setSymbol(kMordentGlyph);
}

void GRTrill::drawMark(VGDevice& device, VScoreSymbolMap& map) const {
  auto const* trill = static_cast<ARTrill const*>(getAbstractRepresentation());
  if (trill->getType() == ARTrill::MORD) {
    float const rise = stackRiseOn(gCurSystem);
    device.OffsetOrigin(0, rise);
    GRNotationElement::OnDraw(device, map);
    device.OffsetOrigin(0, -rise);
  } else
    GRFirstNoteMark::drawMark(device, map);
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
