#include "ARVoiceManager.h"

#include <algorithm>

#include "ARBar.h"
#include "ARCast.h"
#include "ARChordTag.h"
#include "ARDisplayDuration.h"
#include "ARMeter.h"
#include "ARMusicalVoice.h"
#include "ARNewSystem.h"
#include "ARNote.h"
#include "ARRepeatBegin.h"
#include "ARRest.h"
#include "ARTie.h"
#include "ARVoicePassSupport.h"
#include "MoreMusicalTags.h"
#include "src/common/assertion.h"

ARVoiceManager::ARVoiceManager(ARMusicalVoice* walked, bool betweenBeats)
    : mBetweenBeats(betweenBeats), voice(walked) {
  MELVARIN_ASSERT(voice != nullptr);
  voice->GetHeadPosition(mCurrVoiceState);
  // Gathered once: the break pass asks at every date, and a walk per question would make it
  // quadratic in the voice's length.
  for (void* pos = voice->ObjectList::GetHeadPosition(); pos;) {
    ARMusicalObject const* object = voice->ObjectList::GetNext(pos);
    if (object->isEventClass()) continue;
    if (ar_cast<ARRepeatBegin const>(object))
      repeatBeginTimes.push_back(object->getRelativeTimePosition());
    if (ar_cast<ARBar const>(object)) barTimes.push_back(object->getRelativeTimePosition());
  }
  std::sort(repeatBeginTimes.begin(), repeatBeginTimes.end());
  std::sort(barTimes.begin(), barTimes.end());
}

bool ARVoiceManager::unbarredAt(Fraction const& tp) const {
  // A stretch up to a whole note long fits a line; a longer one may not.
  auto const next = std::upper_bound(barTimes.begin(), barTimes.end(), tp);
  Fraction const from = next == barTimes.begin() ? Frac_0 : *(next - 1);
  Fraction const to = next == barTimes.end() ? voice->getDuration() : *next;
  return to - from > Fraction(1, 1);
}

int ARVoiceManager::CodeOfNext() const {
  void* next = mCurrVoiceState.vpos;
  if (!next) return kConsumedToEnd;
  return voice->GetAt(next)->getDuration() != Frac_0 ? kConsumedBeforeEvent : kConsumedBeforeTag;
}

int ARVoiceManager::Iterate(Fraction& tp, int tagMode) {
  void*& pos = mCurrVoiceState.vpos;
  if (!pos) return kFinished;
  ARMusicalObject const* next = voice->GetAt(pos);
  const bool takesTime = next->getDuration() != Frac_0;
  if (mCurrVoiceState.curtp > tp) {
    tp = mCurrVoiceState.curtp;
    return takesTime ? kAheadAtEvent : kAheadAtTag;
  }
  MELVARIN_ASSERT(mCurrVoiceState.curtp == tp);
  if (tagMode) {
    if (takesTime) return kAtEvent;
    if (ar_cast<ARNewSystem const>(next)) return kNewSystem;
    if (ar_cast<ARNewPage const>(next)) return kNewPage;
    passOver(next);
    voice->GetNext(pos, mCurrVoiceState);
    return CodeOfNext();
  }
  // An object without duration met here is consumed as in tag mode: the date stays.
  passOver(next);
  voice->GetNext(pos, mCurrVoiceState);
  tp = mCurrVoiceState.curtp;
  return CodeOfNext();
}

void ARVoiceManager::passOver(ARMusicalObject const* object) {
  if (mBetweenBeats && !object->isEventClass() && ar_cast<ARPossibleBreak const>(object))
    lastbreaktp = mCurrVoiceState.curtp;
}

bool ARVoiceManager::BeginsBetweenBeats(Fraction const& tp) const {
  if (tp == Frac_0 || tp == voice->getDuration() || tp == lastbreaktp) return false;
  // A voice still within an event, or past its end, would have it cut.
  if (mCurrVoiceState.curtp != tp || !mCurrVoiceState.vpos) return false;
  return tp - lastbreaktp >= Fraction(1, 4);
}

namespace {

// Whether a drawn length shows a value as long as the event lasts, dots and all.
bool DrawnAsItLasts(ARDisplayDuration const& shown, Fraction const& length) {
  const Fraction value = shown.getDisplayDuration();
  Fraction drawn = value;
  Fraction dot = value;
  for (int i = 0; i < shown.getDots(); ++i) {
    dot = dot * Fraction(1, 2);
    drawn = drawn + dot;
  }
  return drawn == length;
}

// Whether a note of the chord that begins at pos is tied on: its parts would each be tied to
// their copy, and the tie written would reach over the second part. The look goes no further
// than the chord, whether the voice is read event by event or chord by chord.
bool ChordNoteTied(ARMusicalVoice const& voice, void* pos, ARMusicalVoiceState state) {
  void* const end = state.getCurChordTag()->getEndPosition();
  constexpr std::uint8_t kTied = ARMusicalVoiceState::kRangeTie | ARMusicalVoiceState::kRangeMerge;
  while (pos) {
    void* const at = pos;
    voice.GetNext(pos, state);
    for (ARPositionTag const* tag : state.getCurPositionTags())
      if (ARMusicalVoiceState::RangeKindOf(tag) & kTied) return true;
    if (at == end || !end || !state.getCurChordTag()) break;
  }
  return false;
}

// Whether tag is an automatic tie into or on from the note at pos.
bool TiesHeadOf(ARPositionTag const* tag, void* pos) {
  auto const* tie = ar_cast<ARTie const>(tag);
  ARPositionTag const* end = tag->getCorrespondence();
  return tie && tie->getIsAuto() && end && (tag->getPosition() == pos || end->getPosition() == pos);
}

}  // namespace

bool ARVoiceManager::HoldsAcrossBeat(Fraction const& tp, bool notesToo) const {
  ARMusicalVoiceState const& state = mCurrVoiceState;
  if (tp == Frac_0 || state.curtp <= tp || !state.vpos) return false;
  if (tp - lastbreaktp < Fraction(1, 4)) return false;
  // Within a beat the cut would leave lengths that are not written there.
  const Fraction barStart = state.curlastbarpos ? state.curlastbartp : Frac_0;
  if ((tp - barStart) % Fraction(1, 4) != Frac_0) return false;
  // A rest parts in two rests that read as it did. A note or chord goes on in a tied one, which
  // reads as held only where its parts are plain or dotted values of their own: not within a
  // tuplet or a length drawn otherwise than it lasts (a chord's drawn length, which is only its
  // own, is given to each part). Its beams were settled before: one beamed keeps whole. Its
  // own ties, into it and on from it, each join two heads: the cut keeps them on the right part.
  ARMusicalVoiceState held = state;
  void* pos = held.vpos;
  ARMusicalObject const* event = voice->GetPrevEvent(pos, held);
  if (!pos) return false;
  if (ar_cast<ARRest const>(event) && held.curchordtag == nullptr) return true;
  ARDisplayDuration const* shown = held.curdispdur;
  if (shown && !(held.curchordtag && DrawnAsItLasts(*shown, event->getDuration()))) return false;
  if (!notesToo || !ar_cast<ARNote const>(event)) return false;
  constexpr std::uint8_t kSettled =
      ARMusicalVoiceState::kRangeTie | ARMusicalVoiceState::kRangeBeam |
      ARMusicalVoiceState::kRangeTuplet | ARMusicalVoiceState::kRangeMerge |
      ARMusicalVoiceState::kRangeDisplayDuration | ARMusicalVoiceState::kRangeGrace;
  for (ARPositionTag const* tag : held.curpositiontags)
    if (tag != shown && (ARMusicalVoiceState::RangeKindOf(tag) & kSettled) &&
        !(held.curchordtag == nullptr && TiesHeadOf(tag, pos)))
      return false;
  if (held.curchordtag && ChordNoteTied(*voice, pos, held)) return false;
  // The second part of a note or chord parted here keeps whole: the ties the cut made are not
  // among the ranges the walk knows.
  if (state.curtp == partedEnd) return false;
  // Parted once, at the beat nearest its middle (the earlier of two as near): its tie then
  // keeps it from parting again, and a break nearer one end would leave most of it on one line.
  Fraction const& from = event->getRelativeTimePosition();
  Fraction const offMiddle = tp - from - (state.curtp - from) * Fraction(1, 2);
  if (offMiddle < Fraction(-1, 8) || offMiddle >= Fraction(1, 8)) return false;
  // A length whose denominator is no power of two (under a meter of 5/40, say) has no value.
  auto drawnAsOne = [](Fraction length) {
    if (!ARMusicalObject::IsPowerOfTwoDenom(length)) return false;
    int dots = 1;
    return ARMusicalVoice::DurationIsDisplayable(length, dots);
  };
  return drawnAsOne(tp - from) && drawnAsOne(state.curtp - tp);
}

float ARVoiceManager::CheckBreakPosition(Fraction const& tp) const {
  if (tp == Frac_0 || tp == voice->getDuration()) return -1.0f;
  if (tp == lastbreaktp) return -10000.0f;
  if (std::binary_search(repeatBeginTimes.begin(), repeatBeginTimes.end(), tp))
    return kBarBreakWorth;
  Fraction const& now = mCurrVoiceState.curtp;
  MELVARIN_ASSERT(now >= tp);
  if (now == tp) {
    if (!mCurrVoiceState.vpos) return -1.0f;
    const bool atBar = mCurrVoiceState.curlastbarpos && mCurrVoiceState.curlastbartp == tp;
    if (atBar) return kBarBreakWorth;
    // Music without bar lines may still break between its events, though a bar line anywhere
    // near is the better place. Breaks a whole note apart, as bars of four quarters give them,
    // are choice enough for the line breaker, and each break offered is a state the layout
    // keeps.
    const bool spaced = tp - lastbreaktp >= Fraction(1, 1);
    return spaced && unbarredAt(tp) ? kUnbarredBreakWorth : -1.0f;
  }
  // The break would cut the event that spans tp.
  const Fraction sinceBreak = tp - lastbreaktp;
  const Fraction two(2, 1);
  if (sinceBreak < two) return -2.0f;
  ARMeter const* meter = mCurrVoiceState.curmeter;
  const bool metered = meter && meter->getNumerator() != 0;
  if (sinceBreak > two && metered) return 2.0f;
  if (sinceBreak == two) return -2.0f;
  if (metered) return -2.0f;
  return mCurrVoiceState.vpos != voice->ObjectList::GetHeadPosition() ? 0.0f : -2.0f;
}

void* ARVoiceManager::InsertAtBreakPlace(ARMusicalObject* tag) {
  ARMusicalVoiceState& state = mCurrVoiceState;
  void* bar = state.curlastbarpos;
  if (bar && state.curlastbartp == state.curtp) return voice->AddElementAfter(bar, tag);
  if (void* repeat = repeatBeginHere()) {
    // A repeat begin that stands for the bar line: should the line end here, the line ends with
    // a bar line and the repeat sign opens the next one. The layout hides that bar where the
    // repeat sign follows it on the same line.
    voice->AddElementAt(repeat, VoicePass::Auto(new ARBar(state.curtp)));
    return voice->AddElementAt(repeat, tag);
  }
  if (!state.vpos) return voice->ObjectList::AddTail(tag);
  return voice->AddElementAt(firstOfDate(), tag);
}

void* ARVoiceManager::firstOfDate() const {
  // Grace notes, marks and changes written at the date belong to the event they lead to, as
  // after a bar line: the break goes in front of them, right after the event before (a chord
  // ends with an empty note of no duration at the date).
  ARMusicalVoiceState const& state = mCurrVoiceState;
  void* first = state.vpos;
  void* pos = state.vpos;
  voice->ObjectList::GetPrev(pos);
  while (pos) {
    void* const at = pos;
    ARMusicalObject const* object = voice->ObjectList::GetPrev(pos);
    if (object->getDuration() != Frac_0 || object->getRelativeTimePosition() != state.curtp) break;
    auto const* note = object->isEventClass() ? ar_cast<ARNote const>(object) : nullptr;
    if (note && note->getPitch() == 0) break;
    first = at;
  }
  return first;
}

void* ARVoiceManager::repeatBeginHere() const {
  ARMusicalVoiceState const& state = mCurrVoiceState;
  if (!std::binary_search(repeatBeginTimes.begin(), repeatBeginTimes.end(), state.curtp))
    return nullptr;
  // The tags of this date lie just before the next object, the event the walk stands at.
  void* pos = state.vpos ? state.vpos : voice->ObjectList::GetTailPosition();
  if (state.vpos) voice->ObjectList::GetPrev(pos);
  while (pos) {
    void* const at = pos;
    ARMusicalObject const* object = voice->ObjectList::GetPrev(pos);
    if (object->getDuration() != Frac_0 || object->getRelativeTimePosition() != state.curtp)
      return nullptr;
    if (!object->isEventClass() && ar_cast<ARRepeatBegin const>(object)) return at;
  }
  return nullptr;
}

int ARVoiceManager::InsertBreak(Fraction const& tp, int breakType, float value) {
  ARMusicalVoiceState& state = mCurrVoiceState;
  auto makeTag = [&]() -> ARMusicalTag* {
    ARMusicalTag* tag;
    if (breakType == 2)
      tag = new ARNewPage;
    else if (breakType == 1)
      tag = new ARNewSystem;
    else
      tag = new ARPossibleBreak(value);
    tag->setIsAuto(true);
    return tag;
  };

  if (state.curtp <= tp && !state.vpos) {
    // The voice has ended: pad it to tp, so that every voice carries the break.
    if (tp > state.curtp) {
      voice->AddTail(new ARNote(tp - state.curtp));
      state.curtp = tp;
      state.vpos = nullptr;
    }
    ARMusicalTag* tag = makeTag();
    tag->setRelativeTimePosition(state.curtp);
    void* bar = state.curlastbarpos;
    if (bar && state.curlastbartp == state.curtp && bar != voice->GetTailPosition())
      voice->AddElementAfter(bar, tag);
    else
      voice->AddTail(tag);
    return 0;
  }
  if (state.curtp <= tp) {
    ARMusicalObject const* next = voice->GetAt(state.vpos);
    if (ar_cast<ARNewPage const>(next) || ar_cast<ARNewSystem const>(next)) {
      voice->GetNext(state.vpos, state);
      lastbreaktp = tp;
      return 0;
    }
  } else {
    // Step back into the event that spans tp and cut it there.
    partedEnd = state.curtp;
    voice->GetPrevEvent(state.vpos, state);
    voice->SplitEventAtPos(state, tp, 1);
  }
  ARMusicalTag* tag = makeTag();
  tag->setRelativeTimePosition(state.curtp);
  InsertAtBreakPlace(tag);
  lastbreaktp = tp;
  return 0;
}
