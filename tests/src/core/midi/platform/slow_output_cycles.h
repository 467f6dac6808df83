#pragma once

// Slows down every JACK MIDI output cycle of the test program while an object of this class
// lives: the clearing of an output port's buffer, the first thing an output's cycle does, sleeps
// first. Whatever lets go of what its cycle reads while its client still runs one is then almost
// sure to be caught by that cycle.

#include <chrono>

namespace Testing {

class SlowOutputCycles {
 public:
  explicit SlowOutputCycles(std::chrono::microseconds pause);
  ~SlowOutputCycles();
  SlowOutputCycles(const SlowOutputCycles&) = delete;
  SlowOutputCycles& operator=(const SlowOutputCycles&) = delete;

  // Cycles slowed down so far, which shows that the pause is really in the cycle.
  static int Count();
};

}  // namespace Testing
