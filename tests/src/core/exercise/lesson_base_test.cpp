// Playback state, pausing, seeking and section jumps of the lesson base.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "src/core/exercise/lesson_base.h"
#include "src/core/midi/timeline.h"
#include "src/core/midi/timer.h"

namespace {

using Strings = std::vector<std::string>;

// A lesson of two sections of 10 ticks that records what its hooks and observers see.
class TestLesson : public Core::LessonBase, public Core::LessonBaseObserver {
 public:
  TestLesson() {
    Reset();
    GetTimeline().SetInterval(50);
    GetTimeline().AddSection("first", 10);
    GetTimeline().AddSection("second", 10);
    AddObserver(this);
  }
  ~TestLesson() override { RemoveObserver(this); }

  void SeekSection(unsigned long section, int position) override {
    calls.push_back("seek " + std::to_string(section) + " " + std::to_string(position));
  }
  void SwitchToSection(unsigned long section) override {
    calls.push_back("switch " + std::to_string(section));
  }
  void OnStateChanged(unsigned int) override {}
  void OnTick() override { calls.push_back("tick"); }
  void OnPlaybackStateChanged(Core::PlaybackState state) override {
    calls.push_back("playback " + std::to_string(static_cast<unsigned int>(state)));
  }

  Strings calls;
};

class LessonBaseTest : public ::testing::Test {
 protected:
  Core::ManualTimer timer;
  TestLesson lesson;
};

TEST_F(LessonBaseTest, PlaybackChangesAreToldOnceAndPauseSaysWhetherItChangedAnything) {
  lesson.SetPlaybackState(Core::PS_STOPPED);
  EXPECT_TRUE(lesson.calls.empty());
  lesson.Start();
  EXPECT_TRUE(lesson.GetTimeline().IsRunning());
  EXPECT_FALSE(lesson.Pause(false));
  EXPECT_TRUE(lesson.Pause(true));
  EXPECT_FALSE(lesson.Pause(true));
  EXPECT_TRUE(lesson.GetTimeline().IsPaused());
  EXPECT_TRUE(lesson.Pause(false));
  lesson.Stop();
  EXPECT_TRUE(lesson.GetTimeline().IsStopped());
  EXPECT_EQ(lesson.calls, (Strings{"playback 1", "playback 2", "playback 1", "playback 0"}));
  // Pausing a stopped lesson marks it paused; its timeline stays stopped.
  EXPECT_TRUE(lesson.Pause(true));
  EXPECT_EQ(lesson.GetPlaybackState(), Core::PS_PAUSED);
  EXPECT_TRUE(lesson.GetTimeline().IsStopped());
}

TEST_F(LessonBaseTest, MovingWithinASectionKeepsPlayingAndIntoAnotherStopsSwitchesAndRestarts) {
  lesson.Start();
  lesson.calls.clear();
  lesson.SetPosition(4);
  EXPECT_EQ(lesson.calls, (Strings{"seek 0 4"}));
  EXPECT_EQ(lesson.GetTimeline().GetPosition(), 4);
  lesson.SetPosition(13);
  EXPECT_EQ(lesson.calls,
            (Strings{"seek 0 4", "playback 0", "switch 1", "seek 1 3", "playback 1"}));
  EXPECT_TRUE(lesson.GetTimeline().IsRunning());
}

TEST_F(LessonBaseTest, SeekingPausesAndResumesOnlyALessonThatWasPlaying) {
  lesson.BeginSeek();
  lesson.SetPosition(15);
  lesson.EndSeek();
  EXPECT_EQ(lesson.calls, (Strings{"switch 1", "seek 1 5"}));
  EXPECT_EQ(lesson.GetPlaybackState(), Core::PS_STOPPED);

  lesson.Start();
  lesson.calls.clear();
  lesson.BeginSeek();
  lesson.SetPosition(2);
  lesson.EndSeek();
  EXPECT_EQ(lesson.calls,
            (Strings{"playback 2", "playback 0", "switch 0", "seek 0 2", "playback 1"}));
  EXPECT_EQ(lesson.GetPlaybackState(), Core::PS_PLAYING);
}

TEST_F(LessonBaseTest, TicksReachTheObserversAndResetStartsAnEmptyTimeline) {
  lesson.Start();
  lesson.calls.clear();
  timer.Run(100);
  EXPECT_EQ(lesson.calls, (Strings{"tick", "tick"}));
  lesson.SetHandsMode(Core::HM_LEFT);
  lesson.Reset();
  EXPECT_EQ(lesson.GetHandsMode(), Core::HM_BOTH);
  EXPECT_EQ(lesson.GetPlaybackState(), Core::PS_STOPPED);
  EXPECT_EQ(lesson.GetTimeline().GetSectionCount(), 0u);
}

}  // namespace
