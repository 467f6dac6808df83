// The opening of a new system: the begin slice with the clef, key and meter in force at the
// break, and the spanners carried over from the previous system.

#include "GRClef.h"
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
#include "NEPointerList.h"
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

// A clef written at the very start of the slice that opens a line: the line opens with it in
// place of the clef carried over, and it is not drawn a second time after it.
GRClef* OpeningClef(GRSystemSlice const* slice, int staffNumber) {
  GRStaff const* staff = slice ? slice->getStaff(staffNumber) : nullptr;
  if (!staff) return nullptr;
  NEPointerList const& elements = staff->getElements();
  for (void* pos = elements.GetHeadPosition(); pos;) {
    GRNotationElement* element = elements.GetNext(pos);
    if (element->getRelativeTimePosition() > slice->getRelativeTimePosition()) return nullptr;
    if (element->isGREventClass()) return nullptr;
    auto* clef = dynamic_cast<GRClef*>(element);
    if (clef && !clef->getError()) return clef;
  }
  return nullptr;
}

}  // namespace

GRSystemSlice* GRStaffManager::CreateBeginSlice(GRSystemSlice const* last,
                                                GRSystemSlice const* next) {
  GRPossibleBreakState* state = last ? last->getPossibleBreakState() : nullptr;
  if (!state) return nullptr;
  auto* slice = new GRSystemSlice(this, state->tp);
  KF_IVector<GRPossibleBreakState::GRStaffAndState>* staves = state->getStaffParts();
  for (int n = staves->GetMinimum(); n <= staves->GetMaximum(); ++n) {
    GRPossibleBreakState::GRStaffAndState* part = staves->Get(n);
    if (!part || !part->staffstate) continue;
    auto* staff = new GRStaff(slice);
    slice->addStaff(staff, n);
    GRStaffState state = *part->staffstate;
    if (GRClef* opening = OpeningClef(next, n)) {
      state.curclef = opening->getARClef();
      opening->setError(1);
    }
    staff->CreateBeginElements(this, state, n);
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

  // The simple rods that lie inside the begin springs: those starting there.
  mSimpleRods->removeStartingIn(first, mSpringID);

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
