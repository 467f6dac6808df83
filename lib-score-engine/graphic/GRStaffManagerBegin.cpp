// The opening of a new system: the begin slice with the clef, key and meter in force at the
// break, the spanners carried over from the previous system, and the merge of two slices'
// spacing.

#include "GRPossibleBreakState.h"
#include "GRRod.h"
#include "GRSpaceForceFunction2.h"
#include "GRSpring.h"
#include "GRStaff.h"
#include "GRStaffManager.h"
#include "GRSystem.h"
#include "GRSystemSlice.h"
#include "GRVoice.h"
#include "GRVoiceManager.h"
#include "src/common/assertion.h"

namespace {

// Every saved voice that has spanners open at the break.
template <class Action>
void forEachVoiceWithOpenTags(GRPossibleBreakState const* state, Action action) {
  if (!state) return;
  KF_IVector<GRPossibleBreakState::GRVoiceTagsAndStaff>* voices = state->getVoiceParts();
  for (int i = voices->GetMinimum(); i <= voices->GetMaximum(); ++i) {
    GRPossibleBreakState::GRVoiceTagsAndStaff* part = voices->Get(i);
    if (part && part->grtags && !part->grtags->IsEmpty()) action(*part);
  }
}

}  // namespace

GRSystemSlice* GRStaffManager::CreateBeginSlice(GRSystemSlice const* last) {
  GRPossibleBreakState* state = last ? last->getPossibleBreakState() : nullptr;
  if (!state) return nullptr;
  auto* slice = new GRSystemSlice(this, state->tp);
  KF_IVector<GRPossibleBreakState::GRStaffAndState>* staves = state->getStaffParts();
  for (int n = staves->GetMinimum(); n <= staves->GetMaximum(); ++n) {
    GRPossibleBreakState::GRStaffAndState* part = staves->Get(n);
    if (!part || !part->staffstate) continue;
    auto* staff = new GRStaff(slice);
    slice->addStaff(staff, n);
    staff->CreateBeginElements(this, *part->staffstate, n);
  }

  // The begin springs take the ids just before the break, which the previous system left.
  mSpringID = last->getEndSpringID() - mSyncTable.getList()->GetCount();
  const int first = mSpringID;
  auto* startSpring = new GRSpring(state->tp, Frac_0);
  startSpring->change_const(50);
  addSpring(startSpring);
  FinishSyncSlice(state->tp);
  MELVARIN_ASSERT(mSpringID == state->springID);
  slice->setSpringIDs(first, mSpringID - 1);

  for (void* pos = mSimpleRods->GetHeadPosition(); pos;) {
    void* here = pos;
    GRRod* rod = mSimpleRods->GetNext(pos);
    if (rod->getSpr1() >= first && rod->getSpr2() <= mSpringID) mSimpleRods->RemoveElementAt(here);
  }

  const int lowest = mSprings->GetMinimum();
  int lowestStaff = 0;
  int highestStaff = -1;
  slice->getStaffRange(lowestStaff, highestStaff);
  for (int n = lowestStaff; n <= highestStaff; ++n) {
    GRStaff* staff = slice->getStaff(n);
    if (!staff) continue;
    staff->BeginStaff(this);
    int from = lowest;
    int end = mSpringID;
    staff->createNewRods(this, from, end);
  }
  InitialSpringStretch(lowest, mSpringID, mSimpleRods, mComplexRods, mSprings);
  auto* sff = new GRSpaceForceFunction2;
  for (int id = lowest; id < mSpringID; ++id)
    if (GRSpring* spring = mSprings->Get(id)) sff->addSpring(spring);
  slice->setSpaceForceFunction(sff);
  return slice;
}

void GRStaffManager::ResumeOpenTags(GRSystemSlice const* last, GRSystemSlice* begin) {
  if (!last || !begin) return;
  forEachVoiceWithOpenTags(last->getPossibleBreakState(),
                           [begin](GRPossibleBreakState::GRVoiceTagsAndStaff& part) {
                             part.BeginAfterBreak(begin->getStaff(part.staffnum), nullptr);
                           });
}

void GRStaffManager::TakeCareOfBreakAt(GRSystem* system) {
  if (!system || system->getSlices().IsEmpty()) return;
  forEachVoiceWithOpenTags(
      system->getSlices().GetTail()->getPossibleBreakState(),
      [](GRPossibleBreakState::GRVoiceTagsAndStaff& part) { part.EndAtBreak(); });
}

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

void addInRodOrder(KF_IPointerList<GRRod>& simple, KF_IPointerList<GRRod>& complex, GRRod* rod) {
  (rod->getSpr2() == rod->getSpr1() + 1 ? simple : complex).AddTail(rod);
}

}  // namespace

void GRStaffManager::MergeSPFs(GRPossibleBreakState* pbs1, GRPossibleBreakState* pbs2) {
  MELVARIN_ASSERT(pbs1);
  MELVARIN_ASSERT(mLastSpringID == pbs1->springID);
  KF_IPointerList<GRRod> simple(1);
  KF_IPointerList<GRRod> complex(1);
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
  for (KF_IPointerList<GRRod>* own : {mSimpleRods, mComplexRods}) {
    for (void* pos = own->GetHeadPosition(); pos;) {
      GRRod const* rod = own->GetNext(pos);
      if (rod->getSpr1() >= first && rod->getSpr2() <= end)
        addInRodOrder(simple, complex, new GRRod(*rod));
    }
  }
  simple.sort(rodpcomp);
  complex.sort(rodpcomp);
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
