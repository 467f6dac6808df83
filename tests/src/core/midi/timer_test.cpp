#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <mutex>
#include <thread>
#include <vector>

#include "src/core/midi/timer.h"
#include "wait_until.h"

namespace Core {
namespace {

using namespace std::chrono_literals;

class StampRecorder : public MultimediaTimerObserver {
 public:
  void OnTimer(long long stamp) override {
    std::lock_guard<std::mutex> lock(mutex);
    stamps.push_back(stamp);
    threads.push_back(std::this_thread::get_id());
  }
  std::vector<long long> Stamps() {
    std::lock_guard<std::mutex> lock(mutex);
    return stamps;
  }
  std::vector<std::thread::id> Threads() {
    std::lock_guard<std::mutex> lock(mutex);
    return threads;
  }

 private:
  std::mutex mutex;
  std::vector<long long> stamps;
  std::vector<std::thread::id> threads;
};

TEST(ManualTimer, AnObserverAddedTwiceTicksTwiceUntilRemovedTwice) {
  ManualTimer clock;
  StampRecorder once, twice, never;
  Timer::Add(&twice);
  Timer::Add(&once);
  Timer::Add(&twice);
  Timer::Remove(&never);  // never added: nothing changes
  clock.Pass();
  EXPECT_EQ(twice.Stamps().size(), 2u);
  EXPECT_EQ(once.Stamps().size(), 1u);

  Timer::Remove(&twice);
  clock.Pass();
  EXPECT_EQ(twice.Stamps().size(), 3u);
  Timer::Remove(&twice);
  Timer::Remove(&once);
  clock.Pass();
  EXPECT_EQ(twice.Stamps().size(), 3u);
  EXPECT_EQ(once.Stamps().size(), 2u);
}

TEST(TimerDeathTest, AddingOrRemovingFromInsideAPassIsCaught) {
  class Reentrant : public MultimediaTimerObserver {
   public:
    void OnTimer(long long) override { Timer::Remove(this); }
  };
  EXPECT_DEATH(
      {
        ManualTimer clock;
        Reentrant observer;
        Timer::Add(&observer);
        clock.Pass();
      },
      "Assertion failed: !t_inPass");
}

TEST(TimerThread, OneThreadTicksEveryObserverAboutEveryPeriod) {
  StampRecorder first, second;
  const long long added = Timer::Add(&first);
  const std::thread::id thread = Timer::GetThreadId();
  EXPECT_NE(thread, std::thread::id());
  Timer::Add(&second);
  Timer::Start();  // a second thread would tick every observer twice as often
  EXPECT_EQ(Timer::GetThreadId(), thread);  // neither the second Add nor Start made another

  ASSERT_TRUE(Testing::WaitUntil([&] { return second.Stamps().size() >= 41; }));
  Timer::Remove(&first);
  Timer::Remove(&second);

  const std::vector<long long> stamps = first.Stamps();
  EXPECT_GE(stamps.front(), added);
  EXPECT_TRUE(std::is_sorted(stamps.begin(), stamps.end()));
  // Forty passes of 5 ms take at least 195 ms (the stamps are whole milliseconds); a loaded
  // machine may take much longer, so the upper bound only catches a thread that stalls.
  const long long span = stamps[40] - stamps[0];
  EXPECT_GE(span, 195);
  EXPECT_LT(span, Testing::EndlessWorkSeconds * 1000);
  for (std::thread::id id : first.Threads()) EXPECT_EQ(id, thread);
  for (std::thread::id id : second.Threads()) EXPECT_EQ(id, thread);
}

TEST(TimerThread, RemoveWaitsForTheRunningPassAndNoCallFollows) {
  class Blocking : public MultimediaTimerObserver {
   public:
    void OnTimer(long long) override {
      ++calls;
      entered = true;
      while (!released) std::this_thread::yield();
    }
    std::atomic<int> calls{0};
    std::atomic<bool> entered{false}, released{false};
  };
  Blocking observer;
  Timer::Add(&observer);
  ASSERT_TRUE(Testing::WaitUntil([&] { return observer.entered.load(); }));

  std::atomic<bool> removed{false};
  std::thread remover([&] {
    Timer::Remove(&observer);
    removed = true;
  });
  std::this_thread::sleep_for(20ms);  // long enough for a Remove that does not wait to return
  EXPECT_FALSE(removed.load());
  observer.released = true;
  remover.join();
  const int callsWhenRemoved = observer.calls;
  std::this_thread::sleep_for(3 * std::chrono::milliseconds(Timer::PeriodMs));
  EXPECT_EQ(observer.calls.load(), callsWhenRemoved);
}

TEST(TimerThreadDeathTest, ProcessExitsCleanlyWhileTheThreadRuns) {
  EXPECT_EXIT(
      {
        // Left registered and never freed on purpose: the process ends with the thread ticking.
        auto* observer = new StampRecorder;
        Timer::Add(observer);
        Testing::WaitUntil([&] { return observer->Stamps().size() >= 3; });
        std::exit(0);
      },
      ::testing::ExitedWithCode(0), "");
}

}  // namespace
}  // namespace Core
