// The walk of one voice: positions, passes, status codes, breaks and the registration of the
// elements for spacing.

#include "GRVoiceManager.h"
#include "ARCast.h"

#include <algorithm>

#include "ARABreak.h"
#include "ARAccol.h"
#include "ARAuto.h"
#include "ARChord.h"
#include "ARDisplayDuration.h"
#include "ARMusicalEvent.h"
#include "ARMusicalTag.h"
#include "ARMusicalVoice.h"
#include "ARMusicalVoiceState.h"
#include "ARNaturalKey.h"
#include "ARNewSystem.h"
#include "ARNote.h"
#include "ARPageFormat.h"
#include "ARPositionTag.h"
#include "ARRepeatBegin.h"
#include "ARRest.h"
#include "ARStaff.h"
#include "ARStaffFormat.h"
#include "ARSystemFormat.h"
#include "ARUnits.h"
#include "GRBar.h"
#include "GRDummy.h"
#include "GRGlobalLocation.h"
#include "GRGlobalStem.h"
#include "GRGlue.h"
#include "GRMusic.h"
#include "GRPositionTag.h"
#include "GRRest.h"
#include "GRStaff.h"
#include "GRStaffManager.h"
#include "GRTag.h"
#include "GRVoice.h"
#include "MoreMusicalTags.h"
#include "NEPointerList.h"
#include "TagParameterFloat.h"
#include "engine_globals.h"
#include "src/common/assertion.h"

namespace {

// Staff numbers come from the score; the layout keeps its staves in vectors indexed by them.
constexpr int kHighestStaffNumber = 255;

// Only events take time in the walk. A tag the score gave a length (a range written on a tag
// that takes none) is still walked as a tag, in the tag pass.
bool hasDuration(ARMusicalObject const* object) {
  return object->isEventClass() && object->getDuration() > Frac_0;
}

bool isBreak(ARMusicalObject const* object) {
  return ar_cast<ARPossibleBreak const>(object) || ar_cast<ARNewSystem const>(object) ||
         ar_cast<ARNewPage const>(object);
}

}  // namespace

GRVoiceManager::GRVoiceManager(GRStaffManager* staffManager, ARMusicalVoice* voice, int voiceIndex)
    : mVoiceIndex(voiceIndex), mArVoice(voice), mStaffMgr(staffManager) {
  mGRVoice = gCurMusic ? gCurMusic->getVoice(voice) : nullptr;
}

GRVoiceManager::~GRVoiceManager() {
  delete mToAddGrace;
  delete mGrTags;
  delete mVoiceState;
}

int GRVoiceManager::addGRTag(GRTag* tag, int atHead) {
  if (atHead)
    mGrTags->AddHead(tag);
  else
    mGrTags->AddTail(tag);
  return 0;
}

void GRVoiceManager::EndManageVoice(Fraction const&) {
  MELVARIN_ASSERT(false);
}

int GRVoiceManager::BeginManageVoice() {
  mStaffNum = mArVoice->getVoiceNum();
  if (mStaffNum < 0) {
    // A cue's voice has no number of its own: it starts on the first staff and moves to its main
    // voice's staff with the staff tag it begins with.
    mStaffNum = 0;
  } else if (mStaffNum > kHighestStaffNumber) {
    // More voices than staves the layout can index share the last staff.
    ZudidOvod("Voice number beyond the last staff (255): the voice goes to staff 255");
    mStaffNum = kHighestStaffNumber;
  }
  // The layout makes the elements of a chord one by one: each member shares the chord's spring.
  mArVoice->setReadMode(ARMusicalVoice::EVENTMODE);
  mVoiceState = new ARMusicalVoiceState;
  // The layout never steps back, so the walk keeps no snapshot before each chord.
  mArVoice->StartForwardWalk(*mVoiceState);
  mVoiceTime = mVoiceState->getCurTime();
  mGrTags = new KF_IPointerList<GRTag>(0);
  ReadBeginTags(mVoiceTime);
  mStaffMgr->prepareStaff(mStaffNum);
  mCurGrStaff = mStaffMgr->getStaff(mStaffNum);
  MELVARIN_ASSERT(mCurGrStaff);
  return 0;
}

void* GRVoiceManager::curPosition() const {
  return mVoiceState ? mVoiceState->getVoicePosition() : nullptr;
}

ARMusicalObject* GRVoiceManager::getCurrentObject() const {
  void* pos = curPosition();
  return pos ? mArVoice->ObjectList::GetAt(pos) : nullptr;
}

Fraction const& GRVoiceManager::getCurTimePosition() const {
  return mVoiceTime;
}

bool GRVoiceManager::switchToStaff(int staffNumber) {
  if (staffNumber < 0 || staffNumber > kHighestStaffNumber) {
    ZudidOvod("Staff number out of range (0..255) ignored");
    return false;
  }
  mStaffNum = staffNumber;
  mStaffMgr->prepareStaff(mStaffNum);
  mCurGrStaff = mStaffMgr->getStaff(mStaffNum);
  MELVARIN_ASSERT(mCurGrStaff);
  return true;
}

int GRVoiceManager::Iterate(Fraction& timePosition, int mode) {
  void* position = curPosition();
  if (!position) return kFinished;
  Fraction const voiceTime = mVoiceTime;
  ARMusicalObject* object = mArVoice->ObjectList::GetAt(position);
  if (timePosition < voiceTime) {
    timePosition = voiceTime;
    return hasDuration(object) ? kLaterEvent : kLaterZeroDuration;
  }
  MELVARIN_ASSERT(!(timePosition > voiceTime));

  if (mode == kEventPass) {
    MELVARIN_ASSERT(hasDuration(object));
    checkStartPTags(position);
    // Events stand at their own time, which the walk's time only approximates where the
    // score's lengths go beyond what a fraction holds exactly.
    GRNotationElement* element = createEvent(object->getRelativeTimePosition(), object);
    MELVARIN_ASSERT(element);  // grev
    if (element->getDuration() > Frac_0) mLastNonZeroEvent = element;
    mBarJustMade = false;
    if (mToAddGrace && !mToAddGrace->IsEmpty()) {
      // Grace groups that ended just before lean on the event that follows them.
      for (void* pos = mToAddGrace->GetHeadPosition(); pos;) {
        auto* grace = ar_cast<GRNotationElement>(mToAddGrace->GetNext(pos));
        if (!grace) continue;
        grace->addAssociation(element);
        element->addAssociation(grace);
      }
      mToAddGrace->RemoveAll();
    }
    registerSyncElement(element);
    timePosition = object->getRelativeEndTimePosition();
    return advance();
  }

  // The walk stops at a break and steps over it only once the line has ended: the ranges that
  // end at the break end here, on the line they belong to, and are not carried on to the next.
  if (isBreak(object)) checkEndPTags(position);
  // A sign after a break opens the next line, after its clef and key.
  if (ar_cast<ARNewSystem>(object) || ar_cast<ARNewPage>(object)) mBarJustMade = false;
  if (ar_cast<ARNewSystem>(object)) {
    auto const* tag = static_cast<ARMusicalTag const*>(object);
    if (TagParameterFloat const* dy = tag->getDY(); dy && dy->mState != TagParameter::NOTSET)
      mStaffMgr->setSystemDistance(dy->getValue(mCurGrStaff->getLineSpace()), *this);
    return kNewSystem;
  }
  if (ar_cast<ARNewPage>(object)) return kNewPage;
  if (auto* possible = ar_cast<ARPossibleBreak>(object)) {
    mPbreakval = possible->getValue();
    return kPossibleBreak;
  }
  if (hasDuration(object)) return kDurationNext;

  if (object->isEventClass()) {
    checkStartPTags(position);
    GRNotationElement* element = nullptr;
    if (mCurGrace) {
      ARDisplayDuration const* shown = mVoiceState->getCurDisplayDuration();
      element = CreateGraceNote(object->getRelativeTimePosition(), object,
                                shown ? shown->getDisplayDuration() : object->getDuration());
    } else {
      element = createDisplayedZeroDurationEvent(object->getRelativeTimePosition(), object);
    }
    if (element) {
      bool const sharesSpring = element->getNeedsSpring() == -1;
      registerSyncElement(element);
      if (mCurGrace && sharesSpring) keepRoomOfGraceChordNote(element);
    }
  } else if (ar_cast<ARNaturalKey>(object) && !mLineBegun) {
    // A line opens with its clef and the key in force only: the naturals of a key change
    // written where the line begins would cancel a key the reader does not see on it.
  } else if (GRNotationElement* element = parseTag(object)) {
    // Asked before the element is registered: registering may hand it over to the system, which
    // deletes a tag it already holds.
    auto* glue = ar_cast<GRGlue>(element);
    registerTagElement(element, object);
    // A line that a written break opens shows the octava that goes on into it, as one the line
    // breaker opens does: beside the first glue a voice opens the staff's line with.
    GRGlue const* opening = mCurGrStaff->getSecondGlue();
    if (glue && opening && (glue == opening || glue == opening->getPartner()))
      mCurGrStaff->MarkOctavaGoingOn(mStaffMgr, glue, mCurGrStaff->getStaffState().octava);
  } else if (!ar_cast<ARMusicalTag>(object) || !static_cast<ARMusicalTag*>(object)->IsStateTag()) {
    RidevUzuze("Warning, Tag not handled");
  }
  return advance();
}

GRNotationElement* GRVoiceManager::createEvent(Fraction const& tp, ARMusicalObject* object) {
  if (typeid(*object) == typeid(ARNote)) return CreateNote(tp, object);
  if (typeid(*object) == typeid(ARRest)) return CreateRest(tp, object);
  if (typeid(*object) == typeid(ARChord)) return CreateChord(tp, object);
  MELVARIN_ASSERT(false);
  return nullptr;
}

// A zero-duration event shows only under a display duration (a chord's members); else it is an
// empty that holds its place.
GRNotationElement* GRVoiceManager::createDisplayedZeroDurationEvent(Fraction const& tp,
                                                                    ARMusicalObject* object) {
  ARDisplayDuration const* shown = mVoiceState->getCurDisplayDuration();
  if (!shown || !(shown->getDisplayDuration() > Frac_0)) return CreateEmpty(tp, object);
  if (typeid(*object) == typeid(ARNote)) return CreateNote(tp, object);
  if (typeid(*object) == typeid(ARRest)) return CreateRest(tp, object);
  if (typeid(*object) == typeid(ARChord)) return CreateChord(tp, object);
  return CreateEmpty(tp, object);
}

void GRVoiceManager::registerTagElement(GRNotationElement* element, ARMusicalObject*) {
  if (auto* tag = ar_cast<GRTag>(element)) {
    if (tag->getTagType() == GRTag::PAGETAG) {
      mStaffMgr->AddPageTag(element, mCurGrStaff, mVoiceIndex);
      return;
    }
    if (tag->getTagType() == GRTag::SYSTEMTAG) {
      mStaffMgr->AddSystemTag(element, mCurGrStaff, mVoiceIndex);
      return;
    }
  }
  if (!element->getNeedsSpring()) return;
  // A bar line in the group (one that cuts a note the group holds) stands between its notes,
  // not at their shared place: it keeps its own spring.
  if ((mCurGlobalStem || mCurGlobalLocation) && !dynamic_cast<GRBar*>(element)) {
    RidevUzuze("Tag with spring in a globalstem or global location!");
    element->setNeedsSpring(-1);
  }
  registerSyncElement(element);
}

bool GRVoiceManager::inCurrentSlice(GRNotationElement const* element) const {
  GRStaff const* staff = element->getGRStaff();
  return staff && mCurGrStaff && staff->getGRSystemSlice() == mCurGrStaff->getGRSystemSlice();
}

void GRVoiceManager::keepRoomOfGraceChordNote(GRNotationElement const* note) {
  // The notes of a grace chord stand on the spring of its first element, which the rods between
  // springs measure; the group is drawn from its note leftwards, so that spring keeps the room of
  // every head, else the chord is drawn on the bar line or the clef before it.
  GRNotationElement* shared = nullptr;
  if (mCurGlobalLocation)
    shared = mCurGlobalLocation->getFirstEl();
  else if (mCurGlobalStem)
    shared = mCurGlobalStem->getFirstEl();
  if (!shared || shared == note || shared->getSpringID() != note->getSpringID()) return;
  shared->setLeftSpace(std::max(shared->getLeftSpace(), note->getLeftSpace()));
  shared->setRightSpace(std::max(shared->getRightSpace(), note->getRightSpace()));
}

void GRVoiceManager::registerSyncElement(GRNotationElement* element) {
  if (element->getNeedsSpring() == -1) {
    GRNotationElement* shared = nullptr;
    if (mCurGlobalLocation)
      shared = mCurGlobalLocation->getFirstEl();
    else if (mCurGlobalStem)
      shared = mCurGlobalStem->getFirstEl();
    if (shared && inCurrentSlice(shared)) {
      mStaffMgr->AddGRSyncElement(element, mCurGrStaff, shared->getSpringID(), mGRVoice, shared);
      return;
    }
    // Nothing of the group is placed yet (a tag written before its first note), or the group's
    // first element stands before a place where the line may break, and its spring may end up
    // on another line: the element takes a spring of its own.
    RidevUzuze(
        "Element apart from the first element of a globalstem or global location: own spring");
    element->setNeedsSpring(1);
  }
  mStaffMgr->AddGRSyncElement(element, mCurGrStaff, mVoiceIndex, mGRVoice, nullptr);
}

// The voice state counts a tag's length too, which the score may give a tag by writing a range
// on it; the walk keeps its own time, which only events move on.
void GRVoiceManager::stepOver() {
  void* position = curPosition();
  ARMusicalObject* object = mArVoice->GetNext(position, *mVoiceState);
  if (object)
    mVoiceTime = object->isEventClass() ? object->getRelativeEndTimePosition()
                                        : object->getRelativeTimePosition();
}

int GRVoiceManager::advance() {
  void* remembered = curPosition();
  stepOver();
  void* position = curPosition();
  if (!mVoiceState->getRemovedPositionTags().empty()) checkEndPTags(remembered);
  if (!position) return kEnded;
  return hasDuration(mArVoice->ObjectList::GetAt(position)) ? kEventNext : kZeroDurationNext;
}

int GRVoiceManager::DoBreak(Fraction const& tp, int breakKind) {
  // Another voice may break while this one holds an event across tp: its position stays.
  ARMusicalObject* object = getCurrentObject();
  if (object && tp == mVoiceTime) {
    if (isBreak(object)) stepOver();
  }
  // A voice that has ended still keeps its staff in the next slice.
  if (breakKind == 1 || breakKind == 2) {
    if (mGRVoice) mGRVoice->resetForNewLine();
    ReadBeginTags(getCurTimePosition());
    mStaffMgr->prepareStaff(mStaffNum);
    mCurGrStaff = mStaffMgr->getStaff(mStaffNum);
    MELVARIN_ASSERT(mCurGrStaff);
    mCurGrStaff->BeginStaff(mStaffMgr);
    // The new line starts at the break for every voice, also for one still holding an event
    // across it (a cue's voice can be ahead of its main voice): the stand-ins of their open tags
    // then stand in time order on a staff the voices share.
    mStartSystemTime = tp;
    beginOpenTags();
    mLastNonZeroEvent = nullptr;
    mLastBar = nullptr;
    mLineBegun = false;
  } else if (breakKind == 3) {
    mStaffMgr->prepareStaff(mStaffNum);
    mCurGrStaff = mStaffMgr->getStaff(mStaffNum);
    MELVARIN_ASSERT(mCurGrStaff);
  }
  return 1;
}

void GRVoiceManager::beginOpenTags() {
  for (void* pos = mGrTags->GetHeadPosition(); pos;) {
    GRTag* tag = mGrTags->GetNext(pos);
    tag->StaffBegin(mCurGrStaff);
    auto* ptag = ar_cast<GRPositionTag>(tag);
    if (!ptag) continue;
    auto* dummy = new GRDummy(ptag);
    dummy->setRelativeTimePosition(mStartSystemTime);
    mCurGrStaff->AddTag(dummy);
  }
}

void GRVoiceManager::closeOpenTags() {
  if (!mGrTags) return;
  for (void* pos = mGrTags->GetHeadPosition(); pos;)
    mGrTags->GetNext(pos)->StaffFinished(mCurGrStaff);
}

void GRVoiceManager::ReadBeginTags(Fraction const& tp) {
  ARMusicalVoiceState state(*mVoiceState);
  void* position = state.getVoicePosition();
  bool first = true;
  bool pageFormat = false, systemFormat = false, autoBreak = false, autoTag = false;
  bool staffFormat = false, accolade = false;
  while (position) {
    auto* tag = ar_cast<ARMusicalTag>(mArVoice->ObjectList::GetAt(position));
    if (!tag || tag->getRelativeTimePosition() > tp) break;
    // A break further on begins a line of its own and reads what follows it then, so thousands
    // of breaks in a row are read once each, not each again at every break before it. Only a
    // break the walk starts on is passed (a voice may begin with one).
    if (!first && (ar_cast<ARNewSystem>(tag) || ar_cast<ARNewPage>(tag))) break;
    if (auto* staff = ar_cast<ARStaff>(tag)) {
      if (first) switchToStaff(staff->getStaffNumber());
    } else if (auto* page = ar_cast<ARPageFormat>(tag)) {
      if (!pageFormat) mStaffMgr->setPageFormat(page);
      pageFormat = true;
    } else if (auto* system = ar_cast<ARSystemFormat>(tag)) {
      if (!systemFormat) mStaffMgr->setSystemFormat(system);
      systemFormat = true;
    } else if (auto* abreak = ar_cast<ARABreak>(tag)) {
      if (!autoBreak) mStaffMgr->setAutoBreak(abreak);
      autoBreak = true;
    } else if (auto* autoState = ar_cast<ARAuto>(tag)) {
      if (!autoTag) mStaffMgr->setAutoTag(autoState);
      autoTag = true;
    } else if (auto* format = ar_cast<ARStaffFormat>(tag)) {
      if (!staffFormat) {
        mStaffMgr->prepareStaff(mStaffNum);
        mCurGrStaff = mStaffMgr->getStaff(mStaffNum);
        MELVARIN_ASSERT(mCurGrStaff);
        mCurGrStaff->setStaffFormat(format);
      }
      staffFormat = true;
    } else if (auto* accol = ar_cast<ARAccol>(tag)) {
      if (!accolade) mStaffMgr->notifyAccoladeTag(accol);
      accolade = true;
    }
    first = false;
    mArVoice->GetNext(position, state);
  }
}

bool GRVoiceManager::checkRepeatBeginNext() {
  void* position = curPosition();
  if (!position) return false;
  mArVoice->ObjectList::GetNext(position);
  ARMusicalObject* next = position ? mArVoice->ObjectList::GetNext(position) : nullptr;
  if (ar_cast<ARPossibleBreak>(next))
    next = position ? mArVoice->ObjectList::GetNext(position) : nullptr;
  return ar_cast<ARRepeatBegin>(next) != nullptr;
}

float GRVoiceManager::GetBreakScore(Fraction const& tp) {
  Fraction const& voiceTime = getCurTimePosition();
  // A voice that has ended cuts nothing wherever the others break.
  if (getCurrentObject()) MELVARIN_ASSERT(!(tp > voiceTime));
  float score = voiceTime > tp ? 20000 : 0;
  score += tp == mVoiceState->getLastBarTime() ? -2000 : 1000;
  return score;
}

void GRVoiceManager::checkCenterRest(GRStaff* staff, float x1, float x2) {
  if (staff != mCurGrStaff) return;
  auto* rest = ar_cast<GRRest>(mLastCreatedEvent);
  if (!rest || !rest->getWholeMeasure()) return;
  rest->setPosition(NVPoint{x1 + (x2 - x1) * 0.5f, rest->getPosition().y});
}

void GRVoiceManager::removeAssociations(NEPointerList const& list) {
  for (void* pos = mGrTags->GetHeadPosition(); pos;)
    if (auto* element = ar_cast<GRNotationElement>(mGrTags->GetNext(pos)))
      element->removeAssociation(list);
}

void GRVoiceManager::rememberLastNLinePosition(Fraction const& tp) {
  if (gCurMusic) gCurMusic->rememberVoiceNLinePosition(mArVoice, tp);
}
