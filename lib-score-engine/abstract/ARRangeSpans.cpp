#include "ARRangeSpans.h"

#include <unordered_map>
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
  std::unordered_map<void const*, int> ordinal;
  std::vector<int> breaksBefore{0};
  int index = 0;
  for (void* pos = voice.ARMusicalVoice::ObjectList::GetHeadPosition(); pos; ++index) {
    ordinal.emplace(pos, index);
    ARMusicalObject const* object = voice.ARMusicalVoice::ObjectList::GetNext(pos);
    const bool isBreak = ar_cast<ARPossibleBreak const>(object) ||
                         ar_cast<ARNewSystem const>(object) || ar_cast<ARNewPage const>(object);
    breaksBefore.push_back(breaksBefore.back() + (isBreak ? 1 : 0));
  }
  for (void* pos = ranges->GetHeadPosition(); pos;) {
    ARPositionTag const* range = ranges->GetNext(pos);
    if (range->isEndTagClass()) continue;
    auto const first = ordinal.find(range->getPosition());
    auto const last = ordinal.find(range->getEndPosition());
    if (first == ordinal.end() || last == ordinal.end() || last->second < first->second) continue;
    spans.objects += last->second - first->second + 1;
    spans.breaks += breaksBefore[last->second + 1] - breaksBefore[first->second];
  }
  return spans;
}
