// Naturals before key changes, and the bar lines the meter implies, cutting events that run
// across one.
#include "ARBar.h"
#include "ARCast.h"
#include "ARClef.h"
#include "ARCoda.h"
#include "ARJump.h"
#include "ARKey.h"
#include "ARMeter.h"
#include "ARMusicalVoice.h"
#include "ARMusicalVoiceState.h"
#include "ARNaturalKey.h"
#include "ARNewSystem.h"
#include "ARRepeatBegin.h"
#include "ARSegno.h"
#include "ARVoicePassSupport.h"
#include "MoreMusicalTags.h"
#include "engine_globals.h"

void ARMusicalVoice::doAutoKeys() {
  int lastKey = 0;
  for (void* pos = ObjectList::GetHeadPosition(); pos;) {
    void* at = pos;
    ARMusicalObject* object = ObjectList::GetNext(pos);
    // Keys are tags: the events, most of the list, are passed over without a class question.
    if (object->isEventClass()) continue;
    auto* key = ar_cast<ARKey>(object);
    if (!key || ar_cast<ARNaturalKey>(key)) continue;
    if (lastKey != 0 && lastKey != key->getKeyNumber()) {
      auto* natural = VoicePass::Auto(new ARNaturalKey);
      natural->setRelativeTimePosition(key->getRelativeTimePosition());
      AddElementAt(at, natural);
    }
    lastKey = key->getKeyNumber();
  }
}

namespace {
// A mark that sends the reader elsewhere at the end of its measure (da capo, dal segno, fine, to
// coda): it is drawn ending at the bar line, so it stays in front of the one that is due.
bool EndsMeasure(ARMusicalObject const* object) {
  return ar_cast<ARJump const>(object) && !ar_cast<ARCoda const>(object) &&
         !ar_cast<ARSegno const>(object);
}

bool IsBreak(ARMusicalObject const* object) {
  return ar_cast<ARNewSystem const>(object) || ar_cast<ARNewPage const>(object);
}
}  // namespace

bool ARMusicalVoice::writtenBarFollows(void* pos) const {
  for (ObjectList::GetNext(pos); pos;) {
    ARMusicalObject const* object = ObjectList::GetNext(pos);
    if (ar_cast<ARBar const>(object) || ar_cast<ARRepeatBegin const>(object)) return true;
    if (object->isEventClass() && object->getDuration() > Frac_0) return false;
  }
  return false;
}

void ARMusicalVoice::doAutoBarlines() {
  if (gGlobalSettings.gAutoBarlines == 0) return;
  ARMusicalVoiceState state;
  Fraction measure;
  bool barsOn = false;
  Fraction filled;
  bool barDue = false;
  bool barSeen = false;
  bool barAhead = false;    // a written bar follows a segno or coda while a bar is due
  bool breakFirst = false;  // a new line or page came while a bar is due
  void* insertPlace = nullptr;
  ARMeter const* lastMeter = nullptr;

  // The due bar stands where the measure ends: in front of the marks that open the next one
  // (a key, meter, dynamic, text, break, ...), though after a clef change, which engraving puts
  // before the bar line. The marks of a chord belong to the chord.
  auto placeDueBar = [&](void* p) {
    ARMusicalObject const* at = GetAt(insertPlace ? insertPlace : p);
    auto* bar = VoicePass::Auto(new ARBar(at->getRelativeTimePosition()));
    AddElementAt(insertPlace ? insertPlace : p, bar);
  };

  void* pos = StartForwardWalk(state);
  while (pos) {
    void* p = pos;
    ARMusicalObject* object = GetAt(p);
    if (state.curmeter != lastMeter) {
      // A full measure keeps its bar line when a new meter follows it.
      if (barDue && !barSeen) placeDueBar(p);
      lastMeter = state.curmeter;
      measure = lastMeter->getMeterTime();
      measure.normalize();
      // A meter of no kind (numerator 0) has no measures: no automatic bars after it.
      barsOn = lastMeter->getAutoBarlines() == 1 && measure.getNumerator() > 0;
      filled = Frac_0;
      // A bar that was due goes with the old measure, and so does where it was to stand: left
      // set, it would put the next due bar in front of a break long past.
      barDue = false;
      barSeen = false;
      barAhead = false;
      breakFirst = false;
      insertPlace = nullptr;
    }
    const bool isEvent = object->isEventClass();
    if (barDue) {
      // A repeat begin after a break opens the next line: the line before still ends with the
      // bar line that is due.
      if (ar_cast<ARBar>(object) || (ar_cast<ARRepeatBegin>(object) && !breakFirst)) {
        barSeen = true;
      } else if (!insertPlace && !ar_cast<ARClef>(object) && !EndsMeasure(object) &&
                 !state.curchordtag) {
        insertPlace = p;
      }
      if (IsBreak(object)) breakFirst = true;
      // A segno or coda opens the next measure, unless a written bar follows it before the
      // next note: that bar stands for the due one. Looked for once for the marks in a row.
      bool opensMeasure = false;
      if (ar_cast<ARCoda>(object) || ar_cast<ARSegno>(object)) {
        if (!barSeen && !barAhead) barAhead = writtenBarFollows(p);
        opensMeasure = !barAhead;
      }
      if ((isEvent && object->getDuration() > Frac_0) || opensMeasure) {
        if (!barSeen) placeDueBar(p);
        filled = Frac_0;
        insertPlace = nullptr;
        barSeen = false;
        barDue = false;
        barAhead = false;
        breakFirst = false;
      }
    }
    if (barDue || !isEvent) {
      if (!barDue && ar_cast<ARBar>(object)) filled = Frac_0;
      GetNext(pos, state);
      continue;
    }
    const Fraction before = filled;
    filled += object->getDuration();
    if (!barsOn || filled < measure) {
      GetNext(pos, state);
      continue;
    }
    if (filled == measure) {
      barDue = true;
      GetNext(pos, state);
      continue;
    }

    // The event runs across the bar line: it is cut there and the second part measured again.
    const Fraction first = measure - before;
    const Fraction barTime = object->getRelativeTimePosition() + first;
    auto* bar = VoicePass::Auto(new ARBar(barTime));
    filled = Frac_0;
    if (state.curchordtag) {
      void* copy = CutChordAt(state, p, first);
      AddElementAt(copy, bar);
      pos = p;
      GetNext(pos, state);
      GetNext(pos, state);
      continue;
    }
    void* barNode = AddElementAfter(p, bar);
    pos = CutEventAt(state, p, first, barNode, true);
    state.vpos = pos;
  }
}
