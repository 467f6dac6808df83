#include "GRPTagARNotationElement.h"
#include "ARCast.h"

#include "ARMusicalTag.h"
#include "ARPositionTag.h"
#include "NEPointerList.h"

namespace {
void* EndPositionOf(ARMusicalObject* obj) {
  auto* range = ar_cast<ARPositionTag>(obj);
  return range ? range->getEndPosition() : nullptr;
}
}  // namespace

GRPTagARNotationElement::GRPTagARNotationElement(ARMusicalObject* obj, bool ownsAR)
    : GRPTagARNotationElement(EndPositionOf(obj), obj, ownsAR) {}

GRPTagARNotationElement::GRPTagARNotationElement(void* endPosition, ARMusicalObject* obj,
                                                 bool ownsAR)
    : GRPositionTag(endPosition, ar_cast<ARMusicalTag const>(obj)),
      GRARNotationElement(obj, ownsAR) {}

GRPTagARNotationElement::~GRPTagARNotationElement() {
  if (mAssociated) mAssociated->RemoveAll();
  FreeAssociatedList();
}

void GRPTagARNotationElement::addAssociation(GRNotationElement* element) {
  GRNotationElement::addAssociation(element);
  GRPositionTag::addAssociation(element);
}

void GRPTagARNotationElement::removeAssociation(GRNotationElement* element) {
  GRPositionTag::removeAssociation(element);
  GRNotationElement::removeAssociation(element);
}
