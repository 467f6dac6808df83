#pragma once

// Holds a thread inside a callback until the test lets it go on, so that a test can act while
// another thread is known to be in the middle of its work.

#include <condition_variable>
#include <mutex>

namespace Testing {

class Gate {
 public:
  // Called by the held thread: tells that it is in, then waits until the gate opens.
  void EnterAndWait() {
    std::unique_lock lock(m_mutex);
    m_entered = true;
    m_changed.notify_all();
    m_changed.wait(lock, [this] { return m_open; });
  }
  void WaitUntilEntered() {
    std::unique_lock lock(m_mutex);
    m_changed.wait(lock, [this] { return m_entered; });
  }
  void Open() {
    std::lock_guard lock(m_mutex);
    m_open = true;
    m_changed.notify_all();
  }

 private:
  std::mutex m_mutex;
  std::condition_variable m_changed;
  bool m_entered = false;
  bool m_open = false;
};

}  // namespace Testing
