#include "GRGrace.h"

#include "ARGrace.h"
#include "engine_globals.h"
#include "src/common/assertion.h"

GRGrace::GRGrace(GRStaff* staff, ARGrace* grace)
    : GRARCompositeNotationElement(grace),
      GRPositionTag(grace ? grace->getEndPosition() : nullptr, grace) {
  MELVARIN_ASSERT(staff);
  mGrStaff = staff;
  addFirstStartEnd(staff);
}

void GRGrace::addAssociation(GRNotationElement* element) {
  GRNotationElement::addAssociation(element);
}

void GRGrace::removeAssociation(GRNotationElement* element) {
  GRNotationElement::removeAssociation(element);
}

void GRGrace::AddTail(GRNotationElement* element) {
  GRARCompositeNotationElement::AddTail(element);
  if (mAssociated && mAssociated->GetElementPos(element)) mAssociated->RemoveElement(element);
}

bool GRGrace::hasOneAssociation() const {
  return mAssociated && mAssociated->GetCount() == 1;
}

void GRGrace::tellPosition(GObject*, NVPoint const& point) {
  if (hasOneAssociation())
    setHPosition(point.x - 60);
  else
    ZudidOvod("More than one association for GRGrace");
}

void GRGrace::OnDraw(VGDevice& device, VScoreSymbolMap& map) const {
  if (hasOneAssociation()) DrawSubElements(device, map);
}
