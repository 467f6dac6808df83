#pragma once

// Whether a timeline position may be stored for resuming: not at or past the last tick, so that
// a finished lesson is not resumed. Computed signed, so an empty timeline refuses.

namespace UI {

constexpr bool IsResumablePosition(long long position, long long totalDuration) {
  return position < totalDuration - 1;
}

}  // namespace UI
