#include "ARMusicalVoice.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <sstream>
#include <unordered_map>
#include <unordered_set>
#include <utility>

#include "ARBar.h"
#include "ARCast.h"
#include "ARChordComma.h"
#include "ARChordTag.h"
#include "ARClef.h"
#include "ARDisplayDuration.h"
#include "ARKey.h"
#include "ARMusicalVoiceState.h"
#include "ARNote.h"
#include "ARShareLocation.h"
#include "ARShareStem.h"
#include "ARStaff.h"
#include "ARVoicePassSupport.h"
#include "MoreMusicalTags.h"
#include "engine_globals.h"
#include "src/common/assertion.h"

namespace {

using ObjectSet = std::unordered_set<ARMusicalObject const*>;

// The range tags that stand in the event list too; only they can be in both lists.
ObjectSet RangeTagsAmong(ARMusicalVoice::ObjectList const& list) {
  ObjectSet objects;
  for (void* pos = list.GetHeadPosition(); pos;) {
    ARMusicalObject const* object = list.GetNext(pos);
    // Range tags are tags: the events, most of the list, are passed over without a question.
    if (!object->isEventClass() && (VoicePass::KindOf(object) & VoicePass::kKindRangeTag))
      objects.insert(object);
  }
  return objects;
}

ARMusicalTag* TagOf(ARPositionTag* tag) {
  return ar_cast<ARMusicalTag>(tag);
}

ARMusicalObject* ObjectOf(ARPositionTag* tag) {
  return ar_cast<ARMusicalObject>(tag);
}

// A range tag stays when it is paired and neither side was found faulty.
bool IsValidRange(ARPositionTag* tag) {
  ARPositionTag* other = tag->getCorrespondence();
  if (!other) return false;
  for (ARPositionTag* side : {tag, other}) {
    ARMusicalTag* musicalTag = TagOf(side);
    if (!musicalTag || musicalTag->getAssociation() >= 2) return false;
  }
  return true;
}

// Inserts before node, at the tail for a null node.
void* InsertBefore(ARMusicalVoice::PositionTagList& list, void* node, ARPositionTag* tag) {
  return node ? list.AddElementAt(node, tag) : list.AddTail(tag);
}

// Makes begin and end a closed range whose end marker stands at endPos.
void Pair(ARPositionTag* begin, ARTagEnd* end, void* endPos) {
  begin->setCorrespondence(end);
  end->setCorrespondence(begin);
  end->setPosition(endPos);
  TagOf(begin)->setAssociation(1);
  end->setAssociation(0);
}

ARDummyRangeEnd* MakeAutoEnd(char const* text) {
  auto* end = new ARDummyRangeEnd(text);
  end->setIsAuto(true);
  return end;
}

}  // namespace

ARMusicalVoice::ARMusicalVoice()
    : ObjectList(1),
      ARMusicalEvent(Frac_0),
      curVoiceState(new ARMusicalVoiceState),
      pendingPositionTags(new PositionTagList(0)) {}

ARMusicalVoice::~ARMusicalVoice() {
  // Each list is walked once. A tag in both lists belongs to the event list; every other range
  // tag, also one that never reached an event, belongs to the range-tag list. So the event list
  // deletes its objects first and sets aside the range tags among them (events, most of the list,
  // are passed over without a class question), which go once the range-tag list no longer holds
  // them. No object's destructor looks at another object, so the order does not matter.
  ObjectSet inEvents;
  for (void* pos = ObjectList::GetHeadPosition(); pos;) {
    ARMusicalObject* object = ObjectList::GetNext(pos);
    if (!object->isEventClass() && (VoicePass::KindOf(object) & VoicePass::kKindRangeTag))
      inEvents.insert(object);
    else
      delete object;
  }
  ObjectList::KF_List::RemoveAll();  // only the nodes: their objects are gone or set aside
  if (mPosTagList) {
    for (void* pos = mPosTagList->GetHeadPosition(); pos;) {
      void* at = pos;
      ARPositionTag* tag = mPosTagList->GetNext(pos);
      if (!tag->getPosition()) ZudidOvod("Deleting ptag from mPosTagList");
      if (!inEvents.empty() && inEvents.count(ObjectOf(tag)))
        mPosTagList->KF_List::RemoveElementAt(at);
    }
    delete mPosTagList;
  }
  for (ARMusicalObject const* object : inEvents) delete object;
  delete pendingPositionTags;
  delete curVoiceState;
}

ARMusicalVoice::PositionTagList& ARMusicalVoice::PositionTags() {
  if (!mPosTagList) mPosTagList = new PositionTagList(1);
  return *mPosTagList;
}

void* ARMusicalVoice::InsertAtTail(ARMusicalObject* object) {
  MELVARIN_ASSERT(object != nullptr);
  return ObjectList::AddTail(object);
}

void* ARMusicalVoice::AddTail(ARMusicalObject* object) {
  MELVARIN_ASSERT(object != nullptr);
  auto* tag = ar_cast<ARMusicalTag>(object);
  if (tag && ar_cast<ARPositionTag>(object)) MELVARIN_ASSERT(!tag->getRange());
  const bool isEvent = object->isEventClass();

  if (inChord && isEvent) {
    // Chord notes are sorted into runs of one written length; they take no time of their own.
    if (chordGroupList.empty() || chordGroupList.back().dur != object->getDuration())
      StartChordGroup(object->getDuration());
    object->setDuration(Frac_0);
    ++chordVoiceIndex;
  }

  object->setRelativeTimePosition(duration);
  duration += object->getDuration();

  void* pos;
  if (tag && tag->IsStateTag() && chordVoiceIndex == 0)
    pos = AddElementAt(chordBeginPosition, object);  // a clef or key before the chord's notes
  else
    pos = ObjectList::AddTail(object);

  if (isEvent) {
    while (ARPositionTag* waiting = pendingPositionTags->RemoveHead()) waiting->setPosition(pos);
    lastEventPosition = pos;
    if (auto* note = ar_cast<ARNote>(object); note && note->getPitch() != 0) {
      ++numPitchedNotes;
      pitchSum += note->getOctave() * 7 + note->getPitch();
    }
  }
  if (inChord && !chordGroupList.empty()) chordGroupList.back().endpos = pos;

  curVoiceState->vpos = pos;
  curVoiceState->curtp = duration;
  return pos;
}

void ARMusicalVoice::StartChordGroup(Fraction const& groupDuration) {
  auto* placeholder = new ARNote(NVstring("empty"), 0, 0, 0, 1, 80);
  placeholder->setRelativeTimePosition(duration);
  chordGroupList.push_back({groupDuration, InsertAtTail(placeholder), nullptr});
}

void ARMusicalVoice::adjustDuration(Fraction const& newDuration) {
  MELVARIN_ASSERT(newDuration >= duration);
  if (newDuration > duration) {
    AddTail(new ARNote(newDuration - duration));
    if (mPosTagList) {
      for (void* pos = mPosTagList->GetHeadPosition(); pos;) {
        ARPositionTag* tag = mPosTagList->GetNext(pos);
        if (!tag->isEndTagClass() && !tag->getEndPosition()) tag->setEndPosition(GetTailPosition());
      }
    }
  }
  duration = newDuration;
}

void ARMusicalVoice::AddPositionTag(ARPositionTag* tag) {
  MELVARIN_ASSERT(tag != nullptr);
  pendingPositionTags->AddTail(tag);
  curVoiceState->ptagpos = PositionTags().AddTail(tag);
  mOpenRanges.Add(tag);
  if (ARMusicalTag* musicalTag = TagOf(tag)) {
    musicalTag->setRelativeTimePosition(duration);
    musicalTag->setAssociation(1);
  }
  curVoiceState->AddPositionTag(tag, 0);
}

void ARMusicalVoice::RemovePositionTag(ARPositionTag* tag) {
  MELVARIN_ASSERT(tag != nullptr);
  MELVARIN_ASSERT(!tag->isEndTagClass());
  if (curVoiceState->IsOpen(tag)) curVoiceState->RemovePositionTag(tag, 0);
  mOpenRanges.Remove(tag);
  // The tag taken back is mostly the newest: both lists are searched from their ends.
  auto removeNewest = [tag](PositionTagList& list) {
    for (void* pos = list.GetTailPosition(); pos;) {
      void* at = pos;
      if (list.GetPrev(pos) != tag) continue;
      list.KF_List::RemoveElementAt(at);
      return;
    }
  };
  if (mPosTagList) {
    removeNewest(*mPosTagList);
    curVoiceState->ptagpos = mPosTagList->GetTailPosition();
  }
  removeNewest(*pendingPositionTags);
}

bool ARMusicalVoice::removeTag(ARMusicalObject* object) {
  auto* rangeTag = ar_cast<ARPositionTag>(object);
  if (rangeTag && !rangeTag->isEndTagClass() && curVoiceState->IsOpen(rangeTag))
    curVoiceState->RemovePositionTag(rangeTag, 0);
  for (void* pos = GetTailPosition(); pos;) {
    void* at = pos;
    if (ObjectList::GetPrev(pos) != object) continue;
    // A tag written inside a chord can be the last element of a run of notes (a range of
    // optional length opened after it); the run then ends at the element before the tag.
    for (ARChordGroup& group : chordGroupList)
      if (group.endpos == at) group.endpos = pos;
    ObjectList::KF_List::RemoveElementAt(at);
    curVoiceState->vpos = GetTailPosition();
    return true;
  }
  return false;
}

void* ARMusicalVoice::setPositionTagEndPos(int id, ARMusicalTag* tagEnd, ARMusicalTag* startTag) {
  auto* end = ar_cast<ARTagEnd>(tagEnd);
  MELVARIN_ASSERT(end != nullptr);
  // An end marker before any range still goes into the list, so that it has an owner and
  // ConvertToNormalForm drops it like any other unmatched end.
  PositionTagList& list = PositionTags();

  end->setAssociation(lastEventPosition ? 0 : 3);
  end->setPosition(lastEventPosition);

  auto* named = ar_cast<ARDummyRangeEnd>(end);
  char const* endText = named ? named->getEndText() : ")";
  const bool plainEnd = !named || named->isPlainEnd();
  // A parenthesis closes the tag it belongs to; a named end the newest begin of its name.
  ARPositionTag* begin =
      plainEnd ? mOpenRanges.FindOpen(ar_cast<ARPositionTag>(startTag), id, mRangeSearchSteps)
               : mOpenRanges.FindNewest(
                     id,
                     [endText](ARPositionTag* candidate) {
                       return TagOf(candidate)->MatchEndTag(endText);
                     },
                     mRangeSearchSteps);

  if (!begin) {
    RidevUzuze("TagEnd does not match a begin-tag");
    end->setAssociation(3);
  } else {
    ARMusicalTag* beginTag = TagOf(begin);
    const bool empty = begin->getPosition() == nullptr;
    begin->setCorrespondence(end);
    end->setCorrespondence(begin);
    beginTag->setAssociation(1);
    if (empty) {
      // A range around no event: both tags are marked so that the normal form drops them.
      pendingPositionTags->RemoveElement(begin);
      begin->setPosition(GetTailPosition());
      beginTag->setAssociation(4);
      beginTag->setError(1);
      end->setAssociation(3);
    }
  }
  end->setRelativeTimePosition(duration);
  return list.AddTail(end);
}

void ARMusicalVoice::BeginChord() {
  MELVARIN_ASSERT(!inChord);
  currentChordTag = new ARChordTag;
  currentChordTag->setIsAuto(true);
  currentShareLocation = new ARShareLocation;
  currentShareLocation->setIsAuto(true);
  AddPositionTag(currentChordTag);
  AddPositionTag(currentShareLocation);
  chordBeginPosition = AddTail(new ARNote(Frac_0));
  chordVoiceIndex = 0;
  inChord = true;
  chordOpeningTags = curVoiceState->ptagpos;
}

void ARMusicalVoice::initChordNote() {
  AddTail(new ARChordComma);
}

void ARMusicalVoice::FinishChord() {
  MELVARIN_ASSERT(inChord);
  PositionTagList& list = PositionTags();
  // The chord's own opening tags end the part of the list that stood before the chord; what
  // follows them was opened or closed inside it.
  const void* openingTags = chordOpeningTags;
  auto firstInside = [&] {
    void* pos = const_cast<void*>(openingTags);
    if (pos) list.GetNext(pos);
    return pos;
  };

  Fraction chordDuration;
  for (ARChordGroup const& group : chordGroupList)
    if (group.dur > chordDuration) chordDuration = group.dur;

  if (chordGroupList.size() == 1) {
    // One group needs no placeholder of its own: the chord's opening one serves.
    ObjectList::RemoveElementAt(chordGroupList.front().startpos);
    chordGroupList.front().startpos = chordBeginPosition;
  }

  const NodeOrder order = OrderOfNodes(chordBeginPosition);
  void* tagCursor = firstInside();
  for (ARChordGroup const& group : chordGroupList) AddChordGroupTags(group, tagCursor, order);

  // The closing placeholder ends the chord; it is appended outside the chord's bookkeeping, as a
  // chord element of no length.
  inChord = false;
  chordOpeningTags = nullptr;
  auto* closing = new ARNote(Frac_0);
  closing->setRegister(1);
  AddTail(closing);
  CloseChordRange(currentShareLocation, "\\shareLocationEnd");
  CloseChordRange(currentChordTag, "\\autoChordEnd");

  const Fraction start = GetAt(chordBeginPosition)->getRelativeTimePosition();
  TimeChordElements(start, chordDuration, firstInside());
  duration += chordDuration;
  curVoiceState->curtp = duration;

  for (ARPositionTag* tag : {static_cast<ARPositionTag*>(currentShareLocation),
                             static_cast<ARPositionTag*>(currentChordTag)})
    if (curVoiceState->IsOpen(tag)) curVoiceState->RemovePositionTag(tag, 0);
  currentChordTag = nullptr;
  currentShareLocation = nullptr;
  chordGroupList.clear();
  chordBeginPosition = nullptr;
  chordVoiceIndex = -1;
}

void ARMusicalVoice::AddChordGroupTags(ARChordGroup const& group, void* tagCursor,
                                       NodeOrder const& order) {
  auto indexOf = [&](void const* node) { return order.IndexOf(node); };
  const int first = indexOf(group.startpos);
  const int last = indexOf(group.endpos);
  // Begins go in front of the first range tag of the chord that stands at or after the group's
  // start, ends in front of the first that stands after its end, so the list keeps the order
  // in which an iteration meets them.
  auto firstFrom = [&](auto&& standsLater) {
    void* pos = tagCursor;
    while (pos) {
      void* at = pos;
      if (standsLater(indexOf(mPosTagList->GetNext(pos)->getPosition()))) return at;
    }
    return static_cast<void*>(nullptr);
  };

  auto* displayDuration = new ARDisplayDuration;
  displayDuration->setIsAuto(true);
  displayDuration->setDisplayDuration(group.dur);
  auto* shareStem = new ARShareStem;
  shareStem->setIsAuto(true);
  ARDummyRangeEnd* displayDurationEnd = MakeAutoEnd("\\dispDurEnd");
  ARDummyRangeEnd* shareStemEnd = MakeAutoEnd("\\shareStemEnd");
  for (ARPositionTag* begin :
       {static_cast<ARPositionTag*>(displayDuration), static_cast<ARPositionTag*>(shareStem)})
    begin->setPosition(group.startpos);
  Pair(displayDuration, displayDurationEnd, group.endpos);
  Pair(shareStem, shareStemEnd, group.endpos);

  void* beginsAt = firstFrom([&](int index) { return index >= first; });
  InsertBefore(*mPosTagList, beginsAt, displayDuration);
  InsertBefore(*mPosTagList, beginsAt, shareStem);
  void* endsAt = firstFrom([&](int index) { return index > last; });
  InsertBefore(*mPosTagList, endsAt, shareStemEnd);
  InsertBefore(*mPosTagList, endsAt, displayDurationEnd);
}

void ARMusicalVoice::CloseChordRange(ARPositionTag* begin, char const* endText) {
  ARDummyRangeEnd* end = MakeAutoEnd(endText);
  Pair(begin, end, lastEventPosition);
  PositionTags().AddTail(end);
}

void ARMusicalVoice::TimeChordElements(Fraction const& start, Fraction const& chordDuration,
                                       void* tagCursor) {
  // The opening placeholder carries the chord's length; everything after it stands at the end.
  ARMusicalObject* opening = GetAt(chordBeginPosition);
  opening->setRelativeTimePosition(start);
  opening->setDuration(chordDuration);
  const Fraction end = start + chordDuration;
  void* pos = chordBeginPosition;
  for (ObjectList::GetNext(pos); pos;) ObjectList::GetNext(pos)->setRelativeTimePosition(end);
  for (void* at = tagCursor; at;)
    if (ARMusicalObject* object = ObjectOf(mPosTagList->GetNext(at)))
      object->setRelativeTimePosition(end);
}

ARMusicalVoice::NodeOrder ARMusicalVoice::OrderOfNodes(void* from) const {
  std::size_t count = 0;
  for (void* pos = from; pos; ObjectList::GetNext(pos)) ++count;
  NodeOrder order(count);
  for (void* pos = from; pos; ObjectList::GetNext(pos)) order.Add(pos);
  return order;
}

void ARMusicalVoice::ConvertToNormalForm() {
  mOpenRanges.Clear();
  if (!mPosTagList) return;

  // Ranges that never closed, closed nothing or hold no event go, wherever they stand.
  std::vector<void*> invalid;
  for (void* pos = mPosTagList->GetHeadPosition(); pos;) {
    void* at = pos;
    if (!IsValidRange(mPosTagList->GetNext(pos))) invalid.push_back(at);
  }
  if (!invalid.empty()) {
    // Nothing may point at them afterwards: not the tags that wait for an event, not the
    // voice's states, not their partners.
    for (void* node : invalid) {
      ARPositionTag* tag = mPosTagList->GetAt(node);
      pendingPositionTags->RemoveElement(tag);
      curVoiceState->Forget(tag);
    }
    for (void* node : invalid) mPosTagList->GetAt(node)->setCorrespondence(nullptr);
    const ObjectSet inEvents = RangeTagsAmong(*this);
    for (void* node : invalid) {
      if (inEvents.count(ObjectOf(mPosTagList->GetAt(node))))
        mPosTagList->KF_List::RemoveElementAt(node);  // the event list keeps it
      else
        mPosTagList->RemoveElementAt(node);
    }
  }

  // At every element the ranges it opens come first and the ranges it closes next, all before
  // those of later elements; tags at one element keep their order, so nesting is kept. The
  // factory mostly files them in that order already, which one walk along both lists confirms.
  if (RangesInWalkOrder()) {
    curVoiceState->ptagpos = mPosTagList->GetTailPosition();
    return;
  }
  const NodeOrder order = OrderOfNodes(GetHeadPosition());
  std::vector<std::pair<int, ARPositionTag*>> entries;
  entries.reserve(mPosTagList->GetCount());
  for (void* pos = mPosTagList->GetHeadPosition(); pos;) {
    ARPositionTag* tag = mPosTagList->GetNext(pos);
    const int at = order.IndexOf(tag->getPosition());
    entries.emplace_back(at * 2 + (tag->isEndTagClass() ? 1 : 0), tag);
  }
  std::stable_sort(entries.begin(), entries.end(),
                   [](auto const& a, auto const& b) { return a.first < b.first; });
  void* pos = mPosTagList->GetHeadPosition();
  for (auto const& entry : entries) {
    mPosTagList->SetAt(pos, entry.second);
    mPosTagList->GetNext(pos);
  }
  curVoiceState->ptagpos = mPosTagList->GetTailPosition();
}

bool ARMusicalVoice::RangesInWalkOrder() const {
  void* element = GetHeadPosition();
  bool closedHere = false;  // a range closes at the element the walk stands at
  for (void* pos = mPosTagList->GetHeadPosition(); pos;) {
    ARPositionTag const* tag = mPosTagList->GetNext(pos);
    void* at = tag->getPosition();
    if (!at) return false;
    if (at != element) {
      while (element && element != at) ObjectList::GetNext(element);
      if (!element) return false;  // earlier, or not in the list
      closedHere = false;
    }
    if (tag->isEndTagClass())
      closedHere = true;
    else if (closedHere)
      return false;
  }
  return true;
}

void ARMusicalVoice::print() const {
  std::ostringstream os;
  output(os, true);
  std::printf("%s\n", os.str().c_str());
}

std::ostream& ARMusicalVoice::operator<<(std::ostream& os) const {
  output(os, true);
  return os;
}

void ARMusicalVoice::output(std::ostream& os, bool withAuto) const {
  auto write = [&](ARMusicalObject const* object) {
    auto const* tag = ar_cast<ARMusicalTag const>(object);
    if (object && (withAuto || !tag || !tag->getIsAuto())) os << *object;
  };
  void* entry = mPosTagList ? mPosTagList->GetHeadPosition() : nullptr;
  auto writeRanges = [&](void* at, bool ends) {
    while (entry) {
      ARPositionTag* tag = mPosTagList->GetAt(entry);
      if (tag->isEndTagClass() != ends || tag->getPosition() != at) return;
      write(ObjectOf(tag));
      mPosTagList->GetNext(entry);
    }
  };
  os << " [ ";
  for (void* pos = GetHeadPosition(); pos;) {
    void* at = pos;
    ARMusicalObject const* object = ObjectList::GetNext(pos);
    writeRanges(at, false);
    write(object);
    writeRanges(at, true);
  }
  os << " ] ";
}

void ARMusicalVoice::resetGRRepresentation() {
  ARMusicalEvent::resetGRRepresentation();
  for (void* pos = GetHeadPosition(); pos;) ObjectList::GetNext(pos)->resetGRRepresentation();
}

void ARMusicalVoice::OpenRangesAt(void* pos, ARMusicalVoiceState& state) const {
  while (pos && state.ptagpos) {
    ARPositionTag* tag = mPosTagList->GetAt(state.ptagpos);
    if (tag->isEndMarker() || tag->placedAt() != pos) return;
    state.AddPositionTag(tag);
    mPosTagList->GetNext(state.ptagpos);
  }
}

void ARMusicalVoice::CloseRangesAt(void* pos, ARMusicalVoiceState& state) const {
  while (pos && state.ptagpos) {
    ARPositionTag* tag = mPosTagList->GetAt(state.ptagpos);
    if (!tag->isEndMarker() || tag->placedAt() != pos) return;
    state.CloseIfOpen(tag);
    mPosTagList->GetNext(state.ptagpos);
  }
}

void* ARMusicalVoice::GetHeadPosition(ARMusicalVoiceState& state) const {
  state.DeleteAll();
  void* head = GetHeadPosition();
  state.vpos = head;
  state.ptagpos = mPosTagList ? mPosTagList->GetHeadPosition() : nullptr;
  OpenRangesAt(head, state);
  state.curtp = head ? GetAt(head)->getRelativeTimePosition() : Frac_0;
  if (readmode == CHORDMODE && state.keepsChordSnapshots && state.curchordtag)
    state.chordState = state.Snapshot();
  return head;
}

void* ARMusicalVoice::StartForwardWalk(ARMusicalVoiceState& state) const {
  state.keepsChordSnapshots = false;
  return GetHeadPosition(state);
}

ARMusicalObject* ARMusicalVoice::Step(void*& pos, ARMusicalVoiceState& state) const {
  CloseRangesAt(pos, state);
  void* at = pos;
  ARMusicalObject* object = ObjectList::GetNext(pos);
  // Events are neither tags nor range ends; most steps take one, so they skip both questions.
  if (!object->isEventClass()) {
    if (object->getWalkKind() == 0) MELVARIN_ASSERT(ar_cast<ARRangeEnd>(object) == nullptr);
    const std::uint8_t kind = VoicePass::KindOf(object);
    // A tag whose range is optional stands in the event list too, with its range flag set (a
    // repeat end written with a range); the walk takes it as a plain element.
    if (kind & VoicePass::kKindStateTag) {
      auto* tag = ar_cast<ARMusicalTag>(object);
      if (kind & VoicePass::kKindStaff) {
        // Clef and key belong to the staff: a voice moving to another staff has neither yet.
        auto* staff = ar_cast<ARStaff>(tag);
        auto* current = ar_cast<ARStaff>(state.getCurStateTag(typeid(ARStaff)));
        if (current && current->getStaffNumber() != staff->getStaffNumber()) {
          state.RemoveCurStateTag(typeid(ARClef));
          state.RemoveCurStateTag(typeid(ARKey));
        }
      }
      state.AddStateTag(tag);
    }
    if (kind & VoicePass::kKindBar) {
      state.curlastbartp = object->getRelativeTimePosition();
      state.curlastbarpos = at;
    }
  }
  OpenRangesAt(pos, state);
  return object;
}

ARMusicalObject* ARMusicalVoice::GetNext(void*& pos, ARMusicalVoiceState& state) const {
  state.DeleteAddedAndRemovedPTags();
  ARChordTag* chord = readmode == CHORDMODE ? state.curchordtag : nullptr;
  ARMusicalObject* first = nullptr;
  while (pos) {
    ARMusicalObject* object = Step(pos, state);
    if (!first) first = object;
    if (!chord || state.curchordtag != chord) break;
  }
  state.vpos = pos;
  state.curtp = first ? first->getRelativeEndTimePosition() : Frac_0;

  if (readmode == CHORDMODE && state.keepsChordSnapshots) {
    // A snapshot stands just before each chord, so that a step back can return to it.
    if (state.curchordtag) {
      // The snapshot before the last chord but one is no longer needed: the new one is made in
      // its room.
      ARMusicalVoiceState* spare = nullptr;
      if (state.chordState) {
        spare = state.prevchordState;
        state.prevchordState = state.chordState;
        state.chordState = nullptr;
      }
      state.chordState = state.Snapshot(spare);
    } else if (state.chordState) {
      delete state.prevchordState;
      state.prevchordState = state.chordState;
      state.chordState = nullptr;
    }
  }
  return first;
}

ARMusicalObject* ARMusicalVoice::GetPrevEvent(void*& pos, ARMusicalVoiceState& state) const {
  void* prev = pos;
  if (prev)
    ObjectList::GetPrev(prev);
  else
    prev = GetTailPosition();
  if (!prev) return nullptr;
  ARMusicalObject* object = GetAt(prev);
  MELVARIN_ASSERT(object->isEventClass());

  state.DeleteAddedAndRemovedPTags();
  bool intoChord = false;
  if (mPosTagList) {
    void* entry = state.ptagpos;
    if (entry)
      mPosTagList->GetPrev(entry);
    else
      entry = mPosTagList->GetTailPosition();
    // Undo the last step backwards: the ranges it opened at pos close, those it closed at the
    // element before open again.
    while (entry && pos) {
      ARPositionTag* tag = mPosTagList->GetAt(entry);
      if (tag->isEndTagClass() || tag->getPosition() != pos) break;
      if (state.IsOpen(tag)) state.RemovePositionTag(tag);
      state.ptagpos = entry;
      mPosTagList->GetPrev(entry);
    }
    while (entry) {
      ARPositionTag* tag = mPosTagList->GetAt(entry);
      if (!tag->isEndTagClass() || tag->getPosition() != prev) break;
      ARPositionTag* begin = tag->getCorrespondence();
      if (ARMusicalVoiceState::AsChordRange(begin)) intoChord = true;
      if (begin && !state.IsOpen(begin)) state.AddPositionTag(begin);
      state.ptagpos = entry;
      mPosTagList->GetPrev(entry);
    }
  }

  if (readmode == CHORDMODE && intoChord) {
    // Back to just before the chord, as the snapshot taken there saw it.
    ARMusicalVoiceState* snapshot = state.prevchordState;
    MELVARIN_ASSERT(snapshot != nullptr);
    state.prevchordState = nullptr;
    state.DeleteAll();
    state.CopyFrom(*snapshot, false);
    state.chordState = snapshot;
    pos = state.vpos;
    return GetAt(pos);
  }
  pos = prev;
  state.vpos = prev;
  state.curtp = object->getRelativeTimePosition();
  return object;
}
