#include "Razid.h"

// The layout settings a score is laid out with.

void RazidGetDefaultLayoutSettings(RazidLayoutSettings* settings) {
  if (settings) *settings = RazidLayoutSettings{75, 1, 0.25f, 750, 1.1f, 0, 1};
}
