#include "stems_settling.h"

#include <algorithm>
#include <vector>

#include "GREvent.h"

namespace {
// The layout runs on the one thread that calls the engine.
int sOpen = 0;
std::vector<GREvent*> sWaiting;
}  // namespace

StemsSettling::StemsSettling() {
  ++sOpen;
}

StemsSettling::~StemsSettling() {
  if (--sOpen > 0) return;
  // Placing marks may open a settling of its own: the events waiting so far are taken out first.
  std::vector<GREvent*> waiting;
  waiting.swap(sWaiting);
  for (GREvent* event : waiting) event->placeMarksOnSettledStem();
}

bool StemsSettling::Await(GREvent* event) {
  if (sOpen == 0) return false;
  sWaiting.push_back(event);
  return true;
}

void StemsSettling::Forget(GREvent const* event) {
  sWaiting.erase(std::remove(sWaiting.begin(), sWaiting.end(), event), sWaiting.end());
}
