#include "src/core/midi/timer.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <mutex>
#include <vector>

#include "src/common/assertion.h"

namespace Core {
namespace {

// Lives on the heap and is never freed: the timer thread may still be in a pass while the
// process runs its exit handlers, and it must not meet a destroyed mutex or list then.
struct TimerState {
  std::mutex mutex;
  std::vector<MultimediaTimerObserver*> timers;
  std::thread::id threadId;
  bool threadStarted = false;
  std::atomic<bool> manual{false};
  std::atomic<long long> manualNow{0};
};

TimerState& State() {
  static TimerState* const state = new TimerState;
  return *state;
}

// Set on the thread that is making a pass, for the whole pass.
thread_local bool t_inPass = false;

long long SteadyMilliseconds() {
  using namespace std::chrono;
  return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

void Pass(TimerState& state, bool fromThread) {
  std::lock_guard<std::mutex> lock(state.mutex);
  // Read under the lock: once a ManualTimer exists, the thread makes no pass at all.
  if (fromThread && state.manual.load()) return;
  t_inPass = true;
  for (MultimediaTimerObserver* observer : state.timers) observer->OnTimer(Timer::GetStamp());
  t_inPass = false;
}

[[noreturn]] void ThreadProc() {
  TimerState& state = State();
  const auto period = std::chrono::milliseconds(Timer::PeriodMs);
  for (;;) {
    const auto begun = std::chrono::steady_clock::now();
    Pass(state, true);
    // A late pass is not made up: the next one is a period after this one began, or at once.
    std::this_thread::sleep_until(begun + period);
  }
}

// Under the state's lock.
void StartThreadLocked(TimerState& state) {
  if (state.threadStarted) return;
  std::thread thread(ThreadProc);
  state.threadId = thread.get_id();
  state.threadStarted = true;
  thread.detach();
}

}  // namespace

long long Timer::Add(MultimediaTimerObserver* observer) {
  MELVARIN_ASSERT(!t_inPass);
  TimerState& state = State();
  std::lock_guard<std::mutex> lock(state.mutex);
  state.timers.push_back(observer);
  if (!state.manual.load()) StartThreadLocked(state);
  return GetStamp();
}

void Timer::Remove(MultimediaTimerObserver* observer) {
  MELVARIN_ASSERT(!t_inPass);
  TimerState& state = State();
  std::lock_guard<std::mutex> lock(state.mutex);
  const auto found = std::find(state.timers.begin(), state.timers.end(), observer);
  if (found != state.timers.end()) state.timers.erase(found);
}

long long Timer::GetStamp() {
  const TimerState& state = State();
  return state.manual.load() ? state.manualNow.load() : SteadyMilliseconds();
}

void Timer::Start() {
  TimerState& state = State();
  std::lock_guard<std::mutex> lock(state.mutex);
  StartThreadLocked(state);
}

void Timer::OnTimer() {
  Pass(State(), false);
}

std::thread::id Timer::GetThreadId() {
  TimerState& state = State();
  std::lock_guard<std::mutex> lock(state.mutex);
  return state.threadId;
}

ManualTimer::ManualTimer(long long start) {
  TimerState& state = State();
  MELVARIN_ASSERT(!state.manual.load());
  state.manualNow.store(start);
  // Taken under the lock so that a pass the real thread has begun finishes first.
  std::lock_guard<std::mutex> lock(state.mutex);
  state.manual.store(true);
}

ManualTimer::~ManualTimer() {
  TimerState& state = State();
  std::lock_guard<std::mutex> lock(state.mutex);
  state.manual.store(false);
  if (!state.timers.empty()) StartThreadLocked(state);
}

long long ManualTimer::Now() const {
  return State().manualNow.load();
}

void ManualTimer::Advance(long long ms) {
  State().manualNow.fetch_add(ms);
}

void ManualTimer::Pass() {
  Timer::OnTimer();
}

void ManualTimer::Run(long long ms) {
  for (long long done = 0; done + Timer::PeriodMs <= ms; done += Timer::PeriodMs) {
    Advance(Timer::PeriodMs);
    Pass();
  }
}

}  // namespace Core
