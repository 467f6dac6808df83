// Which page shows a time of the voice: the page of the system whose slice holds the staff of
// the event at that time.

#include "GRPage.h"
#include "GRStaff.h"
#include "GRSystem.h"
#include "GRVoice.h"

namespace {

GRPage* pageOf(GRNotationElement const* event) {
  GRStaff const* staff = event->getGRStaff();
  GRSystem const* system = staff ? staff->getGRSystem() : nullptr;
  return system ? system->getGRPage() : nullptr;
}

}  // namespace

GRPage* GRVoice::getPageNum(int num, int denom) const {
  if (denom == 0) return nullptr;
  Fraction const time(num, denom);
  for (void* pos = mCompElements.GetHeadPosition(); pos;) {
    GRNotationElement const* element = mCompElements.GetNext(pos);
    if (!element->isGREventClass()) continue;
    Fraction const& at = element->getRelativeTimePosition();
    if (at == time) return pageOf(element);
    if (at > time) return nullptr;
  }
  return nullptr;
}

GRPage* GRVoice::getPageForTimePos(int num, int denom) const {
  if (denom == 0) return nullptr;
  Fraction const time(num, denom);
  GRNotationElement const* last = nullptr;
  for (void* pos = mCompElements.GetHeadPosition(); pos;) {
    GRNotationElement const* element = mCompElements.GetNext(pos);
    if (!element->isGREventClass()) continue;
    if (element->getRelativeTimePosition() > time) break;
    last = element;
  }
  return last ? pageOf(last) : nullptr;
}
