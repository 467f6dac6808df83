#include "ARRangeSpans.h"

#include <cstddef>

#include "ARMusicalVoice.h"
#include "ARPositionTag.h"
#include "ARVoicePassSupport.h"

namespace {

std::size_t ObjectCount(ARMusicalVoice const& voice) {
  return static_cast<std::size_t>(voice.ARMusicalVoice::ObjectList::GetCount());
}

bool HasRanges(ARMusicalVoice const& voice) {
  auto const* ranges = voice.getPositionTagList();
  return ranges && !ranges->IsEmpty();
}

}  // namespace

ARRangeSpanMeter::ARRangeSpanMeter(ARMusicalVoice const& voice)
    : mVoice(voice), mWanted(HasRanges(voice)), mOrdinals(mWanted ? ObjectCount(voice) : 0) {
  if (!mWanted) return;
  mBreaksBefore.reserve(ObjectCount(voice) + 1);
  mBreaksBefore.push_back(0);
}

ARRangeSpans ARRangeSpanMeter::Spans() const {
  ARRangeSpans spans;
  if (!mWanted) return spans;
  auto const* ranges = mVoice.getPositionTagList();
  for (void* pos = ranges->GetHeadPosition(); pos;) {
    ARPositionTag const* range = ranges->GetNext(pos);
    if (range->isEndTagClass()) continue;
    const int first = mOrdinals.IndexOf(range->getPosition());
    const int last = mOrdinals.IndexOf(range->getEndPosition());
    if (first < 0 || last < first) continue;
    spans.objects += last - first + 1;
    spans.breaks += mBreaksBefore[last + 1] - mBreaksBefore[first];
  }
  return spans;
}

ARRangeSpans MeasureRangeSpans(ARMusicalVoice const& voice) {
  ARRangeSpanMeter meter(voice);
  if (!meter.wanted()) return {};
  for (void* pos = voice.ARMusicalVoice::ObjectList::GetHeadPosition(); pos;) {
    void const* node = pos;
    ARMusicalObject const* object = voice.ARMusicalVoice::ObjectList::GetNext(pos);
    // Breaks are tags, never events.
    meter.Add(node, !object->isEventClass() && (VoicePass::KindOf(object) & VoicePass::kKindBreak));
  }
  return meter.Spans();
}
