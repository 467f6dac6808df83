// Joining the spacing of two neighbouring slices across the break between them. No layout
// path breaks at a saved state, so this stands ready for a line breaker that merges slices.

#include "GRPossibleBreakState.h"
#include "GRRod.h"
#include "GRSpaceForceFunction2.h"
#include "GRSpring.h"
#include "GRStaffManager.h"
#include "GRVoice.h"
#include "GRVoiceManager.h"
#include "src/common/assertion.h"

namespace {

// The voice's rod across both slices, as long as the two together.
GRRod* joinedRod(GRRod const* a, GRRod const* b) {
  if (!a) return b ? new GRRod(*b) : nullptr;
  if (!b) return new GRRod(*a);
  float second = b->getLength();
  const bool bothFlagged = a->getIsMarked() && b->getIsMarked() && a->getSpr2() == b->getSpr2();
  if (bothFlagged) second = 0;
  auto* rod = new GRRod(a->getLength() + second, a->getSpr1(), b->getSpr2());
  rod->setIsMarked(bothFlagged);
  return rod;
}

void addInRodOrder(GRRodList& simple, GRRodList& complex, GRRod* rod) {
  (rod->getSpr2() == rod->getSpr1() + 1 ? simple : complex).insert(rod, false);
}

}  // namespace

void GRStaffManager::MergeSPFs(GRPossibleBreakState* pbs1, GRPossibleBreakState* pbs2) {
  MELVARIN_ASSERT(pbs1);
  MELVARIN_ASSERT(mLastSpringID == pbs1->springID);
  GRRodList simple;
  GRRodList complex;
  int first = mLastSpringID;
  int end = pbs2 ? pbs2->springID : mSpringID;
  KF_IVector<GRPossibleBreakState::GRVoiceTagsAndStaff>* voices = pbs1->getVoiceParts();
  for (int i = voices->GetMinimum(); i <= voices->GetMaximum(); ++i) {
    GRPossibleBreakState::GRVoiceTagsAndStaff* vts1 = voices->Get(i);
    MELVARIN_ASSERT(vts1);
    GRRod const* second = nullptr;
    if (pbs2) {
      if (auto* vts2 = pbs2->getVoiceTagsAndStaff(i)) second = vts2->lastrod;
    } else if (vts1->vm && vts1->vm->getGRVoice()) {
      second = vts1->vm->getGRVoice()->getLastRod();
    }
    GRRod* rod = joinedRod(vts1->lastrod, second);
    if (!rod) continue;
    if (rod->getSpr1() < first) first = rod->getSpr1();
    if (rod->getSpr2() > end) end = rod->getSpr2();
    addInRodOrder(simple, complex, rod);
  }
  GRSpring* before = mSprings->Get(mLastSpringID - 1);
  GRSpring* after = mSprings->Get(mLastSpringID);
  if (before && after) {
    const float distance = before->GetMaxDistance(after);
    if (distance > 0)
      addInRodOrder(simple, complex, new GRRod(distance, mLastSpringID - 1, mLastSpringID));
  }
  for (GRRodList const* own : {mSimpleRods, mComplexRods}) {
    for (void* pos = own->rods().GetHeadPosition(); pos;) {
      GRRod const* rod = own->rods().GetNext(pos);
      if (rod->getSpr1() >= first && rod->getSpr2() <= end)
        addInRodOrder(simple, complex, new GRRod(*rod));
    }
  }
  for (int id = first; id < end; ++id) {
    GRSpring* spring = mSprings->Get(id);
    if (!spring) continue;
    mSpaceForceFunction->deleteSpring(spring);
    spring->change_x(0);
  }
  InitialSpringStretch(first, end, &simple, &complex, mSprings);
  for (int id = first; id < end; ++id) {
    GRSpring* spring = mSprings->Get(id);
    if (!spring) continue;
    mSpaceForceFunction->addSpring(spring);
    if (spring->isFrozen()) mSpaceForceFunction->FreezeSpring(spring);
  }
}

void GRStaffManager::BreakAtPBS(void*) {
  MELVARIN_ASSERT(false);
}
