#include "ARRangeSpans.h"

#include <cstddef>
#include <vector>

#include "ARMusicalVoice.h"
#include "ARPositionTag.h"
#include "ARVoicePassSupport.h"
#include "NodeOrdinals.h"

ARRangeSpans MeasureRangeSpans(ARMusicalVoice const& voice) {
  ARRangeSpans spans;
  auto const* ranges = voice.getPositionTagList();
  if (!ranges || ranges->IsEmpty()) return spans;
  const int count = voice.ARMusicalVoice::ObjectList::GetCount();
  NodeOrdinals ordinals(static_cast<std::size_t>(count));
  std::vector<int> breaksBefore;
  breaksBefore.reserve(static_cast<std::size_t>(count) + 1);
  breaksBefore.push_back(0);
  for (void* pos = voice.ARMusicalVoice::ObjectList::GetHeadPosition(); pos;) {
    ordinals.Add(pos);
    ARMusicalObject const* object = voice.ARMusicalVoice::ObjectList::GetNext(pos);
    // Breaks are tags, never events.
    const bool isBreak =
        !object->isEventClass() && (VoicePass::KindOf(object) & VoicePass::kKindBreak);
    breaksBefore.push_back(breaksBefore.back() + (isBreak ? 1 : 0));
  }
  for (void* pos = ranges->GetHeadPosition(); pos;) {
    ARPositionTag const* range = ranges->GetNext(pos);
    if (range->isEndTagClass()) continue;
    const int first = ordinals.IndexOf(range->getPosition());
    const int last = ordinals.IndexOf(range->getEndPosition());
    if (first < 0 || last < first) continue;
    spans.objects += last - first + 1;
    spans.breaks += breaksBefore[last + 1] - breaksBefore[first];
  }
  return spans;
}
