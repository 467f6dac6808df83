#include "GRSpace.h"

#include "ARSpace.h"

GRSpace::GRSpace(ARSpace* space, bool ownsAR) : GRARNotationElement(space, ownsAR) {
  mBoundingBox = NVRect{0, 0, space->getValue(), 0};
}

ARSpace* GRSpace::getARSpace() const {
  return static_cast<ARSpace*>(const_cast<GRSpace*>(this)->getAbstractRepresentation());
}
