#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QString>

#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "src/core/midi/timeline.h"
#include "src/core/midi/timer.h"
#include "wait_until.h"

namespace Core {
namespace {

using ::testing::ElementsAre;

// Writes every notice as a short line: "pos 4", "state 2>0", "section 1>-1".
class NoticeLog : public TimeLineObserver {
 public:
  void OnTimeLinePositionChanged(int position) override {
    Add("pos " + std::to_string(position));
    if (onPosition) onPosition(position);
  }
  void OnTimeLineStateChanged(TimeLineState previous, TimeLineState current) override {
    Add("state " + std::to_string(previous) + ">" + std::to_string(current));
    if (onState) onState();
  }
  void OnTimeLineSectionChanged(unsigned long previous, unsigned long current) override {
    Add("section " + std::to_string(static_cast<long>(previous)) + ">" +
        std::to_string(static_cast<long>(current)));
  }
  std::vector<std::string> Take() {
    std::lock_guard<std::mutex> lock(mutex);
    std::vector<std::string> taken;
    taken.swap(lines);
    return taken;
  }
  size_t Count() {
    std::lock_guard<std::mutex> lock(mutex);
    return lines.size();
  }

  std::function<void(int)> onPosition;
  std::function<void()> onState;

 private:
  void Add(std::string line) {
    std::lock_guard<std::mutex> lock(mutex);
    lines.push_back(std::move(line));
  }
  std::mutex mutex;
  std::vector<std::string> lines;
};

class TimeLineTest : public ::testing::Test {
 protected:
  TimeLineTest() : timeline(std::make_unique<TimeLine>()) {
    timeline->SetInterval(50);
    timeline->AddObserver(&log);
  }
  ~TimeLineTest() override {
    if (timeline) timeline->RemoveObserver(&log);
  }

  ManualTimer clock;  // declared first: the timeline registers with the manual clock
  NoticeLog log;
  std::unique_ptr<TimeLine> timeline;
};

TEST_F(TimeLineTest, RunsThroughItsSectionsAndStopsAtTheEnd) {
  timeline->AddSection("first", 3);
  timeline->AddSection("second", 2);
  timeline->Start();
  EXPECT_THAT(log.Take(), ElementsAre("state 0>2"));

  clock.Run(5 * 50);
  EXPECT_THAT(log.Take(), ElementsAre("pos 1", "pos 2", "pos 3", "section 0>1", "pos 4",
                                      "state 2>0", "section 1>-1"));
  EXPECT_EQ(timeline->GetPosition(), 0);
  EXPECT_TRUE(timeline->IsStopped());
  clock.Run(200);
  EXPECT_TRUE(log.Take().empty());
}

TEST_F(TimeLineTest, TicksOnceAnIntervalHasPassedWithoutCatchingUp) {
  timeline->Start();
  log.Take();
  clock.Run(45);
  EXPECT_EQ(timeline->GetPosition(), 0);
  clock.Run(5);
  EXPECT_EQ(timeline->GetPosition(), 1);

  clock.Advance(500);  // a late pass gives one tick, not ten
  clock.Pass();
  EXPECT_EQ(timeline->GetPosition(), 2);
  clock.Run(45);
  EXPECT_EQ(timeline->GetPosition(), 2);
  timeline->Pause(true);  // a paused timeline does not tick
  clock.Run(500);
  timeline->Pause(false);
  EXPECT_EQ(timeline->GetPosition(), 2);
  clock.Run(5);
  EXPECT_EQ(timeline->GetPosition(), 3);
  // Without sections the total is 0 and the timeline never reaches an end.
  clock.Run(5000);
  EXPECT_EQ(timeline->GetPosition(), 103);
  EXPECT_THAT(log.Take(), ::testing::Contains("state 2>1"));
  EXPECT_TRUE(timeline->IsRunning());
}

// Started between two passes of the timer and long after its last tick, or started again while
// running, the timeline first ticks a whole interval after the start.
TEST_F(TimeLineTest, TheFirstTickComesAWholeIntervalAfterTheStart) {
  timeline->AddSection("only", 10);
  for (const long long wait : {1234LL, 37LL}) {
    clock.Advance(wait);
    const int position = timeline->GetPosition();
    timeline->Start();
    clock.Run(45);
    EXPECT_EQ(timeline->GetPosition(), position) << wait;
    clock.Run(5);
    EXPECT_EQ(timeline->GetPosition(), position + 1) << wait;
  }
}

TEST_F(TimeLineTest, StartWhileStartedPassesThroughStoppedAndKeepsThePosition) {
  timeline->AddSection("only", 10);
  timeline->Start();
  clock.Run(100);
  log.Take();
  timeline->Start();
  EXPECT_THAT(log.Take(), ElementsAre("state 2>0", "state 0>2"));
  EXPECT_EQ(timeline->GetPosition(), 2);

  timeline->Pause(true);
  timeline->Start();
  EXPECT_THAT(log.Take(), ElementsAre("state 2>1", "state 1>0", "state 0>2"));
}

TEST_F(TimeLineTest, SetPositionBeyondTheTotalGoesToZeroAndSetToTheTotalEndsAtTheNextTick) {
  timeline->AddSection("first", 3);
  timeline->AddSection("second", 2);
  timeline->SetPosition(6);
  EXPECT_EQ(timeline->GetPosition(), 0);
  timeline->SetPosition(4);
  EXPECT_EQ(timeline->GetPosition(), 4);
  EXPECT_TRUE(log.Take().empty());  // moving is not notified

  timeline->SetPosition(5);
  timeline->Start();
  clock.Run(50);
  EXPECT_THAT(log.Take(), ElementsAre("state 0>2", "state 2>0", "section 1>-1"));
  EXPECT_EQ(timeline->GetPosition(), 0);
}

TEST_F(TimeLineTest, AMoveToASectionStartFromThePositionNoticeIsNotASectionChange) {
  timeline->AddSection("first", 3);
  timeline->AddSection("second", 3);
  log.onPosition = [this](int position) {
    if (position == 1) timeline->MoveToSection(1);
  };
  timeline->Start();
  clock.Run(3 * 50);
  EXPECT_THAT(log.Take(), ElementsAre("state 0>2", "pos 1", "pos 4", "pos 5"));
}

TEST_F(TimeLineTest, ChangingASectionDurationKeepsThePositionInItsSection) {
  timeline->AddSection("a", 3);
  timeline->AddSection("b", 4);
  timeline->AddSection("c", 5);

  timeline->SetPosition(8);  // 1 into section c
  timeline->SetSectionDuration(0, 5);
  EXPECT_EQ(timeline->GetTotalDuration(), 14);
  EXPECT_EQ(timeline->GetPosition(), 10);
  EXPECT_EQ(timeline->GetSectionPosition(), 1);

  timeline->SetSectionDuration(2, 2);  // the current section restarts
  EXPECT_EQ(timeline->GetPosition(), 9);
  EXPECT_EQ(timeline->GetTotalDuration(), 11);

  timeline->SetPosition(1);
  timeline->SetSectionDuration(1, 1);  // a later section: the position stays
  EXPECT_EQ(timeline->GetPosition(), 1);
  EXPECT_EQ(timeline->GetTotalDuration(), 8);
}

TEST_F(TimeLineTest, DestroyingARunningTimelineStopsItAndLeavesTheTimer) {
  timeline->AddSection("only", 10);
  timeline->Start();
  clock.Run(50);
  log.Take();
  timeline.reset();
  EXPECT_THAT(log.Take(), ElementsAre("state 2>0"));
  clock.Run(100);  // a pass reaching the destroyed timeline would use freed memory
  EXPECT_TRUE(log.Take().empty());
}

// Every notice must arrive with the timeline's lock released: another thread must be able to use
// the timeline from inside any callback. Were the lock held, the probe would time out.
TEST_F(TimeLineTest, ObserversAreCalledWithoutTheTimelineLock) {
  timeline->AddSection("a", 1);
  timeline->AddSection("b", 2);
  int blocked = 0, probes = 0;
  auto probe = [&] {
    ++probes;
    if (!Testing::FinishesOnAnotherThread([this] { timeline->GetPosition(); })) ++blocked;
  };
  log.onPosition = [&](int) { probe(); };
  log.onState = probe;

  timeline->Start();
  timeline->Pause(true);
  timeline->Start();
  clock.Run(3 * 50);
  EXPECT_EQ(probes, 7);  // four state changes from the calls, two ticks, one end
  EXPECT_EQ(blocked, 0);
  log.onPosition = nullptr;
  log.onState = nullptr;
}

TEST(TimeLineOnTimerThread, RunsToItsEndOnTheRealTimer) {
  NoticeLog log;
  TimeLine timeline;
  timeline.SetInterval(10);
  timeline.AddSection("a", 2);
  timeline.AddSection("b", 2);
  timeline.AddObserver(&log);
  timeline.Start();
  ASSERT_TRUE(Testing::WaitUntil([&] { return log.Count() >= 7; }));
  EXPECT_THAT(log.Take(), ElementsAre("state 0>2", "pos 1", "pos 2", "section 0>1", "pos 3",
                                      "state 2>0", "section 1>-1"));
  EXPECT_TRUE(timeline.IsStopped());
  timeline.RemoveObserver(&log);
}

}  // namespace
}  // namespace Core
