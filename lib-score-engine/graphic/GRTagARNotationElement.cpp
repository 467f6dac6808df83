#include "GRTagARNotationElement.h"
#include "ARCast.h"

#include <algorithm>

#include "ARMusicalTag.h"

GRTagARNotationElement::GRTagARNotationElement(ARMusicalObject* obj, float lineSpace, bool ownsAR)
    : GRTag(ar_cast<ARMusicalTag const>(obj), lineSpace), GRARNotationElement(obj, ownsAR) {}

void GRTagARNotationElement::standInkFrom(float lead, float air) {
  if (mRightSpaceAtPlace < 0) mRightSpaceAtPlace = mRightSpace;
  moveInk(std::max(0.0f, inkLead() - lead) - mInkShift);
  mRightSpace = std::max(mRightSpace, inkRight() + mInkShift + air);
}

void GRTagARNotationElement::moveInk(float dx) {
  offset.x += dx;
  mBoundingBox.left += dx;
  mBoundingBox.right += dx;
  mInkShift += dx;
}

void GRTagARNotationElement::standAtPlace() {
  moveInk(-mInkShift);
  if (mRightSpaceAtPlace >= 0) mRightSpace = mRightSpaceAtPlace;
}
