// Every staff line starts with a clef, a key and the glue marker, the first line in the order
// clef, key, meter, glue.
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

// Whether b belongs in front of a among the tags that begin a line.
bool GoesBefore(ARMusicalObject const* b, ARMusicalObject const* a) {
  if (ar_cast<ARSecondGlue const>(a))
    return ar_cast<ARMeter const>(b) || IsKey(b) || ar_cast<ARClef const>(b);
  if (ar_cast<ARMeter const>(a)) return ar_cast<ARClef const>(b) || IsKey(b);
  if (IsKey(a)) return ar_cast<ARClef const>(b) != nullptr;
  return false;
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

  auto sortLeadingBlock = [&] {
    for (bool swapped = true; swapped;) {
      swapped = false;
      for (void* at = lineStart; at;) {
        void* next = at;
        ObjectList::GetNext(next);
        if (!next) break;
        ARMusicalObject* a = GetAt(at);
        ARMusicalObject* b = GetAt(next);
        if (a->isEventClass() || b->isEventClass()) break;
        if (GoesBefore(b, a)) {
          SetAt(at, b);
          SetAt(next, a);
          swapped = true;
          break;
        }
        at = next;
      }
    }
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
