#pragma once

// Waits on a condition that another thread makes true, with a time-out generous enough for a
// loaded machine or a sanitizer build (support/patience.h); returns whether the condition came
// true.

#include <chrono>
#include <functional>
#include <future>
#include <memory>
#include <thread>

#include "support/patience.h"

namespace Testing {

template <class Condition>
bool WaitUntil(Condition condition,
               std::chrono::milliseconds timeout = std::chrono::milliseconds(PatienceMs)) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  while (!condition()) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  return true;
}

// Runs `action` on another thread and tells whether it finished within the time-out; false when
// it blocks, e.g. on a lock the calling thread holds. The thread is detached so that a blocked
// action cannot hang the caller.
inline bool FinishesOnAnotherThread(
    std::function<void()> action,
    std::chrono::milliseconds timeout = std::chrono::milliseconds(PatienceMs)) {
  auto done = std::make_shared<std::promise<void>>();
  std::future<void> finished = done->get_future();
  std::thread([action = std::move(action), done] {
    action();
    done->set_value();
  }).detach();
  return finished.wait_for(timeout) == std::future_status::ready;
}

}  // namespace Testing
