#include "GRTrill.h"

#include <algorithm>

#include "ARTrill.h"
#include "GRStaff.h"
#include "NEPointerList.h"

namespace {
constexpr unsigned int kMordentGlyph = 77;
}  // namespace

GRTrill::GRTrill(GRStaff* staff, ARTrill* ar) : GRFirstNoteMark(staff, ar) {
  if (ar->getType() == ARTrill::MORD) setSymbol(kMordentGlyph);
}

void GRTrill::tellPosition(GObject* caller, NVPoint const& point) {
  NEPointerList const* list = getAssociations();
  if (!list || list->GetCount() == 0 || caller != list->GetHead()) return;
  // A space over the top line, or over the note and its stem when they reach higher: the sign
  // and the words stand on that line, clear of the staff and of the head.
  auto const* note = static_cast<GRNotationElement const*>(caller);
  float const space = mGrStaff ? mGrStaff->getLineSpace() : 50;
  float const top = std::min(0.f, note->getPosition().y + note->getBoundingBox().top);
  setPosition(NVPoint{point.x, top - space});
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
