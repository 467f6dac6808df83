// A grace group stands directly before the note it leans on: a bar line, a break or a clef, key
// or meter written (or put) between them goes before the group, so that the group is drawn on
// the note's line, after the bar line and after what opens the line; settings written between
// them stay after the group.
#include <algorithm>
#include <set>
#include <vector>

#include "ARBar.h"
#include "ARCast.h"
#include "ARClef.h"
#include "ARGrace.h"
#include "ARKey.h"
#include "ARMeter.h"
#include "ARMusicalTag.h"
#include "ARMusicalVoice.h"
#include "ARNewSystem.h"
#include "ARRepeatBegin.h"
#include "MoreMusicalTags.h"

namespace {

// What stands between the measures or the lines rather than at a note.
bool StandsBetweenMeasures(ARMusicalObject const* object) {
  return ar_cast<ARBar const>(object) || ar_cast<ARRepeatBegin const>(object) ||
         ar_cast<ARNewSystem const>(object) || ar_cast<ARNewPage const>(object) ||
         ar_cast<ARPossibleBreak const>(object) || ar_cast<ARClef const>(object) ||
         ar_cast<ARKey const>(object) || ar_cast<ARMeter const>(object);
}

// A tag that holds a setting until the next one of its kind.
bool IsSetting(ARMusicalObject const* object) {
  auto const* tag = ar_cast<ARMusicalTag const>(object);
  return tag && tag->IsStateTag();
}

}  // namespace

void ARMusicalVoice::doAutoGracesBeforeTheirNotes() {
  if (!mPosTagList) return;
  // Every range tag with its end marker, and the nodes they stand at.
  std::vector<ARPositionTag*> tags;
  for (void* pos = mPosTagList->GetHeadPosition(); pos;) {
    ARPositionTag* tag = mPosTagList->GetNext(pos);
    tags.push_back(tag);
    if (ARPositionTag* end = tag->getCorrespondence()) tags.push_back(end);
  }
  std::sort(tags.begin(), tags.end());
  tags.erase(std::unique(tags.begin(), tags.end()), tags.end());
  auto nodesOfRanges = [&tags] {
    std::set<void*> nodes;
    for (ARPositionTag const* tag : tags) {
      nodes.insert(tag->getPosition());
      if (!tag->getCorrespondence()) nodes.insert(tag->getEndPosition());
    }
    return nodes;
  };
  std::set<void*> rangeNodes = nodesOfRanges();

  for (ARPositionTag const* tag : tags) {
    auto const* grace = dynamic_cast<ARGrace const*>(tag);
    if (!grace || tag->isEndMarker()) continue;
    void* const first = grace->getStartPosition();
    void* const last = grace->getEndPosition();
    if (!first || !last) continue;
    std::vector<void*> group;
    void* pos = first;
    while (pos) {
      group.push_back(pos);
      if (pos == last) break;
      ObjectList::GetNext(pos);
    }
    if (!pos) continue;
    // Only tags no range stands at are passed over, up to an event that takes time. A setting
    // written after the group (beaming, stems, a staff) is not the group's: it stays after it.
    std::vector<void*> between, passing, staying;
    ObjectList::GetNext(pos);
    ARMusicalObject const* next = nullptr;
    while (pos) {
      void* at = pos;
      next = ObjectList::GetNext(pos);
      if (rangeNodes.count(at)) break;
      if (StandsBetweenMeasures(next))
        passing.push_back(at);
      else if (IsSetting(next))
        staying.push_back(at);
      else
        break;
      between.push_back(at);
    }
    if (passing.empty() || !next || !next->isEventClass() || next->getDuration() <= Frac_0)
      continue;

    // The objects change nodes: those passed over take the group's first nodes, the group the
    // next ones and the settings after it the rest; the ranges at the group's objects follow
    // them.
    std::vector<ARMusicalObject*> objects;
    for (void* at : passing) objects.push_back(ObjectList::GetAt(at));
    for (void* at : group) objects.push_back(ObjectList::GetAt(at));
    for (void* at : staying) objects.push_back(ObjectList::GetAt(at));
    std::vector<void*> nodes = group;
    nodes.insert(nodes.end(), between.begin(), between.end());
    for (size_t i = 0; i < nodes.size(); ++i) ObjectList::SetAt(nodes[i], objects[i]);
    auto moved = [&](void* node) {
      auto const found = std::find(group.begin(), group.end(), node);
      return found == group.end() ? node : nodes[passing.size() + (found - group.begin())];
    };
    for (ARPositionTag* range : tags) {
      if (!range->getCorrespondence()) range->setEndPosition(moved(range->getEndPosition()));
      range->setPosition(moved(range->getPosition()));
    }
    rangeNodes = nodesOfRanges();
  }
}
