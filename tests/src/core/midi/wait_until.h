#pragma once

// Waits on a condition that another thread makes true, with a time-out generous enough for a
// loaded machine or a sanitizer build; returns whether the condition came true.

#include <chrono>
#include <thread>

namespace Testing {

template <class Condition>
bool WaitUntil(Condition condition, std::chrono::milliseconds timeout = std::chrono::seconds(10)) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  while (!condition()) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  return true;
}

}  // namespace Testing
