#include "GRRange.h"

#include "ARMusicalTag.h"
#include "ARPositionTag.h"
#include "GREvent.h"
#include "src/common/assertion.h"

namespace {
void* EndOf(ARMusicalTag* tag) {
  auto* range = dynamic_cast<ARPositionTag*>(tag);
  return range ? range->getEndPosition() : nullptr;
}
}  // namespace

GRRange::GRRange(GRStaff* staff, ARMusicalTag* tag)
    : GRARNotationElement(tag), GRPositionTag(EndOf(tag), tag), mTag(tag) {
  MELVARIN_ASSERT(staff);
  setGRStaff(staff);
  addFirstStartEnd(staff);
}

void GRRange::addAssociation(GRNotationElement* element) {
  if (element && element->isGREventClass()) static_cast<GREvent*>(element)->addArticulation(mTag);
}

void GRRange::removeAssociation(GRNotationElement*) {
  MELVARIN_ASSERT(false);
}
