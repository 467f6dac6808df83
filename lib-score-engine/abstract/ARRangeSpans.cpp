#include "ARRangeSpans.h"

#include <algorithm>
#include <utility>
#include <vector>

#include "ARCast.h"
#include "ARMusicalVoice.h"
#include "ARNewSystem.h"
#include "ARPositionTag.h"
#include "MoreMusicalTags.h"

ARRangeSpans MeasureRangeSpans(ARMusicalVoice const& voice) {
  ARRangeSpans spans;
  auto const* ranges = voice.getPositionTagList();
  if (!ranges || ranges->IsEmpty()) return spans;
  // The objects' positions with their ordinals, sorted by position for the look-ups: one block
  // of memory rather than a node per object.
  std::vector<std::pair<void const*, int>> ordinal;
  ordinal.reserve(voice.ARMusicalVoice::ObjectList::GetCount());
  std::vector<int> breaksBefore{0};
  breaksBefore.reserve(ordinal.capacity() + 1);
  int index = 0;
  for (void* pos = voice.ARMusicalVoice::ObjectList::GetHeadPosition(); pos; ++index) {
    ordinal.emplace_back(pos, index);
    ARMusicalObject const* object = voice.ARMusicalVoice::ObjectList::GetNext(pos);
    const bool isBreak = ar_cast<ARPossibleBreak const>(object) ||
                         ar_cast<ARNewSystem const>(object) || ar_cast<ARNewPage const>(object);
    breaksBefore.push_back(breaksBefore.back() + (isBreak ? 1 : 0));
  }
  std::sort(ordinal.begin(), ordinal.end());
  auto const find = [&ordinal](void const* pos) {
    auto const found = std::lower_bound(ordinal.begin(), ordinal.end(), std::make_pair(pos, 0));
    return found != ordinal.end() && found->first == pos ? found : ordinal.end();
  };
  for (void* pos = ranges->GetHeadPosition(); pos;) {
    ARPositionTag const* range = ranges->GetNext(pos);
    if (range->isEndTagClass()) continue;
    auto const first = find(range->getPosition());
    auto const last = find(range->getEndPosition());
    if (first == ordinal.end() || last == ordinal.end() || last->second < first->second) continue;
    spans.objects += last->second - first->second + 1;
    spans.breaks += breaksBefore[last->second + 1] - breaksBefore[first->second];
  }
  return spans;
}
