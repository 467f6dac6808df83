// Ties between neighbouring notes of one pitch in place of every tie range, and the end bar.
#include <algorithm>
#include <unordered_set>
#include <vector>

#include "ARAuto.h"
#include "ARBar.h"
#include "ARCast.h"
#include "ARChordTag.h"
#include "ARDisplayDuration.h"
#include "ARFinishBar.h"
#include "ARMusic.h"
#include "ARMusicalVoice.h"
#include "ARMusicalVoiceState.h"
#include "ARNote.h"
#include "ARRepeatEnd.h"
#include "ARTie.h"
#include "ARTieRangeWalk.h"
#include "ARVoicePassSupport.h"
#include "MoreMusicalTags.h"
#include "TagParameterList.h"
#include "engine_globals.h"

namespace {

// An event of a merge after its first, drawn as part of the note before it: a tie joins the
// notes drawn, so it leads past such an event.
bool IsMergedAway(ARMusicalObject const& event, ARMusicalVoiceState const& state) {
  ARDisplayDuration const* shown = state.getCurDisplayDuration();
  return shown && shown->getDisplayDuration() == Frac_0 && event.getDuration() > Frac_0;
}

}  // namespace

void ARMusicalVoice::doAutoTies() {
  // Only a tie range gives the walk anything to do; the ties it makes are range tags, so the
  // voice's events, bar lines and settings, which the end bar reads, are the same either way.
  if (!VoicePass::AnyRangeOf<ARTie>(mPosTagList)) return;
  const int oldMode = readmode;
  readmode = EVENTMODE;
  ARMusicalVoiceState state;
  ARTieRangeWalk walk(PositionTags());
  std::unordered_set<ARPositionTag*> doneRanges;
  ARChordTag* lastChord = nullptr;
  ARChordTag* previousChord = nullptr;

  void* pos = StartForwardWalk(state);
  for (long step = 0; pos; ++step) {
    const ARTieRangeWalk::Place place{pos, GetAt(pos), state.ptagpos, step};
    for (ARPositionTag* added : state.addedpositiontags)
      if (auto* range = ar_cast<ARTie>(added)) walk.enterRange(range, state.curchordtag, place);
    if (place.object->isEventClass() && !IsMergedAway(*place.object, state))
      walk.atEvent(place, state.curchordtag, previousChord);

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
      walk.leaveRange(range, step);
      doneRanges.insert(range);
    }
  }
  walk.makeTies();

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
