#pragma once

// The one clock of the application's logic: a single background thread that, every 5 ms, calls
// each registered observer with the steady clock in whole milliseconds while holding the timer's
// lock. The thread starts with the first observer and lives as long as the process.
//
// The timer's lock is the outermost lock of the application: observers take their own lock inside
// OnTimer and must not call Add or Remove from there (the lock is not recursive; doing so is
// caught by an assertion instead of hanging). Remove waits for a running pass, so an observer is
// never called after Remove has returned.

#include <thread>

#include "src/core/midi/observers.h"

namespace Core {

class Timer {
 public:
  static constexpr int PeriodMs = 5;

  // Appends the observer (a second Add makes it tick twice per pass), starts the thread if none
  // runs yet and returns the current stamp.
  static long long Add(MultimediaTimerObserver* observer);
  // Removes the first occurrence of the observer, if any.
  static void Remove(MultimediaTimerObserver* observer);
  static long long GetStamp();
  // Starts the thread unless it already runs. Add does this by itself.
  static void Start();
  // The thread is never stopped; it ends with the process.
  static void Stop() {}
  // One pass: each observer in order gets a fresh stamp taken just before its call.
  static void OnTimer();

  // The timer thread's id; a default id until the thread has been started.
  static std::thread::id GetThreadId();

  Timer() = delete;
};

// Test seam: while an instance exists, stamps come from its clock and no pass is made except the
// ones it asks for, so tests drive timelines and players deterministically without sleeping.
// One instance at a time; not for use while the real thread is needed.
class ManualTimer {
 public:
  explicit ManualTimer(long long start = 1000);
  ~ManualTimer();
  ManualTimer(const ManualTimer&) = delete;
  ManualTimer& operator=(const ManualTimer&) = delete;

  long long Now() const;
  // Moves the clock without making a pass.
  void Advance(long long ms);
  // One pass at the current time.
  void Pass();
  // Lets `ms` milliseconds go by the way the real thread would: a pass after each whole period.
  void Run(long long ms);
};

}  // namespace Core
