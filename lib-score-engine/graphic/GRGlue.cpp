#include "GRGlue.h"

#include "GRStaff.h"

GRGlue::GRGlue(GRStaff* staff, int kind) : mKind(kind), mSConst(kind == START_GLUE ? 50 : 100) {
  mGrStaff = staff;
  mNeedsSpring = 1;
  mRightSpace = staff ? staff->getLineSpace() : 50;
}

GRGlue::~GRGlue() {
  if (mPartner && !IsWholeLayoutGoing()) mPartner->removeAssociation(this);
}
