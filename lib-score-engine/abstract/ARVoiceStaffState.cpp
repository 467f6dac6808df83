// Every staff line starts with a clef, a key and the glue marker, in the order clef, key, meter,
// repeat begin, the marks written there, glue whatever order the text wrote them in; a clef, key
// and meter change inside a line is put in the order clef, key, meter too.
#include <array>
#include <vector>

#include "ARAuto.h"
#include "ARCast.h"
#include "ARClef.h"
#include "ARInstrument.h"
#include "ARIntens.h"
#include "ARKey.h"
#include "ARMeter.h"
#include "ARMusicalVoice.h"
#include "ARMusicalVoiceState.h"
#include "ARNaturalKey.h"
#include "ARNewSystem.h"
#include "AROctava.h"
#include "ARRepeatBegin.h"
#include "ARStaff.h"
#include "ARVoicePassSupport.h"
#include "MoreMusicalTags.h"
#include "engine_globals.h"

namespace {

bool IsKey(ARMusicalObject const* object) {
  return ar_cast<ARKey const>(object) && !ar_cast<ARNaturalKey const>(object);
}

bool IsBreak(ARMusicalObject const* object) {
  return ar_cast<ARNewSystem const>(object) || ar_cast<ARNewPage const>(object);
}

// Where a tag goes among the tags that change the staff's state at one place: clef, key (a
// cancelling natural key with it, before it), meter; -1 for any other object.
int ChangeRank(ARMusicalObject const* object) {
  if (ar_cast<ARClef const>(object)) return 0;
  if (ar_cast<ARKey const>(object)) return 1;
  if (ar_cast<ARMeter const>(object)) return 2;
  return -1;
}

// Where a tag goes among the tags that begin a line: clef, key, meter, then the repeat begin,
// which engraving sets after them at a line's start, then the marks written there without a
// range (an octava, an instrument name, a dynamic), which stand over the music and not before
// the signs, nor hold the staff's signs back behind those of the other staves while the line is
// laid out, then the glue; -1 for any other object.
int LeadingRank(ARMusicalObject const* object) {
  if (const int rank = ChangeRank(object); rank >= 0) return rank;
  if (ar_cast<AROctava const>(object) || ar_cast<ARInstrument const>(object) ||
      ar_cast<ARIntens const>(object))
    return static_cast<ARMusicalTag const*>(object)->getRange() ? -1 : 4;
  if (ar_cast<ARRepeatBegin const>(object)) return 3;
  if (ar_cast<ARSecondGlue const>(object)) return 5;
  return -1;
}

// Of the other objects of a line's beginning, the settings keep their places while the tags
// around them are put in order; a range and any other tag part them. A staff tag parts them only
// where it sends the tags after it to another staff than the one in force (`staff`, which it
// updates): naming the staff the voice is already on, as a piece's first staff tag often does,
// moves nothing, so an instrument name written before it still follows the clef.
bool PartsLeadingTags(ARMusicalObject const* object, int& staff) {
  if (auto const* staffTag = ar_cast<ARStaff const>(object)) {
    const int named = staffTag->getStaffNumber();
    const bool parts = named < 0 || named != staff;
    staff = named;
    return parts;
  }
  return !ar_cast<ARMusicalTag const>(object) || IsBreak(object) ||
         static_cast<ARMusicalTag const*>(object)->getRange() ||
         !static_cast<ARMusicalTag const*>(object)->IsStateTag();
}

}  // namespace

void ARMusicalVoice::doAutoCheckStaffStateTags() {
  ARMusicalVoiceState state;
  bool atLineStart = true;
  bool needClef = true;
  bool needKey = true;
  bool meterBeforeKey = false;  // a meter met since the last event or break
  void* clefPlace = nullptr;
  void* keyPlace = nullptr;
  void* lineStart = ObjectList::GetHeadPosition();
  std::vector<void*> changes;  // the run of clef, key and meter tags met inside a line

  // Puts the tags of a run in the order of their ranks, keeping the written order of tags of
  // one kind: one pass over the run, however many tags it holds.
  std::vector<void*> run;
  std::array<std::vector<ARMusicalObject*>, 6> byRank;
  auto putInOrder = [&] {
    auto place = run.begin();
    for (auto& tags : byRank) {
      for (ARMusicalObject* tag : tags) SetAt(*place++, tag);
      tags.clear();
    }
    run.clear();
  };
  // The staff the tags of the walk are on: a voice starts on the staff of its number.
  int staffInForce = getVoiceNum();
  int staffAtLineStart = staffInForce;
  // Puts each run of leading tags from line start to the first event in order.
  auto sortLeadingBlock = [&] {
    int staff = staffAtLineStart;
    for (void* at = lineStart; at;) {
      void* const node = at;
      ARMusicalObject* object = ObjectList::GetNext(at);
      if (object->isEventClass()) break;
      const int rank = LeadingRank(object);
      if (rank < 0) {
        if (PartsLeadingTags(object, staff)) putInOrder();
        continue;
      }
      run.push_back(node);
      byRank[rank].push_back(object);
    }
    putInOrder();
  };
  auto keepsWrittenOrder = [&] {
    ARAuto const* settings = state.getCurAuto();
    return settings && settings->getClefKeyMeterOrder() == ARAuto::OFF;
  };
  auto sortChanges = [&] {
    if (changes.size() > 1 && !keepsWrittenOrder()) {
      for (void* node : changes) {
        ARMusicalObject* object = GetAt(node);
        run.push_back(node);
        byRank[ChangeRank(object)].push_back(object);
      }
      putInOrder();
    }
    changes.clear();
  };

  void* pos = StartForwardWalk(state);
  while (pos) {
    void* p = pos;
    ARMusicalObject* object = GetNext(pos, state);
    if (!atLineStart) {
      if (ChangeRank(object) >= 0)
        changes.push_back(p);
      else
        sortChanges();
    }
    if (auto const* staffTag = ar_cast<ARStaff const>(object))
      staffInForce = staffTag->getStaffNumber();
    auto const* tag = ar_cast<ARMusicalTag const>(object);
    if (tag && tag->IsStateTag() && !ar_cast<ARClef const>(tag) && !IsKey(tag) &&
        !ar_cast<ARMeter const>(tag) && !IsBreak(tag))
      continue;
    const Fraction t = object->getRelativeTimePosition();
    if (object->isEventClass()) meterBeforeKey = false;

    if (object->isEventClass() && atLineStart) {
      if (!keyPlace) keyPlace = p;
      if (!clefPlace) clefPlace = keyPlace;
      if (needClef) {
        ARClef* clef;
        if (auto* current = ar_cast<ARClef>(state.getCurStateTag(typeid(ARClef)))) {
          clef = new ARClef(*current);
          clef->setIsAuto(current->getIsAuto());
          clef->setCarried(true);
        } else {
          clef = VoicePass::Auto(new ARClef);
          const bool high =
              numPitchedNotes == 0 ||
              static_cast<float>(pitchSum) / static_cast<float>(numPitchedNotes) >= 8.0f;
          clef->setName(NVstring(high ? "treble" : "bass"));
        }
        clef->setRelativeTimePosition(t);
        void* node = AddElementAt(clefPlace, clef);
        state.AddStateTag(clef);
        if (clefPlace == lineStart) lineStart = node;
      }
      if (needKey) {
        ARKey* key;
        if (auto* current = ar_cast<ARKey>(state.getCurStateTag(typeid(ARKey)))) {
          key = new ARKey(*current);
          key->setIsAuto(current->getIsAuto());
          key->setCarried(true);
        } else {
          key = VoicePass::Auto(new ARKey(0));
        }
        key->setRelativeTimePosition(t);
        void* node = AddElementAt(keyPlace, key);
        state.AddStateTag(key);
        if (keyPlace == lineStart) lineStart = node;
      }
      auto* glue = VoicePass::Auto(new ARSecondGlue);
      glue->setRelativeTimePosition(t);
      void* glueNode = AddElementAt(p, glue);
      state.AddStateTag(glue);
      if (lineStart == p) lineStart = glueNode;

      if (!keepsWrittenOrder() && lineStart) sortLeadingBlock();
      lineStart = nullptr;
      atLineStart = false;
      needClef = true;
      needKey = true;
      continue;
    }

    if (ar_cast<ARMeter const>(object)) meterBeforeKey = true;
    if (IsKey(object) && meterBeforeKey) ZudidOvod("Meter set before key !");
    if (atLineStart) {
      if (ar_cast<ARClef const>(object)) {
        needClef = false;
      } else if (IsKey(object)) {
        clefPlace = p;
        needKey = false;
      } else if (ar_cast<ARMeter const>(object)) {
        keyPlace = p;
      } else {
        if (!keyPlace) keyPlace = p;
        if (!clefPlace) clefPlace = keyPlace;
      }
    }
    if (IsBreak(object)) {
      keyPlace = nullptr;
      clefPlace = nullptr;
      atLineStart = true;
      meterBeforeKey = false;
      // The line's leading tags are sorted from here once its first event is met.
      lineStart = pos;
      staffAtLineStart = staffInForce;
    }
  }
  sortChanges();
}
