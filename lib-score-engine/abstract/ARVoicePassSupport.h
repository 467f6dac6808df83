#pragma once

// Small questions the automatic passes of a voice ask of its objects.

#include "kf_ilist.h"

class ARMusicalObject;
class ARMusicalTag;
class ARPositionTag;

namespace VoicePass {

// A note named "empty": a placeholder that holds time without a symbol.
bool IsEmptyNote(ARMusicalObject const* object);
// A note with a name: one a tie may join.
bool IsNamedNote(ARMusicalObject const* object);
// Links tag in front of node, at the list's end for a null node; returns its node.
void* InsertBefore(KF_IPointerList<ARPositionTag>& list, void* node, ARPositionTag* tag);
// Marks a tag the passes made, so that removeAutoTags finds it.
template <class Tag>
Tag* Auto(Tag* tag) {
  tag->setIsAuto(true);
  return tag;
}

}  // namespace VoicePass
