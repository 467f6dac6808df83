// What the automatic passes share: linking a range in at the walk's cursor, automatic ties and
// cutting an event or a chord in two.
#include "ARVoicePassSupport.h"

#include <vector>

#include "ARBar.h"
#include "ARCast.h"
#include "ARChordTag.h"
#include "ARDisplayDuration.h"
#include "ARMeter.h"
#include "ARMusic.h"
#include "ARMusicalVoice.h"
#include "ARMusicalVoiceState.h"
#include "ARNewSystem.h"
#include "ARNote.h"
#include "ARNoteName.h"
#include "ARStaff.h"
#include "ARTie.h"
#include "MoreMusicalTags.h"
#include "engine_globals.h"
#include "src/common/assertion.h"

namespace VoicePass {

std::uint8_t KindOf(ARMusicalObject const* object) {
  std::uint8_t kind = object->getWalkKind();
  if (kind != 0) return kind;
  kind = kKindKnown;
  if (auto const* tag = ar_cast<ARMusicalTag const>(object)) {
    kind |= kKindTag;
    if (tag->IsStateTag()) kind |= kKindStateTag;
  }
  if (ar_cast<ARStaff const>(object)) kind |= kKindStaff;
  if (ar_cast<ARBar const>(object)) kind |= kKindBar;
  if (ar_cast<ARPositionTag const>(object)) kind |= kKindRangeTag;
  if (ar_cast<ARMeter const>(object)) kind |= kKindMeter;
  if (ar_cast<ARPossibleBreak const>(object) || ar_cast<ARNewSystem const>(object) ||
      ar_cast<ARNewPage const>(object))
    kind |= kKindBreak;
  object->setWalkKind(kind);
  return kind;
}

bool IsEmptyNote(ARMusicalObject const* object) {
  auto const* note = ar_cast<ARNote const>(object);
  return note && note->getName().equal(ARNoteName::empty.c_str());
}

bool IsNamedNote(ARMusicalObject const* object) {
  return ar_cast<ARNote const>(object) && !IsEmptyNote(object);
}

bool EventsMergeAsOne(ARMusicalVoice const& voice, void* pos, void* end,
                      ARMusicalVoiceState state) {
  ARMusicalEvent const* previous = nullptr;
  while (pos) {
    void* at = pos;
    ARMusicalObject* object = voice.GetNext(pos, state);
    if (auto* event = ar_cast<ARMusicalEvent const>(object); event && object->isEventClass()) {
      if (previous && !previous->CanBeMerged(event)) return false;
      previous = event;
    }
    if (at == end) break;
  }
  return true;
}

void* InsertBefore(KF_IPointerList<ARPositionTag>& list, void* node, ARPositionTag* tag) {
  return node ? list.AddElementAt(node, tag) : list.AddTail(tag);
}

}  // namespace VoicePass

void ARMusicalVoice::doAutoStuff1() {
  doAutoDispatchLyrics();
  doAutoKeys();
  doAutoBarlines();
}

void ARMusicalVoice::doAutoStuff2() {
  // Before the lines get their opening clef and key: a grace group that opens a line comes
  // after them.
  doAutoGracesBeforeTheirNotes();
  doAutoCheckStaffStateTags();
  doAutoDisplayCheck();
  // The beaming walk is the last through the whole voice before the end bar, and the tie pass
  // in between adds only range tags: the settings in force at the walk's end are the last ones
  // of the voice, which the end bar would otherwise look for from the end.
  ARAuto const* settings = doAutoBeaming();
  doAutoTies();
  doAutoEndBar(settings);
}

void* ARMusicalVoice::LinkRangeAtCursor(ARPositionTag* begin, ARTagEnd* end, void* beginPos,
                                        void* endPos, ARMusicalVoiceState& state,
                                        void* beginBefore) {
  PositionTagList& list = PositionTags();
  begin->setPosition(beginPos);
  end->setPosition(endPos);
  begin->setCorrespondence(end);
  end->setCorrespondence(begin);
  if (beginBefore) {
    list.AddElementAt(beginBefore, begin);
  } else if (state.ptagpos) {
    list.AddElementAt(state.ptagpos, begin);
  } else {
    list.AddTail(begin);
  }
  return state.ptagpos ? list.AddElementAt(state.ptagpos, end) : list.AddTail(end);
}

std::pair<ARTie*, ARTagEnd*> ARMusicalVoice::MakeAutoTie() {
  const int id = gCurArMusic ? gCurArMusic->NextTagId() : 0;
  auto* tie = VoicePass::Auto(new ARTie);
  tie->setID(id);
  auto* end = VoicePass::Auto(new ARDummyRangeEnd("\\tieEnd"));
  end->setID(id);
  return {tie, end};
}

void* ARMusicalVoice::CutEventAt(ARMusicalVoiceState& state, void* p, Fraction const& first,
                                 void* after, bool tie, void** beginSlot) {
  ARMusicalObject* event = GetAt(p);
  const Fraction whole = event->getDuration();
  const Fraction cutTime = event->getRelativeTimePosition() + first;
  event->setDuration(first);
  ARMusicalObject* rest = event->Copy();
  MELVARIN_ASSERT(rest && rest->isEventClass());
  rest->setRelativeTimePosition(cutTime);
  rest->setDuration(whole - first);
  void* restPos = AddElementAfter(after, rest);
  PositionTagList& list = PositionTags();

  // The end markers at the event: ranges that ended on it end on its second part; the tie from
  // the piece before, made when that piece was cut, stays on this one and is passed now.
  std::vector<void*> run;
  void* afterRun = state.ptagpos;
  while (afterRun) {
    ARPositionTag* tag = list.GetAt(afterRun);
    if (!tag->isEndTagClass() || tag->getPosition() != p) break;
    run.push_back(afterRun);
    list.GetNext(afterRun);
  }
  std::vector<ARPositionTag*> kept;
  std::vector<ARPositionTag*> moved;
  for (void* node : run) {
    ARPositionTag* tag = list.GetAt(node);
    auto const* begin = ar_cast<ARTie const>(tag->getCorrespondence());
    if (begin && begin->getIsAuto()) {
      kept.push_back(tag);
      if (state.IsOpen(tag)) state.RemovePositionTag(tag, 0);
    } else {
      tag->setPosition(restPos);
      moved.push_back(tag);
    }
  }
  // In the list, at every element the begins come first, then the ends.
  for (size_t i = 0; i < run.size(); ++i)
    list.SetAt(run[i], i < kept.size() ? kept[i] : moved[i - kept.size()]);
  void* firstMoved = kept.size() < run.size() ? run[kept.size()] : afterRun;
  void* cursor = firstMoved;

  if (tie && VoicePass::IsNamedNote(rest)) {
    auto [autoTie, tieEnd] = MakeAutoTie();
    autoTie->setRelativeTimePosition(event->getRelativeTimePosition());
    autoTie->setPosition(p);
    tieEnd->setRelativeTimePosition(cutTime);
    tieEnd->setPosition(restPos);
    autoTie->setCorrespondence(tieEnd);
    tieEnd->setCorrespondence(autoTie);
    VoicePass::InsertBefore(list, run.empty() ? firstMoved : run.front(), autoTie);
    cursor = VoicePass::InsertBefore(list, firstMoved, tieEnd);
    state.AddPositionTag(autoTie, 0);
  }
  if (beginSlot) *beginSlot = kept.empty() ? cursor : run.front();
  state.ptagpos = cursor;
  state.DeleteAddedAndRemovedPTags();
  return restPos;
}

void* ARMusicalVoice::CutChordAt(ARMusicalVoiceState& state, void* p, Fraction const& first) {
  ARMusicalObject* opening = GetAt(p);
  const Fraction whole = opening->getDuration();
  const Fraction cutTime = opening->getRelativeTimePosition() + first;
  if (ARDisplayDuration* shown = state.curdispdur) shown->setDisplayDuration(first);
  // The chord's notes stand at its end, which moves to the cut.
  if (void* end = state.curchordtag->getEndPosition()) {
    for (void* pos = p; pos;) {
      void* at = pos;
      ARMusicalObject* element = ObjectList::GetNext(pos);
      if (element->getDuration() == Frac_0) element->setRelativeTimePosition(cutTime);
      if (at == end) break;
    }
  }
  opening->setDuration(first);
  return CopyChord(state, cutTime, whole - first);
}
