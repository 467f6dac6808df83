#include "GRPossibleBreakState.h"

#include "GRNotationElement.h"
#include "GRPositionTag.h"
#include "GRRod.h"
#include "GRSpaceForceFunction2.h"
#include "GRStaff.h"
#include "GRStaffManager.h"
#include "GRTag.h"
#include "GRVoice.h"
#include "GRVoiceManager.h"
#include "src/common/assertion.h"

namespace {

GRRod* copyOf(GRRod const* rod) {
  return rod ? new GRRod(*rod) : nullptr;
}

}  // namespace

GRPossibleBreakState::GRStaffAndState::~GRStaffAndState() {
  delete lastrod;
  delete firstrod;
  delete staffstate;
}

void GRPossibleBreakState::GRStaffAndState::setLastRod(GRRod* rod) {
  if (!rod) return;
  delete lastrod;
  lastrod = new GRRod(*rod);
}

void GRPossibleBreakState::GRStaffAndState::setFirstRod(GRRod* rod) {
  if (!rod) return;
  delete firstrod;
  firstrod = new GRRod(*rod);
}

GRPossibleBreakState::GRVoiceTagsAndStaff::~GRVoiceTagsAndStaff() {
  delete grtags;
  delete lastrod;
  delete firstrod;
}

void GRPossibleBreakState::GRVoiceTagsAndStaff::setLastRod(GRRod* rod) {
  delete lastrod;
  lastrod = copyOf(rod);
}

void GRPossibleBreakState::GRVoiceTagsAndStaff::setFirstRod(GRRod* rod) {
  delete firstrod;
  firstrod = copyOf(rod);
}

void GRPossibleBreakState::GRVoiceTagsAndStaff::SaveGRTags(KF_IPointerList<GRTag> const* tags) {
  delete grtags;
  grtags = new KF_IPointerList<GRTagAndPosition>(1);
  if (!tags) return;
  for (void* pos = tags->GetHeadPosition(); pos;) {
    GRTag* tag = tags->GetNext(pos);
    void* at = nullptr;
    if (auto* element = dynamic_cast<GRNotationElement*>(tag))
      if (NEPointerList* associations = element->getAssociations())
        at = associations->GetTailPosition();
    grtags->AddTail(new GRTagAndPosition{tag, at});
  }
}

void GRPossibleBreakState::GRVoiceTagsAndStaff::EndAtBreak() {
  if (!grtags) return;
  for (void* pos = grtags->GetHeadPosition(); pos;) {
    GRTagAndPosition* saved = grtags->GetNext(pos);
    MELVARIN_ASSERT(saved);
    if (auto* positionTag = dynamic_cast<GRPositionTag*>(saved->tag))
      positionTag->BreakTag(curstaff, saved->pos);
  }
}

void GRPossibleBreakState::GRVoiceTagsAndStaff::BeginAfterBreak(GRStaff* newStaff, void* pos) {
  if (!grtags) return;
  for (void* at = grtags->GetHeadPosition(); at;) {
    GRTagAndPosition* saved = grtags->GetNext(at);
    if (!saved || !saved->tag) continue;
    if (auto* positionTag = dynamic_cast<GRPositionTag*>(saved->tag))
      positionTag->ResumeTag(newStaff, saved->pos);
    auto* element = dynamic_cast<GRNotationElement*>(saved->tag);
    if (!element || !newStaff) continue;
    if (pos)
      newStaff->AddElementAt(pos, element);
    else
      newStaff->AddTail(element);
  }
}

GRPossibleBreakState::GRPossibleBreakState()
    : sttfrmts(new KF_IVector<GRStaffAndState>(1)),
      vtsvect(new KF_IVector<GRVoiceTagsAndStaff>(1)) {}

GRPossibleBreakState::~GRPossibleBreakState() {
  delete sttfrmts;
  delete vtsvect;
  delete sff_;
  delete sff2;
}

void GRPossibleBreakState::SaveState(KF_IVector<GRStaff>* staves,
                                     KF_IVector<GRVoiceManager>* managers, GRStaffManager* manager,
                                     Fraction const& time, float secondValue, float breakValue) {
  if (staves) {
    for (int i = staves->GetMinimum(); i <= staves->GetMaximum(); ++i) {
      GRStaff* staff = staves->Get(i);
      if (!staff) continue;
      auto* part = new GRStaffAndState;
      part->pstaff = staff;
      part->setLastRod(staff->getLastRod());
      part->pos = staff->getElements().GetTailPosition();
      part->staffstate = new GRStaffState(staff->getStaffState());
      sttfrmts->Set(i, part);
    }
  }
  saveVoiceParts(managers);
  if (manager) {
    springID = manager->getSpringID();
    simplerodspos = manager->getSimpleRods().GetTailPosition();
    complexrodspos = manager->getComplexRods().GetTailPosition();
    lastsystemrod = manager->getLastSystemRod();
    firstsystemrod = manager->getFirstSystemRod();
  }
  tp = time;
  value2 = secondValue;
  value = breakValue;
}

void GRPossibleBreakState::saveVoiceParts(KF_IVector<GRVoiceManager>* managers) {
  if (!managers) return;
  for (int i = managers->GetMinimum(); i <= managers->GetMaximum(); ++i) {
    GRVoiceManager* voiceManager = managers->Get(i);
    if (!voiceManager) continue;
    auto* part = new GRVoiceTagsAndStaff;
    part->vm = voiceManager;
    part->staffnum = voiceManager->getStaffNumber();
    part->SaveGRTags(voiceManager->getOpenTags());
    part->curstaff = voiceManager->getCurStaff();
    if (GRVoice* voice = voiceManager->getGRVoice()) {
      part->setLastRod(voice->getLastRod());
      part->setFirstRod(voice->getFirstRod());
    }
    vtsvect->Set(i, part);
  }
}

void GRPossibleBreakState::ChangeStaffPointers(KF_IVector<GRStaff>* newStaves,
                                               GRPossibleBreakState* other) {
  MELVARIN_ASSERT(newStaves);
  for (int i = sttfrmts->GetMinimum(); i <= sttfrmts->GetMaximum(); ++i) {
    GRStaffAndState* part = sttfrmts->Get(i);
    if (!part) continue;
    part->pstaff = newStaves->Get(i);
    if (!other || !part->pstaff) continue;
    GRStaffAndState* otherPart = other->getStaffAndState(i);
    if (otherPart && !otherPart->pos) part->pos = part->pstaff->getElements().GetTailPosition();
  }
  for (int i = vtsvect->GetMinimum(); i <= vtsvect->GetMaximum(); ++i) {
    GRVoiceTagsAndStaff* part = vtsvect->Get(i);
    MELVARIN_ASSERT(part);
    part->curstaff = newStaves->Get(part->vm->getStaffNumber());
  }
}
