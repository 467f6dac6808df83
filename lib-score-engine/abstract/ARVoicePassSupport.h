#pragma once

// Small questions the automatic passes of a voice ask of its objects.

#include <cstdint>

#include "ARCast.h"
#include "ARPositionTag.h"
#include "kf_ilist.h"

class ARMusicalObject;
class ARMusicalTag;
class ARMusicalVoice;
class ARMusicalVoiceState;

namespace VoicePass {

// What the walks over every element of a voice ask of an element's class, found the first time
// and kept in the element (ARMusicalObject::getWalkKind): bits of Kind. An event is none of them.
enum Kind : std::uint8_t {
  kKindKnown = 1,
  kKindTag = 2,        // an ARMusicalTag
  kKindStateTag = 4,   // a tag that holds until the next of its class
  kKindStaff = 8,      // an ARStaff
  kKindBar = 16,       // an ARBar
  kKindRangeTag = 32,  // an ARPositionTag
  kKindMeter = 64,     // an ARMeter
  kKindBreak = 128,    // a possible break, a new system or a new page
};
std::uint8_t KindOf(ARMusicalObject const* object);

// A note named "empty": a placeholder that holds time without a symbol.
bool IsEmptyNote(ARMusicalObject const* object);
// A note with a name: one a tie may join.
bool IsNamedNote(ARMusicalObject const* object);
// Whether a voice's range list (null for none) holds a range of that class: without one, a pass
// that only acts on such ranges has nothing to do.
template <class Range>
bool AnyRangeOf(KF_IPointerList<ARPositionTag>* ranges) {
  if (!ranges) return false;
  for (void* at = ranges->GetHeadPosition(); at;) {
    // Half the list are end markers, which are of no range's class.
    ARPositionTag* tag = ranges->GetNext(at);
    if (!tag->isEndMarker() && ar_cast<Range>(tag)) return true;
  }
  return false;
}
// Whether the events of a merge, from pos up to its end, are drawn as one: each can be merged
// with the one before. state is the walk's state at pos; the walk goes on in a copy.
bool EventsMergeAsOne(ARMusicalVoice const& voice, void* pos, void* end, ARMusicalVoiceState state);
// Links tag in front of node, at the list's end for a null node; returns its node.
void* InsertBefore(KF_IPointerList<ARPositionTag>& list, void* node, ARPositionTag* tag);
// Marks a tag the passes made, so that removeAutoTags finds it.
template <class Tag>
Tag* Auto(Tag* tag) {
  tag->setIsAuto(true);
  return tag;
}

}  // namespace VoicePass
