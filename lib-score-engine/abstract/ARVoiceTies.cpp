// Ties between neighbouring notes of one pitch in place of every tie range, and the end bar.
#include <algorithm>
#include <unordered_set>
#include <vector>

#include "ARAuto.h"
#include "ARBar.h"
#include "ARCast.h"
#include "ARChordTag.h"
#include "ARFinishBar.h"
#include "ARMusic.h"
#include "ARMusicalVoice.h"
#include "ARMusicalVoiceState.h"
#include "ARNote.h"
#include "ARRepeatEnd.h"
#include "ARTie.h"
#include "ARVoicePassSupport.h"
#include "MoreMusicalTags.h"
#include "TagParameterList.h"
#include "engine_globals.h"

namespace {

// A tie range of the voice while the walk is inside it.
struct OpenTieRange {
  ARTie* range;
  ARChordTag* chord;  // current at its first event
  ARNote* first;      // its first event, when a note
};

// A tie started at a note and not yet closed.
struct ARTieStruct {
  ARTie* tie;
  void* node;  // its place in the range-tag list
  ARTie* range;
  ARChordTag* chord;
  ARNote* note;
  void* startPos;
};

bool Matches(ARMusicalObject* object, ARNote const* note) {
  auto* candidate = ar_cast<ARNote>(object);
  return candidate && note && candidate->CompareNameOctavePitch(*note);
}

}  // namespace

void ARMusicalVoice::doAutoTies() {
  // Only a tie range gives the walk anything to do; the ties it makes are range tags, so the
  // voice's events, bar lines and settings, which the end bar reads, are the same either way.
  if (!VoicePass::AnyRangeOf<ARTie>(mPosTagList)) return;
  const int oldMode = readmode;
  readmode = EVENTMODE;
  ARMusicalVoiceState state;
  std::vector<OpenTieRange> ranges;
  std::vector<ARTieStruct> started;
  std::unordered_set<ARPositionTag*> doneRanges;
  ARChordTag* lastChord = nullptr;
  ARChordTag* previousChord = nullptr;

  void* pos = StartForwardWalk(state);
  while (pos) {
    void* p = pos;
    ARMusicalObject* object = GetAt(p);
    for (ARPositionTag* added : state.addedpositiontags)
      if (auto* range = ar_cast<ARTie>(added))
        ranges.push_back({range, state.curchordtag, ar_cast<ARNote>(object)});

    if (object->isEventClass()) {
      ARChordTag* chordNow = state.curchordtag;
      for (OpenTieRange const& range : ranges) {
        bool start;
        const bool onPlaceholder =
            range.chord && range.first && VoicePass::IsEmptyNote(range.first);
        if (!onPlaceholder)
          start = range.range->getPosition() == p || VoicePass::IsNamedNote(object);
        else if (!chordNow)
          start = Matches(object, range.first);
        else if (range.range->getPosition() != p)
          start = VoicePass::IsNamedNote(object);
        else
          start = range.chord != chordNow && Matches(object, range.first);
        if (!start) continue;
        auto* tie = VoicePass::Auto(new ARTie);
        tie->setID(gCurArMusic ? gCurArMusic->NextTagId() : 0);
        tie->setPosition(p);
        tie->setRelativeTimePosition(object->getRelativeTimePosition());
        if (TagParameterList* parameters = range.range->getTagParameterList()) {
          tie->setTagParameterList(*parameters);
          delete parameters;
        }
        void* node = VoicePass::InsertBefore(PositionTags(), state.ptagpos, tie);
        started.push_back({tie, node, range.range, chordNow, ar_cast<ARNote>(object), p});
      }

      for (size_t i = 0; i < started.size();) {
        ARTieStruct& tie = started[i];
        if (tie.startPos == p) {
          ++i;
          continue;
        }
        bool close = false;
        bool drop = false;
        if (!chordNow) {
          close = Matches(object, tie.note);
          drop = !close;
        } else if (tie.chord != chordNow) {
          close = Matches(object, tie.note);
          drop = !close && tie.chord != previousChord;
        }
        if (close) {
          auto* end = VoicePass::Auto(new ARDummyRangeEnd("\\tieEnd"));
          end->setID(tie.tie->getID());
          end->setPosition(p);
          end->setRelativeTimePosition(object->getRelativeTimePosition());
          tie.tie->setCorrespondence(end);
          end->setCorrespondence(tie.tie);
          VoicePass::InsertBefore(*mPosTagList, state.ptagpos, end);
        } else if (drop) {
          mPosTagList->RemoveElementAt(tie.node);
        }
        if (close || drop)
          started.erase(started.begin() + static_cast<long>(i));
        else
          ++i;
      }
    }

    GetNext(pos, state);
    if (pos && GetAt(pos)->isEventClass()) {
      if (state.curchordtag != lastChord) {
        previousChord = lastChord;
        lastChord = state.curchordtag;
      } else if (!lastChord) {
        previousChord = nullptr;
      }
    }
    for (ARPositionTag* removed : state.removedpositiontags) {
      auto* range = ar_cast<ARTie>(removed);
      if (!range || doneRanges.count(range)) continue;
      auto unfinished = [&](ARTieStruct const& tie) { return tie.range == range; };
      for (ARTieStruct const& tie : started)
        if (unfinished(tie)) mPosTagList->RemoveElementAt(tie.node);
      started.erase(std::remove_if(started.begin(), started.end(), unfinished), started.end());
      ranges.erase(std::remove_if(ranges.begin(), ranges.end(),
                                  [&](OpenTieRange const& r) { return r.range == range; }),
                   ranges.end());
      doneRanges.insert(range);
    }
  }
  // Ties started near the end that nothing closed.
  for (ARTieStruct const& tie : started) mPosTagList->RemoveElementAt(tie.node);

  // The ranges themselves go, with their end markers, in one pass over the list.
  if (mPosTagList && !doneRanges.empty()) {
    std::unordered_set<ARPositionTag*> gone;
    for (ARPositionTag* range : doneRanges) {
      gone.insert(range);
      if (range->getCorrespondence()) gone.insert(range->getCorrespondence());
    }
    for (void* at = mPosTagList->GetHeadPosition(); at;) {
      void* node = at;
      if (gone.count(mPosTagList->GetNext(at))) mPosTagList->RemoveElementAt(node);
    }
  }
  readmode = oldMode;
}

void ARMusicalVoice::doAutoEndBar(ARAuto const* settings) {
  ARMusicalObject const* last = GetTail();
  if (!last) return;
  if (ar_cast<ARRepeatEnd const>(last) || ar_cast<ARFinishBar const>(last)) return;
  // What a walk through the voice holds at its end: the end of the last element and the time of
  // the last bar line (0 without one), looked for from the end.
  const Fraction endTime = last->getRelativeEndTimePosition();
  ARMusicalObject const* lastBar = nullptr;
  for (void* pos = GetTailPosition(); pos && !lastBar;) {
    ARMusicalObject const* object = ObjectList::GetPrev(pos);
    if (!object->isEventClass() && (VoicePass::KindOf(object) & VoicePass::kKindBar))
      lastBar = object;
  }
  const Fraction lastBarTime = lastBar ? lastBar->getRelativeTimePosition() : Fraction();
  if (lastBarTime == endTime) return;
  if (settings && settings->getEndBar() == ARAuto::OFF) return;
  auto* bar = VoicePass::Auto(new ARFinishBar(getRelativeEndTimePosition()));
  AddTail(bar);
}
