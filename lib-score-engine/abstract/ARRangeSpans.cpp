#include "ARRangeSpans.h"

#include <cstddef>

#include "ARAccent.h"
#include "ARCast.h"
#include "ARFermata.h"
#include "ARMarcato.h"
#include "ARMusicalVoice.h"
#include "ARPositionTag.h"
#include "ARStaccato.h"
#include "ARTenuto.h"
#include "ARVoicePassSupport.h"

namespace {

std::size_t ObjectCount(ARMusicalVoice const& voice) {
  return static_cast<std::size_t>(voice.ARMusicalVoice::ObjectList::GetCount());
}

// A range of these marks gives each event it covers a mark of its own.
bool MarksEveryEvent(ARPositionTag const* range) {
  return ar_cast<ARStaccato const>(range) || ar_cast<ARAccent const>(range) ||
         ar_cast<ARMarcato const>(range) || ar_cast<ARTenuto const>(range) ||
         ar_cast<ARFermata const>(range);
}

bool HasRanges(ARMusicalVoice const& voice) {
  auto const* ranges = voice.getPositionTagList();
  return ranges && !ranges->IsEmpty();
}

}  // namespace

ARRangeSpanMeter::ARRangeSpanMeter(ARMusicalVoice const& voice, bool countsMarks)
    : mVoice(voice),
      mWanted(HasRanges(voice)),
      mCountsMarks(countsMarks),
      mOrdinals(mWanted ? ObjectCount(voice) : 0) {
  if (!mWanted) return;
  mBreaksBefore.reserve(ObjectCount(voice) + 1);
  mBreaksBefore.push_back(0);
  if (!mCountsMarks) return;
  mEventsBefore.reserve(ObjectCount(voice) + 1);
  mEventsBefore.push_back(0);
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
    if (mCountsMarks && MarksEveryEvent(range))
      spans.marks += mEventsBefore[last + 1] - mEventsBefore[first];
  }
  return spans;
}

ARRangeSpans MeasureRangeSpans(ARMusicalVoice const& voice) {
  ARRangeSpanMeter meter(voice, true);
  if (!meter.wanted()) return {};
  for (void* pos = voice.ARMusicalVoice::ObjectList::GetHeadPosition(); pos;) {
    void const* node = pos;
    ARMusicalObject const* object = voice.ARMusicalVoice::ObjectList::GetNext(pos);
    // Breaks are tags, never events.
    bool const isEvent = object->isEventClass();
    meter.Add(node, !isEvent && (VoicePass::KindOf(object) & VoicePass::kKindBreak), isEvent);
  }
  return meter.Spans();
}
