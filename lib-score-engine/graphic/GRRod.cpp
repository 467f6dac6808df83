#include "GRRod.h"

#include "GRNotationElement.h"
#include "GRSpaceForceFunction2.h"
#include "GRSpring.h"
#include "src/common/assertion.h"

namespace {

int endIdOf(GRNotationElement const* b, int defaultEnd) {
  const int id = b->getSpringID();
  return id < 0 ? defaultEnd : id;
}

}  // namespace

GRRod::GRRod(GRNotationElement const* a, GRNotationElement const* b, int defaultEnd, float length)
    : mFirst(a->getSpringID()), mEnd(endIdOf(b, defaultEnd)), mLength(length) {}

GRRod::GRRod(GRNotationElement const* a, GRNotationElement const* b, int defaultEnd)
    : GRRod(a, b, defaultEnd, a->getRightSpace() + b->getLeftSpace()) {}

GRRod::GRRod(float length, int first, int end) : mFirst(first), mEnd(end), mLength(length) {}

GRRod::GRRod(GRRod const& other)
    : mMarker(other.mMarker), mFirst(other.mFirst), mEnd(other.mEnd), mLength(other.mLength) {}

float GRRod::calcforce(KF_IVector<GRSpring>* springs) {
  if (mForce >= 0) return mForce;
  GRSpaceForceFunction2 sff;
  for (int id = mFirst; id < mEnd; ++id) {
    GRSpring* spring = springs->Get(id);
    if (!spring) continue;
    sff.addSpring(spring);
    if (spring->isFrozen()) sff.FreezeSpring(spring);
  }
  if (sff.getExtent(0) >= mLength) {
    mForce = 0;
  } else {
    mForce = sff.getForce(mLength);
    // Every covered spring is frozen: the last one has to give.
    if (mForce < 0) {
      if (GRSpring* last = springs->Get(mEnd - 1)) sff.UnfreezeSpring(last);
      mForce = sff.getForce(mLength);
    }
  }
  MELVARIN_ASSERT(mForce >= 0);
  return mForce;
}

float GRRod::calclength(float inForce, KF_IVector<GRSpring>* springs) const {
  MELVARIN_ASSERT(inForce >= 0);
  float length = 0;
  for (int id = mFirst; id < mEnd; ++id) {
    GRSpring const* spring = springs->Get(id);
    if (!spring) continue;
    length += (spring->isFrozen() || spring->getForce() > inForce) ? spring->getExtent()
                                                                   : spring->apply_force(inForce);
  }
  return length;
}

float GRRod::stretchsprings(float inForce, KF_IVector<GRSpring>* springs) const {
  MELVARIN_ASSERT(inForce >= 0);
  bool allFrozen = true;
  for (int id = mFirst; id < mEnd; ++id)
    if (GRSpring const* spring = springs->Get(id); spring && !spring->isFrozen()) allFrozen = false;
  float length = 0;
  for (int id = mFirst; id < mEnd; ++id) {
    GRSpring* spring = springs->Get(id);
    if (!spring) continue;
    if (!spring->isFrozen()) {
      if (spring->getForce() < inForce) spring->change_force(inForce);
    } else if (allFrozen && id == mEnd - 1) {
      spring->setFrozen(0);
      spring->change_force(inForce);
      spring->setFrozen(1);
    }
    length += spring->getExtent();
  }
  return length;
}

int GRRod::resetForce(GRRod const& other) {
  if (mForce < 0) return 0;
  const int a1 = mFirst, a2 = mEnd, b1 = other.mFirst, b2 = other.mEnd;
  const bool overlaps = (a1 < b2 && b2 <= a2) || (a1 <= b1 && b1 < a2) || (b1 <= a1 && b2 >= a2);
  if (!overlaps) return 0;
  mForce = -1;
  return 1;
}

int GRRod::operator<(GRRod const& other) const {
  const bool single = mEnd == mFirst + 1;
  const bool otherSingle = other.mEnd == other.mFirst + 1;
  if (single != otherSingle) return single ? -1 : 1;
  if (mFirst < other.mFirst) return -1;
  return mFirst > other.mFirst ? 1 : 0;
}
