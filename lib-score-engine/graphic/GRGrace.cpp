#include "GRGrace.h"

#include <algorithm>

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
  mNotes.erase(std::remove(mNotes.begin(), mNotes.end(), element), mNotes.end());
  GRNotationElement::removeAssociation(element);
}

void GRGrace::AddTail(GRNotationElement* element) {
  GRARCompositeNotationElement::AddTail(element);
  if (mAssociated && mAssociated->GetElementPos(element)) mAssociated->RemoveElement(element);
}

bool GRGrace::hasOneAssociation() const {
  return mAssociated && mAssociated->GetCount() == 1;
}

void GRGrace::tellPosition(GObject* caller, NVPoint const& point) {
  if (!hasOneAssociation()) {
    ZudidOvod("More than one association for GRGrace");
    return;
  }
  setHPosition(point.x - 60);
  auto const* event = dynamic_cast<GRNotationElement const*>(caller);
  if (!event || event != mAssociated->GetHead()) return;
  // Right to left from the event's room on the left, each note's room on the right holding the
  // gap to what follows it; then moved in their order, so that a beam over them is placed once
  // all of them stand.
  std::vector<float> xs(mNotes.size());
  float x = point.x - event->getLeftSpace();
  for (size_t i = mNotes.size(); i-- > 0;) {
    xs[i] = x - mNotes[i]->getRightSpace();
    x = xs[i] - mNotes[i]->getLeftSpace();
  }
  for (size_t i = 0; i < mNotes.size(); ++i) mNotes[i]->setHPosition(xs[i]);
}

void GRGrace::OnDraw(VGDevice& device, VScoreSymbolMap& map) const {
  if (hasOneAssociation()) DrawSubElements(device, map);
}
