#include "GRARNotationElement.h"

#include "ARMusicalObject.h"
#include "src/common/assertion.h"

GRARNotationElement::GRARNotationElement(ARMusicalObject* ar, bool owns)
    : mAbstractRepresentation(ar), mOwnsAR(owns) {
  MELVARIN_ASSERT(mAbstractRepresentation);
  mDurationOfGR = ar->getDuration();
  mRelativeTimePositionOfGR = ar->getRelativeTimePosition();
}

GRARNotationElement::~GRARNotationElement() {
  mAbstractRepresentation->removeGRRepresentation(this);
  if (mOwnsAR) delete mAbstractRepresentation;
}
