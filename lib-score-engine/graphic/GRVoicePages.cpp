// Which page shows a time of the voice: each event lies in the system whose node came before it.

#include "GRPage.h"
#include "GRSystem.h"
#include "GRVoice.h"

template <class Visit>
void GRVoice::forEachEventWithSystem(Visit visit) const {
  GRSystem* system = nullptr;
  size_t next = 0;
  // A node records the voice's last element before its system; null for the voice's start.
  auto enterSystemsAfter = [&](void* position) {
    while (next < mSystems.size() && mSystems[next].lastBefore == position)
      system = mSystems[next++].system;
  };
  enterSystemsAfter(nullptr);
  for (void* pos = mCompElements.GetHeadPosition(); pos;) {
    void* at = pos;
    GRNotationElement* element = mCompElements.GetNext(pos);
    if (element->isGREventClass() && !visit(element, system)) return;
    enterSystemsAfter(at);
  }
}

namespace {

GRPage* pageOf(GRSystem const* system) {
  return system ? system->getGRPage() : nullptr;
}

}  // namespace

GRPage* GRVoice::getPageNum(int num, int denom) const {
  if (denom == 0) return nullptr;
  Fraction const time(num, denom);
  GRPage* page = nullptr;
  forEachEventWithSystem([&](GRNotationElement* event, GRSystem* system) {
    Fraction const& at = event->getRelativeTimePosition();
    if (at == time) page = pageOf(system);
    return !(at == time) && !(at > time);
  });
  return page;
}

GRPage* GRVoice::getPageForTimePos(int num, int denom) const {
  if (denom == 0) return nullptr;
  Fraction const time(num, denom);
  GRPage* page = nullptr;
  forEachEventWithSystem([&](GRNotationElement* event, GRSystem* system) {
    if (event->getRelativeTimePosition() > time) return false;
    page = pageOf(system);
    return true;
  });
  return page;
}
