#pragma once

#include <time.h>

#include <chrono>

namespace Testing {

// The processor time of the calling thread, for bounds on the work a piece of code does: on a
// loaded machine the wall clock also counts the time the thread waits for a core.
struct ThreadCpuClock {
  using duration = std::chrono::nanoseconds;
  using rep = duration::rep;
  using period = duration::period;
  using time_point = std::chrono::time_point<ThreadCpuClock>;
  static constexpr bool is_steady = true;
  static time_point now() {
    timespec spent{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &spent);
    return time_point(std::chrono::seconds(spent.tv_sec) + duration(spent.tv_nsec));
  }
};

}  // namespace Testing
