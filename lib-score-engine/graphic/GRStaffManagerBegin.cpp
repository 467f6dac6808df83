// The opening of a new system: the begin slice with the clef, key and meter in force at the
// break, and the spanners carried over from the previous system.

#include <typeinfo>
#include <vector>

#include "ARCast.h"
#include "ARKey.h"
#include "GRBar.h"
#include "GRClef.h"
#include "GRGlue.h"
#include "GRJump.h"
#include "GRKey.h"
#include "GRMeter.h"
#include "GRPositionTag.h"
#include "GRPossibleBreakState.h"
#include "GRRepeatBegin.h"
#include "GRRod.h"
#include "GRSText.h"
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

// What a staff of the slice that opens a line writes at its very start, before its first event:
// a clef, a key, the naturals of a key change and an octava's mark. The line opens with that
// clef and key in place of those carried over, and none of them is drawn a second time after
// them; an octava that begins or ends there shows its own mark, not the one carried over.
struct OpeningTags {
  GRClef* clef = nullptr;
  GRKey* key = nullptr;
  std::vector<GRKey*> naturals;
  bool octava = false;
};

OpeningTags OpeningTagsOf(GRSystemSlice const* slice, int staffNumber) {
  OpeningTags opening;
  GRStaff const* staff = slice ? slice->getStaff(staffNumber) : nullptr;
  if (!staff) return opening;
  NEPointerList const& elements = staff->getElements();
  for (void* pos = elements.GetHeadPosition(); pos;) {
    GRNotationElement* element = elements.GetNext(pos);
    if (element->getRelativeTimePosition() > slice->getRelativeTimePosition()) break;
    if (element->isGREventClass()) break;
    if (auto* clef = dynamic_cast<GRClef*>(element); clef && !clef->getError() && !opening.clef)
      opening.clef = clef;
    if (auto* key = dynamic_cast<GRKey*>(element); key && !key->getError()) {
      if (key->isNatural())
        opening.naturals.push_back(key);
      else
        opening.key = key;
    }
    if (ar_cast<GRSText>(element)) opening.octava = true;
  }
  return opening;
}

// The bar line that a repeat sign standing after it hides, when the line breaks between them:
// the line before then ends with that bar line, and the repeat sign opens the next one.
GRBar* BarEndingLineBeforeRepeat(GRSystemSlice const* last, GRSystemSlice const* next,
                                 int staffNumber) {
  GRStaff const* before = last ? last->getStaff(staffNumber) : nullptr;
  GRStaff const* after = next ? next->getStaff(staffNumber) : nullptr;
  if (!before || !after) return nullptr;
  Fraction const& breakTime = next->getRelativeTimePosition();
  bool repeatOpens = false;
  NEPointerList const& opening = after->getElements();
  for (void* pos = opening.GetHeadPosition(); pos && !repeatOpens;) {
    GRNotationElement* element = opening.GetNext(pos);
    if (element->getRelativeTimePosition() > breakTime || element->isGREventClass()) break;
    auto const* repeat = dynamic_cast<GRRepeatBegin const*>(element);
    repeatOpens = repeat && !repeat->getError();
  }
  if (!repeatOpens) return nullptr;
  NEPointerList const& ending = before->getElements();
  for (void* pos = ending.GetTailPosition(); pos;) {
    GRNotationElement* element = ending.GetPrev(pos);
    if (dynamic_cast<GRGlue*>(element) || dynamic_cast<GRPositionTag*>(element)) continue;
    auto* bar = typeid(*element) == typeid(GRBar) ? static_cast<GRBar*>(element) : nullptr;
    if (bar && bar->getError() && bar->getRelativeTimePosition() == breakTime) return bar;
    return nullptr;
  }
  return nullptr;
}

// A meter that stood clear of the bar line before it opens the line instead: it follows the
// line's clef and key at its place.
void StandOpeningMetersAtPlace(GRSystemSlice const* slice, int staffNumber) {
  GRStaff const* staff = slice ? slice->getStaff(staffNumber) : nullptr;
  if (!staff) return;
  NEPointerList const& elements = staff->getElements();
  for (void* pos = elements.GetHeadPosition(); pos;) {
    GRNotationElement* element = elements.GetNext(pos);
    if (element->getRelativeTimePosition() > slice->getRelativeTimePosition()) break;
    if (element->isGREventClass()) break;
    if (auto* meter = dynamic_cast<GRMeter*>(element)) meter->standAtPlace();
  }
}

// A spring that holds only tags drawn elsewhere.
bool HoldsOnlyHiddenTags(GRSpring const* spring) {
  KF_IPointerList<GRNotationElement> const& elements = spring->getElements();
  if (elements.IsEmpty()) return false;
  for (void* pos = elements.GetHeadPosition(); pos;) {
    auto const* tag = dynamic_cast<GRTag const*>(elements.GetNext(pos));
    if (!tag || !tag->getError()) return false;
  }
  return true;
}

// The first spring of a slice that puts something on the line, past those that hold only tags
// drawn elsewhere.
GRSpring* FirstShownSpring(GRSystemSlice const& slice, KF_IVector<GRSpring>& springs) {
  for (int id = slice.getStartSpringID(); id <= slice.getEndSpringID(); ++id) {
    GRSpring* spring = springs.Get(id);
    if (spring && !HoldsOnlyHiddenTags(spring)) return spring;
  }
  return nullptr;
}

// Jump marks written to end over the bar line before them start at their place when they open
// a line: taking their room there would push the line's music off by the width of their words.
void OpenLineWithJumps(GRSpring const& spring) {
  KF_IPointerList<GRNotationElement> const& elements = spring.getElements();
  for (void* pos = elements.GetHeadPosition(); pos;)
    if (auto* jump = dynamic_cast<GRJump*>(elements.GetNext(pos))) jump->openLine();
}

}  // namespace

GRSystemSlice* GRStaffManager::CreateBeginSlice(GRSystemSlice const* last, GRSystemSlice* next) {
  GRPossibleBreakState* state = last ? last->getPossibleBreakState() : nullptr;
  if (!state) return nullptr;
  auto* slice = new GRSystemSlice(this, state->tp);
  KF_IVector<GRPossibleBreakState::GRStaffAndState>* staves = state->getStaffParts();
  for (int n = staves->GetMinimum(); n <= staves->GetMaximum(); ++n) {
    GRPossibleBreakState::GRStaffAndState* part = staves->Get(n);
    if (!part || !part->staffstate) continue;
    auto* staff = new GRStaff(slice);
    slice->addStaff(staff, n);
    if (GRBar* bar = BarEndingLineBeforeRepeat(last, next, n)) bar->setError(0);
    GRStaffState carried = *part->staffstate;
    OpeningTags const opening = OpeningTagsOf(next, n);
    StandOpeningMetersAtPlace(next, n);
    if (opening.clef) {
      carried.curclef = opening.clef->getARClef();
      opening.clef->setError(1);
    }
    if (opening.key) {
      carried.curkey = static_cast<ARKey*>(opening.key->getAbstractRepresentation());
      opening.key->setError(1);
    }
    for (GRKey* natural : opening.naturals) natural->setError(1);
    if (opening.octava) carried.octava = 0;
    staff->CreateBeginElements(this, carried, n);
  }
  if (next) closeUpHiddenOpening(*next);

  // The begin springs take the ids just before the break, which the previous system left.
  mSpringID = last->getEndSpringID() - mSyncTable.getList()->GetCount();
  const int first = mSpringID;
  auto* startSpring = new GRSpring(state->tp, Frac_0);
  startSpring->change_const(50);
  addSpring(startSpring);
  // A tempo mark still waiting for its event belongs to the walk's slice, not to a begin slice.
  makeSyncSprings(state->tp);
  MELVARIN_ASSERT(mSpringID == state->springID);
  slice->setSpringIDs(first, mSpringID - 1);

  // The rods starting on those ids held the previous system's last springs apart, and a rod
  // keeps the force it was found to need: left in place, one between two of its signs (a key
  // change and a text) would stretch the new line's glue and clef to that force.
  mSimpleRods->removeStartingIn(first, mSpringID);
  mComplexRods->removeStartingIn(first, mSpringID);

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
  // The rod that kept the line's first notes clear of what stood before them (the signs of a
  // chord after a bar line) started on a spring the begin slice now reuses: they keep the same
  // room after the begin glue as after an explicit new line.
  GRSpring* glue = mSprings->Get(mSpringID - 1);
  GRSpring* opening =
      next && next->getStartSpringID() == mSpringID ? FirstShownSpring(*next, *mSprings) : nullptr;
  if (glue && opening) {
    OpenLineWithJumps(*opening);
    const float room = glue->GetMaxDistance(opening);
    if (room > 0) addRod(new GRRod(room, mSpringID - 1, mSpringID), false, false, 0);
  }
  InitialSpringStretch(lowest, mSpringID, mSimpleRods, mComplexRods, mSprings);
  auto* sff = new GRSpaceForceFunction2;
  for (int id = lowest; id < mSpringID; ++id)
    if (GRSpring* spring = mSprings->Get(id)) sff->addSpring(spring);
  slice->setSpaceForceFunction(sff);
  return slice;
}

void GRStaffManager::closeUpHiddenOpening(GRSystemSlice& slice) {
  GRSpaceForceFunction2* sff = slice.getSpacing();
  if (!sff) return;
  // The line's first element then stands after the begin slice's glue, as at the start of any
  // line.
  for (int id = slice.getStartSpringID(); id <= slice.getEndSpringID(); ++id) {
    GRSpring* spring = mSprings->Get(id);
    if (!spring) continue;
    if (spring->holdsEvent()) break;
    if (!HoldsOnlyHiddenTags(spring)) continue;
    sff->deleteSpring(spring);
    spring->change_x(0);
    sff->addSpring(spring);
    sff->FreezeSpring(spring);
  }
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
