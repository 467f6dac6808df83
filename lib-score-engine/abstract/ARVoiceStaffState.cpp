// Every staff line starts with a clef, a key and the glue marker, the first line in the order
// clef, key, meter, glue.
#include <array>
#include <vector>

#include "ARAuto.h"
#include "ARCast.h"
#include "ARClef.h"
#include "ARKey.h"
#include "ARMeter.h"
#include "ARMusicalVoice.h"
#include "ARMusicalVoiceState.h"
#include "ARNaturalKey.h"
#include "ARNewSystem.h"
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

// Where a tag goes among the tags that begin a line: clef, key, meter, glue; -1 for any other
// object, which keeps its place and parts the tags on either side of it.
int LeadingRank(ARMusicalObject const* object) {
  if (ar_cast<ARClef const>(object)) return 0;
  if (IsKey(object)) return 1;
  if (ar_cast<ARMeter const>(object)) return 2;
  if (ar_cast<ARSecondGlue const>(object)) return 3;
  return -1;
}

}  // namespace

void ARMusicalVoice::doAutoCheckStaffStateTags() {
  ARMusicalVoiceState state;
  bool atLineStart = true;
  bool needClef = true;
  bool needKey = true;
  void* clefPlace = nullptr;
  void* keyPlace = nullptr;
  void* lineStart = ObjectList::GetHeadPosition();

  // Puts each run of clef, key, meter and glue tags from line start to the first event in that
  // order, keeping the written order of tags of one kind: one pass over the block, however
  // many tags it holds.
  auto sortLeadingBlock = [&] {
    std::vector<void*> run;
    std::array<std::vector<ARMusicalObject*>, 4> byRank;
    auto putInOrder = [&] {
      auto place = run.begin();
      for (auto& tags : byRank) {
        for (ARMusicalObject* tag : tags) SetAt(*place++, tag);
        tags.clear();
      }
      run.clear();
    };
    for (void* at = lineStart; at;) {
      void* const node = at;
      ARMusicalObject* object = ObjectList::GetNext(at);
      if (object->isEventClass()) break;
      const int rank = LeadingRank(object);
      if (rank < 0) {
        putInOrder();
        continue;
      }
      run.push_back(node);
      byRank[rank].push_back(object);
    }
    putInOrder();
  };

  void* pos = StartForwardWalk(state);
  while (pos) {
    void* p = pos;
    ARMusicalObject* object = GetNext(pos, state);
    auto const* tag = ar_cast<ARMusicalTag const>(object);
    if (tag && tag->IsStateTag() && !ar_cast<ARClef const>(tag) && !IsKey(tag) &&
        !ar_cast<ARMeter const>(tag) && !IsBreak(tag))
      continue;
    const Fraction t = object->getRelativeTimePosition();

    if (object->isEventClass() && atLineStart) {
      if (!keyPlace) keyPlace = p;
      if (!clefPlace) clefPlace = keyPlace;
      if (needClef) {
        ARClef* clef;
        if (auto* current = ar_cast<ARClef>(state.getCurStateTag(typeid(ARClef)))) {
          clef = new ARClef(*current);
          clef->setIsAuto(current->getIsAuto());
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

      ARAuto const* settings = state.getCurAuto();
      const bool keepOrder = settings && settings->getClefKeyMeterOrder() == ARAuto::OFF;
      if (!keepOrder && lineStart) sortLeadingBlock();
      // Later lines get their clef and key in front of a written meter, so they are in order.
      lineStart = nullptr;
      atLineStart = false;
      needClef = true;
      needKey = true;
      continue;
    }

    if (atLineStart) {
      if (ar_cast<ARClef const>(object)) {
        needClef = false;
      } else if (IsKey(object)) {
        clefPlace = p;
        needKey = false;
        if (keyPlace) ZudidOvod("Meter set before key !");
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
    }
  }
}
