// Drawable durations: tuplets for lengths that need them, display durations, cutting what no
// single value draws, and merges.
#include <cstdint>
#include <vector>

#include "ARCast.h"
#include "ARChordTag.h"
#include "ARDisplayDuration.h"
#include "ARMusic.h"
#include "ARMusicalVoice.h"
#include "ARMusicalVoiceState.h"
#include "ARRepeatBegin.h"
#include "ARTie.h"
#include "ARTuplet.h"
#include "ARVoicePassSupport.h"
#include "MoreMusicalTags.h"
#include "engine_globals.h"
#include "engine_work.h"
#include "src/common/assertion.h"

namespace {

// The ties and merges open over the event at p, less the automatic ties that end on it: such a
// tie joins the piece before to this one, which still needs a tie of its own when it is cut.
int TiesOver(ARMusicalVoiceState const& state, void* p) {
  EngineWork::tListSteps += state.getCurPositionTags().size();
  int count = 0;
  for (ARPositionTag* tag : state.getCurPositionTags()) {
    const std::uint8_t kind = ARMusicalVoiceState::RangeKindOf(tag);
    if (!(kind & (ARMusicalVoiceState::kRangeTie | ARMusicalVoiceState::kRangeMerge))) continue;
    auto const* tie = kind & ARMusicalVoiceState::kRangeTie ? static_cast<ARTie*>(tag) : nullptr;
    ARPositionTag const* end = tag->getCorrespondence();
    if (tie && tie->getIsAuto() && end && end->getPosition() == p) continue;
    ++count;
  }
  return count;
}

ARTuplet* TupletOf(ARPositionTag* tag, std::uint8_t kind) {
  return kind & ARMusicalVoiceState::kRangeTuplet ? static_cast<ARTuplet*>(tag) : nullptr;
}

// The largest 1/2^k (k >= 0) not above value; value is above 0.
Fraction LargestPlainValueBelow(Fraction const& value) {
  if (value >= Frac_1) return Frac_1;
  int denominator = 1;
  while (Fraction(1, denominator) > value && denominator < (1 << 30)) denominator *= 2;
  return Fraction(1, denominator);
}

}  // namespace

bool ARMusicalVoice::DurationIsDisplayable(Fraction& dur, int& dots) {
  dur.normalize();
  const int n = dur.getNumerator();
  const int m = dur.getDenominator();
  MELVARIN_ASSERT(IsPowerOfTwoDenom(dur));
  const bool dotsAllowed = dots != 0;
  dots = 0;
  if (n == 1 || n == 2) return true;
  if (dotsAllowed && n == 3 && m >= 2) {
    dots = 1;
    return true;
  }
  if (dotsAllowed && n == 7 && m >= 4) {
    dots = 2;
    return true;
  }
  // Lowering the numerator of (n-1)/m one by one, reducing as it goes, ends at the largest plain
  // value not above (n-1)/m; it is found directly, as a huge length would take that many steps.
  dur = n <= 1 ? Fraction(1, m) : LargestPlainValueBelow(Fraction(n - 1, m));
  return false;
}

bool ARMusicalVoice::DurationFitsBase(Fraction const& dur, Fraction const& base,
                                      Fraction& newbase) {
  Fraction shown = dur * base;
  shown.normalize();
  if (IsPowerOfTwoDenom(shown) && shown <= Frac_1 && shown.getNumerator() == 1) return true;
  Fraction reduced = dur;
  reduced.normalize();
  int odd = reduced.getDenominator();
  while (odd > 0 && odd % 2 == 0) odd /= 2;
  if (odd <= 1)
    newbase = Frac_1;
  else if (odd == 3)
    newbase = Fraction(3, 2);
  else if (odd == 5)
    newbase = Fraction(5, 4);
  else if (odd <= 11)
    newbase = Fraction(odd, 8);
  else
    newbase = Fraction(odd, reduced.getNumerator() > 0 ? reduced.getNumerator() : 1);
  return false;
}

void ARMusicalVoice::TupletdurToDispdur(Fraction& dur, Fraction const& base) {
  dur = dur * base;
  dur.normalize();
  MELVARIN_ASSERT(IsPowerOfTwoDenom(dur));
}

void ARMusicalVoice::DispdurToTupletdur(Fraction& dur, Fraction const& base) {
  dur = dur * Fraction(base.getDenominator(), base.getNumerator());
}

void ARMusicalVoice::InsertDisplayDurationTag(Fraction const& dispdur, int dots,
                                              Fraction const& time, void* pos,
                                              ARMusicalVoiceState& state, int moveCursor) {
  auto* shown = VoicePass::Auto(new ARDisplayDuration);
  shown->setDisplayDuration(dispdur);
  if (dots) shown->setDots(dots);
  shown->setRelativeTimePosition(time);
  auto* end = VoicePass::Auto(new ARDummyRangeEnd("\\dispDurEnd"));
  end->setRelativeTimePosition(time);
  void* endNode = LinkRangeAtCursor(shown, end, pos, pos, state);
  state.AddPositionTag(shown, 0);
  if (moveCursor) state.ptagpos = endNode;
}

void ARMusicalVoice::CloseBase(ARBase* base, ARTuplet* tuplet, void* pos, void* cursor) {
  PositionTagList& list = PositionTags();
  auto close = [&](ARPositionTag* begin, char const* text) {
    auto* end = new ARDummyRangeEnd(text);
    end->setPosition(pos);
    begin->setCorrespondence(end);
    end->setCorrespondence(begin);
    if (cursor)
      list.AddElementAt(cursor, end);
    else
      list.AddTail(end);
  };
  close(base, "\\baseEnd");
  if (tuplet) {
    close(tuplet, "\\tupletEnd");
    tuplet->setupTuplet(base);
  }
}

void ARMusicalVoice::ReplacePositionTag(ARPositionTag* old, ARPositionTag* replacement,
                                        ARMusicalVoiceState& state, char const* endText) {
  auto* oldObject = ar_cast<ARMusicalObject>(old);
  auto* newObject = ar_cast<ARMusicalObject>(replacement);
  MELVARIN_ASSERT(oldObject && newObject);
  newObject->setRelativeTimePosition(oldObject->getRelativeTimePosition());
  replacement->setPosition(old->getPosition());
  ARPositionTag* end = old->getCorrespondence();
  if (auto* named = ar_cast<ARDummyRangeEnd>(end)) {
    named->setEndText(endText);
    if (auto* tag = ar_cast<ARMusicalTag>(replacement)) named->setID(tag->getID());
  }
  if (end) {
    end->setCorrespondence(replacement);
    replacement->setCorrespondence(end);
  }
  if (mPosTagList)
    if (void* node = mPosTagList->GetElementPos(old)) mPosTagList->SetAt(node, replacement);
  if (state.IsOpen(old)) {
    state.RemovePositionTag(old, 0);
    state.AddPositionTag(replacement, 0);
  }
  old->setCorrespondence(nullptr);
}

void ARMusicalVoice::SplitEventAtPos(ARMusicalVoiceState& state, Fraction const& t, int) {
  void* p = state.vpos;
  MELVARIN_ASSERT(p != nullptr);
  ARMusicalObject* event = GetAt(p);
  MELVARIN_ASSERT(event->isEventClass());
  // The automatic ties of the note itself, into it from the note before or on from it to the
  // next, each join two heads only: the tie into it stays on its first part, the tie on leaves
  // from its second, and the two parts need a tie of their own. A tie range written over it
  // (before the ties were made) or a merge reaches both parts as it is.
  int openTies = 0;
  std::vector<ARPositionTag*> tiedOn;
  EngineWork::tListSteps += state.curpositiontags.size();
  for (ARPositionTag* tag : state.curpositiontags) {
    if (!(ARMusicalVoiceState::RangeKindOf(tag) &
          (ARMusicalVoiceState::kRangeTie | ARMusicalVoiceState::kRangeMerge)))
      continue;
    auto const* tie = ar_cast<ARTie const>(tag);
    ARPositionTag const* end = tag->getCorrespondence();
    if (tie && tie->getIsAuto() && end && !state.curchordtag) {
      if (tag->getPosition() == p) {
        tiedOn.push_back(tag);
        continue;
      }
      if (end->getPosition() == p) continue;
    }
    ++openTies;
  }
  const Fraction first = t - event->getRelativeTimePosition();
  if (state.curchordtag) {
    CutChordAt(state, p, first);
    // The walk goes on past the whole first part, its notes too, also where it reads event by
    // event (as it does once the music was laid out): what comes at the cut goes between the
    // two chords, not between the first one's duration and its notes.
    const int mode = readmode;
    readmode = CHORDMODE;
    void* pos = state.vpos;
    GetNext(pos, state);
    readmode = mode;
    return;
  }
  void* rest = CutEventAt(state, p, first, p, openTies == 0);
  if (openTies == 0 && VoicePass::IsNamedNote(GetAt(rest)))
    for (ARPositionTag* tie : tiedOn) MoveRangeBeginBeforeCursor(state, tie, rest, t);
  state.vpos = rest;
  state.curtp = t;
}

void ARMusicalVoice::MoveRangeBeginBeforeCursor(ARMusicalVoiceState& state, ARPositionTag* begin,
                                                void* to, Fraction const& time) {
  // The begin stands among the range tags of the element before, which all lie between it and
  // the cursor: each of them moves up one node, and the begin takes the last one, so that it is
  // the last begin before the end markers at the cursor.
  PositionTagList& list = PositionTags();
  MELVARIN_ASSERT(state.ptagpos != nullptr);
  std::vector<void*> nodes;
  void* node = state.ptagpos;
  list.GetPrev(node);
  while (node && list.GetAt(node) != begin) {
    nodes.push_back(node);
    list.GetPrev(node);
  }
  MELVARIN_ASSERT(node != nullptr);
  nodes.push_back(node);
  for (size_t i = nodes.size() - 1; i > 0; --i) list.SetAt(nodes[i], list.GetAt(nodes[i - 1]));
  list.SetAt(nodes.front(), begin);
  begin->setPosition(to);
  if (auto* object = ar_cast<ARMusicalObject>(begin)) object->setRelativeTimePosition(time);
}

namespace {

// A merged note never reaches over one of these: each bar holds its own part of it.
bool IsBarLine(ARMusicalObject const* object) {
  return (VoicePass::KindOf(object) & VoicePass::kKindBar) || ar_cast<ARRepeatBegin const>(object);
}

// The events of a merge from pos up to its end, summed up to the first bar line among them;
// false when two of them cannot be drawn as one. crossesBar tells whether events follow that
// bar line. With partOnly the look stops at the bar line: the events were checked before.
bool SumMergedEvents(ARMusicalVoice const& voice, void* pos, void* end, ARMusicalVoiceState state,
                     Fraction& sum, bool& crossesBar, bool partOnly = false) {
  if (!partOnly && !VoicePass::EventsMergeAsOne(voice, pos, end, state)) return false;
  bool barPassed = false;
  crossesBar = false;
  while (pos) {
    void* at = pos;
    ARMusicalObject* object = voice.GetNext(pos, state);
    if (object->isEventClass()) {
      crossesBar = crossesBar || barPassed;
      if (!barPassed) sum += object->getDuration();
    } else if (IsBarLine(object)) {
      if (partOnly) break;
      barPassed = true;
    }
    if (at == end) break;
  }
  return true;
}

}  // namespace

void ARMusicalVoice::doAutoDisplayCheck() {
  ARMusicalVoiceState state;
  void* pos = StartForwardWalk(state);
  Fraction base = Frac_1;
  ARBase* openBase = nullptr;
  ARTuplet* autoTuplet = nullptr;
  int writtenTuplets = 0;
  int openTies = 0;
  ARMerge* merge = nullptr;
  int tiesBeforeMerge = 0;
  // The pending merge reaches over a bar line and its parts are tied already; a bar line of it
  // was passed and the next event begins the part of the next bar.
  bool mergeTied = false;
  bool mergePartDue = false;
  void* lastPos = nullptr;
  void* lastCursor = nullptr;

  auto closeOpenBase = [&](ARTuplet* withTuplet, void* at, void* cursor) {
    CloseBase(openBase, withTuplet, at, cursor);
    if (withTuplet && state.IsOpen(withTuplet)) state.RemovePositionTag(withTuplet, 0);
    if (state.IsOpen(openBase)) state.RemovePositionTag(openBase, 0);
    openBase = nullptr;
    autoTuplet = nullptr;
    base = Frac_1;
  };
  // The step's lists as they were: cutting an event below changes the state.
  auto snapshot = [](ARMusicalVoiceState::PositionTags const& tags) { return tags; };
  // Takes a merge and its end marker out of the state and the list, which deletes them.
  auto removeMerge = [&](ARMerge* gone) {
    ARPositionTag* end = gone->getCorrespondence();
    if (state.IsOpen(gone)) state.RemovePositionTag(gone, 0);
    if (end && state.ptagpos && mPosTagList->GetAt(state.ptagpos) == end)
      mPosTagList->GetNext(state.ptagpos);
    if (end) mPosTagList->RemoveElement(end);
    mPosTagList->RemoveElement(gone);
  };
  // One tie over the whole merge, which the tie pass turns into ties between the notes drawn:
  // the merge's part in one bar to its part in the next.
  auto tieMergedParts = [&](ARMerge* across, ARMusicalObject* first, void* at) {
    PositionTagList& list = PositionTags();
    ARPositionTag* mergeEnd = across->getCorrespondence();
    auto [tie, tieEnd] = MakeAutoTie();
    tie->setRelativeTimePosition(first->getRelativeTimePosition());
    tie->setPosition(at);
    if (auto const* endObject = ar_cast<ARMusicalObject>(mergeEnd))
      tieEnd->setRelativeTimePosition(endObject->getRelativeTimePosition());
    tieEnd->setPosition(across->getEndPosition());
    tie->setCorrespondence(tieEnd);
    tieEnd->setCorrespondence(tie);
    VoicePass::InsertBefore(list, state.ptagpos, tie);
    // The tie ends among the ends at the merge's last event, next to the merge's own.
    void* endNode = state.ptagpos;
    while (endNode && list.GetAt(endNode) != mergeEnd) list.GetNext(endNode);
    if (!endNode) endNode = list.GetElementPos(mergeEnd);
    list.AddElementAfter(endNode, tieEnd);
    state.AddPositionTag(tie, 0);
  };

  while (pos) {
    void* p = pos;
    ARMusicalObject* object = GetAt(p);
    Fraction d;

    // The class questions are asked of the tags' kept range kinds: they come at every step.
    for (ARPositionTag* tag : snapshot(state.removedpositiontags)) {
      const std::uint8_t kind = ARMusicalVoiceState::RangeKindOf(tag);
      if (kind & ARMusicalVoiceState::kRangeTie) --openTies;
      if (tag == merge) {
        merge = nullptr;
        mergeTied = false;
        mergePartDue = false;
      }
      if (auto* tuplet = TupletOf(tag, kind); tuplet && tuplet != autoTuplet) {
        if (openBase) closeOpenBase(nullptr, lastPos, lastCursor);
        --writtenTuplets;
      }
    }
    for (ARPositionTag* tag : snapshot(state.addedpositiontags)) {
      const std::uint8_t kind = ARMusicalVoiceState::RangeKindOf(tag);
      if (kind & ARMusicalVoiceState::kRangeTie) ++openTies;
      if (auto* tuplet = TupletOf(tag, kind); tuplet && tuplet != autoTuplet) {
        ++writtenTuplets;
        if (openBase) closeOpenBase(autoTuplet, lastPos, lastCursor);
      }
      if (!(kind & ARMusicalVoiceState::kRangeMerge)) continue;
      auto* written = static_cast<ARMerge*>(tag);
      if (written->getError() != 0) continue;
      Fraction sum;
      bool crossesBar = false;
      if (SumMergedEvents(*this, p, written->getEndPosition(), state, sum, crossesBar)) {
        merge = written;
        tiesBeforeMerge = openTies;
        d = sum;
        mergeTied = crossesBar && VoicePass::IsNamedNote(object);
        mergePartDue = false;
        if (mergeTied) {
          tieMergedParts(written, object, p);
          ++openTies;
        }
        continue;
      }
      // Events that cannot be drawn as one stay as they are; the merge goes.
      written->setError(1);
      removeMerge(written);
    }

    if (object->isEventClass() && !merge) {
      d = object->getDuration();
    } else if (merge && IsBarLine(object)) {
      mergePartDue = true;
    } else if (merge && mergePartDue && object->isEventClass()) {
      // The merged events of the next bar are drawn as one note of their own.
      bool crossesBar = false;
      SumMergedEvents(*this, p, merge->getEndPosition(), state, d, crossesBar, true);
      mergePartDue = false;
    }

    if (d > Frac_0) {
      Fraction newBase;
      if (!DurationFitsBase(d, base, newBase)) {
        if (openBase) {
          if (writtenTuplets > 0) ZudidOvod("Tuplettag does not coincide with durations");
          closeOpenBase(autoTuplet, lastPos, lastCursor);
        }
        if (newBase.getNumerator() >= 2) {
          openBase = new ARBase;
          openBase->setBase(newBase);
          openBase->setRelativeTimePosition(object->getRelativeTimePosition());
          openBase->setPosition(p);
          if (writtenTuplets == 0) {
            autoTuplet = new ARTuplet;
            autoTuplet->setName("-auto-");
            autoTuplet->setRelativeTimePosition(object->getRelativeTimePosition());
            autoTuplet->setPosition(p);
            VoicePass::InsertBefore(PositionTags(), state.ptagpos, autoTuplet);
            state.AddPositionTag(autoTuplet, 0);
          }
          VoicePass::InsertBefore(PositionTags(), state.ptagpos, openBase);
          state.AddPositionTag(openBase, 0);
          base = newBase;
        }
      }
      Fraction shown = d;
      int dots = base == Frac_1 ? 1 : 0;
      if (base != Frac_1) TupletdurToDispdur(shown, base);
      if (DurationIsDisplayable(shown, dots)) {
        if (base != Frac_1 || merge) {
          InsertDisplayDurationTag(shown, dots, object->getRelativeTimePosition(), p, state, 1);
        }
        if (merge) {
          // The merged events after the first stay, drawn with no length; a merge that ends
          // here has none.
          ARMusicalVoiceState ahead(state);
          void* mergeEnd = merge->getEndPosition();
          void* at = p == mergeEnd ? nullptr : p;
          if (at) GetNext(at, ahead);
          while (at) {
            void* here = at;
            ARMusicalObject* later = GetAt(here);
            if (IsBarLine(later)) break;
            if (later->isEventClass())
              InsertDisplayDurationTag(Frac_0, 0, later->getRelativeTimePosition(), here, ahead, 1);
            if (here == mergeEnd) break;
            GetNext(at, ahead);
          }
        }
      } else if (merge) {
        // No single value draws the merged length: the events are tied instead, from here on
        // where the parts of earlier bars are drawn and tied already.
        if (mergeTied) {
          removeMerge(merge);
        } else {
          auto [tie, tieEnd] = MakeAutoTie();
          delete tieEnd;
          ReplacePositionTag(merge, tie, state, "\\tieEnd");
          delete merge;
          openTies = tiesBeforeMerge + 1;
        }
        merge = nullptr;
        mergeTied = false;
        mergePartDue = false;
        state.DeleteAddedAndRemovedPTags();
        continue;
      } else {
        Fraction first = shown;
        if (base != Frac_1) DispdurToTupletdur(first, base);
        // Where a base closing later ends: at the event cut, or, for a chord, at its last
        // element, with the list place the walk has reached.
        lastPos = p;
        if (state.curchordtag) {
          // The ranges the chord opens end here; the ties the cut adds to its notes follow.
          PositionTagList& list = PositionTags();
          void* lastOpened = state.ptagpos;
          if (lastOpened)
            list.GetPrev(lastOpened);
          else
            lastOpened = list.GetTailPosition();
          CutChordAt(state, p, first);
          if (base != Frac_1) {
            // Inside a tuplet the chord's groups keep their real lengths, as every chord's do;
            // the plain value it is drawn with comes as for an uncut chord. The rest is examined
            // when the walk reaches it.
            state.ptagpos = lastOpened;
            list.GetNext(state.ptagpos);
            InsertDisplayDurationTag(shown, dots, object->getRelativeTimePosition(), p, state, 1);
          }
          pos = p;
          GetNext(pos, state);
          lastPos = pos ? pos : GetTailPosition();
          if (pos) ObjectList::GetPrev(lastPos);
          // A base closing at the chord's last element closes in front of the ranges the step
          // opened at the next one.
          lastCursor = state.ptagpos;
          void* entry = lastCursor;
          if (entry)
            list.GetPrev(entry);
          else
            entry = list.GetTailPosition();
          while (pos && entry) {
            ARPositionTag* tag = list.GetAt(entry);
            if (tag->isEndTagClass() || tag->getPosition() != pos) break;
            lastCursor = entry;
            list.GetPrev(entry);
          }
          if (openBase) openBase->addEvent(static_cast<ARMusicalEvent*>(object));
          continue;
        } else {
          const bool untied = TiesOver(state, p) == 0;
          const bool tie = untied && VoicePass::IsNamedNote(object);
          void* beginSlot = nullptr;
          pos = CutEventAt(state, p, first, p, untied, &beginSlot);
          if (tie) ++openTies;
          if (base != Frac_1) {
            // The first part is drawn as the plain value inside the tuplet.
            auto* drawn = VoicePass::Auto(new ARDisplayDuration);
            drawn->setDisplayDuration(shown);
            drawn->setRelativeTimePosition(object->getRelativeTimePosition());
            auto* drawnEnd = VoicePass::Auto(new ARDummyRangeEnd("\\dispDurEnd"));
            drawn->setPosition(p);
            drawnEnd->setPosition(p);
            drawn->setCorrespondence(drawnEnd);
            drawnEnd->setCorrespondence(drawn);
            VoicePass::InsertBefore(PositionTags(), beginSlot, drawn);
            VoicePass::InsertBefore(PositionTags(), state.ptagpos, drawnEnd);
          }
          state.vpos = pos;
        }
        if (openBase) openBase->addEvent(static_cast<ARMusicalEvent*>(object));
        lastCursor = state.ptagpos;
        continue;
      }
    }

    if (object->isEventClass() && openBase)
      openBase->addEvent(static_cast<ARMusicalEvent*>(object));
    if (openBase && writtenTuplets == 0 && IsPowerOfTwoDenom(openBase->getSumDuration()))
      closeOpenBase(autoTuplet, p, state.ptagpos);
    if (object->isEventClass()) {
      lastPos = p;
      lastCursor = state.ptagpos;
    }
    GetNext(pos, state);
  }

  if (openBase) {
    PositionTagList& list = PositionTags();
    auto close = [&](ARPositionTag* begin, char const* text) {
      auto* end = new ARDummyRangeEnd(text);
      end->setPosition(lastPos);
      begin->setCorrespondence(end);
      end->setCorrespondence(begin);
      VoicePass::InsertBefore(list, state.ptagpos, end);
    };
    if (autoTuplet) close(autoTuplet, "\\tupletEnd");
    close(openBase, "\\baseEnd");
    if (autoTuplet) autoTuplet->setupTuplet(openBase);
  }
}
