#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <memory>
#include <vector>

#include "recording_devices.h"
#include "src/core/midi/midi_connector.h"
#include "src/core/midi/midi_stream_device.h"
#include "src/core/midi/timer.h"
#include "timer_passes.h"
#include "wait_until.h"

namespace Core {
namespace {

using ::testing::ElementsAre;
using Testing::RecordingOutDevice;

MidiEvent NoteOn(int note, double seconds, unsigned int pulses = 0) {
  return MidiEvent(MidiMessage(MidiNoteOn, 0, static_cast<unsigned char>(note), 100), pulses,
                   seconds);
}

std::shared_ptr<MidiStream> StreamOf(std::initializer_list<MidiEvent> events) {
  auto stream = std::make_shared<MidiStream>();
  for (const MidiEvent& event : events) stream->AddEvent(event);
  return stream;
}

class CompletionCounter : public MidiInStreamDeviceObserver {
 public:
  void OnPlaybackComplete() override {
    ++count;
    if (onComplete) onComplete();
  }
  std::atomic<int> count{0};
  std::function<void()> onComplete;
};

// Runs an action from inside every event notice.
class EventHook : public MidiDeviceObserver {
 public:
  void OnMidiEvent(const MidiEvent&) override {
    if (action) action();
  }
  std::function<void()> action;
};

// A question player wired the way an exercise wires it: player -> connector -> output.
class QuestionPlayerTest : public ::testing::Test {
 protected:
  QuestionPlayerTest()
      : output(std::make_shared<RecordingOutDevice>()),
        player(std::make_shared<MidiInStreamDeviceAuto>(
            StreamOf({NoteOn(60, 0.0), NoteOn(62, 0.1), NoteOn(64, 0.25)}))),
        connector(player, output) {
    player->AddObserver(&completion);
  }
  ~QuestionPlayerTest() override { player->RemoveObserver(&completion); }

  std::vector<long long> StampsSince(long long start) const {
    std::vector<long long> stamps;
    for (const auto& received : output->GetReceived()) stamps.push_back(received.stamp - start);
    return stamps;
  }

  ManualTimer clock;
  std::shared_ptr<RecordingOutDevice> output;
  std::shared_ptr<MidiInStreamDeviceAuto> player;
  MidiDeviceConnector connector;
  CompletionCounter completion;
};

TEST_F(QuestionPlayerTest, PlaysEachEventOnTheFirstPassAtOrAfterItsTimeAndEndsOnce) {
  clock.Run(100);  // idle: nothing happens and the clock is followed
  EXPECT_EQ(output->Count(), 0u);
  const long long start = clock.Now();
  player->Play();
  clock.Run(400);
  EXPECT_THAT(output->Notes(), ElementsAre(60, 62, 64));
  EXPECT_THAT(StampsSince(start), ElementsAre(5, 100, 250));
  EXPECT_EQ(completion.count, 1);
  EXPECT_FALSE(player->IsPlaying());

  MidiStream recorded;
  player->GetStream(recorded);
  EXPECT_EQ(recorded.GetEvents().size(), 3);
}

TEST_F(QuestionPlayerTest, PauseFreezesThePlayedTime) {
  const long long start = clock.Now();
  player->Play();
  clock.Run(50);
  player->Pause(true);
  clock.Run(1000);
  EXPECT_EQ(output->Count(), 1u);
  player->Pause(false);
  clock.Run(300);
  EXPECT_THAT(StampsSince(start), ElementsAre(5, 1100, 1250));
  EXPECT_EQ(completion.count, 1);
}

TEST_F(QuestionPlayerTest, AnObserverMayReplayFromTheCompletionNotice) {
  completion.onComplete = [this] {
    if (completion.count == 1) player->Play();
  };
  player->Play();
  clock.Run(1000);
  EXPECT_THAT(output->Notes(), ElementsAre(60, 62, 64, 60, 62, 64));
  EXPECT_EQ(completion.count, 2);
}

TEST_F(QuestionPlayerTest, EventsAtOneTimeGoOutOnOnePassInStreamOrder) {
  player->SetStream(
      StreamOf({NoteOn(67, 0.02), NoteOn(60, 0.02), NoteOn(64, 0.02), NoteOn(72, 0.03)}));
  const long long start = clock.Now();
  player->Play();
  clock.Run(100);
  EXPECT_THAT(output->Notes(), ElementsAre(67, 60, 64, 72));
  EXPECT_THAT(StampsSince(start), ElementsAre(20, 20, 20, 30));
}

TEST_F(QuestionPlayerTest, AnEmptyStreamPlaysNothingAndNeverCompletes) {
  player->SetStream(std::make_shared<MidiStream>());
  player->Play();
  clock.Run(100);
  EXPECT_EQ(output->Count(), 0u);
  EXPECT_EQ(completion.count, 0);
}

TEST_F(QuestionPlayerTest, SeekStartsFromTheFirstEventAtOrAfterThePulses) {
  player->SetStream(StreamOf({NoteOn(60, 0.0, 0), NoteOn(62, 0.0, 384), NoteOn(64, 0.0, 768)}));
  player->Play();
  player->Seek(100);
  clock.Run(10);
  EXPECT_THAT(output->Notes(), ElementsAre(62, 64));

  player->Seek(769);  // beyond the last event: nothing left, so Play starts over
  player->Play();
  clock.Run(10);
  EXPECT_THAT(output->Notes(), ElementsAre(62, 64, 60, 62, 64));
}

// An observer of the events may reset the player or give it a new stream from inside its
// callback; the replay must stop cleanly rather than run on over a stream that changed under it.
TEST_F(QuestionPlayerTest, AnObserverMayResetOrReplaceTheStreamWhileEventsAreDelivered) {
  EventHook observer;
  player->SetStream(StreamOf({NoteOn(60, 0.0), NoteOn(62, 0.0), NoteOn(64, 0.0)}));
  player->AddObserver(&observer);

  observer.action = [&] { player->Reset(); };
  player->Play();
  clock.Run(20);
  observer.action = [&] {
    observer.action = nullptr;
    player->SetStream(StreamOf({NoteOn(70, 0.0)}));
  };
  player->Play();
  clock.Run(20);
  EXPECT_THAT(output->Notes(), ElementsAre(60, 60));
  EXPECT_EQ(completion.count, 0);

  player->Play();
  clock.Run(20);
  EXPECT_THAT(output->Notes(), ElementsAre(60, 60, 70));
  EXPECT_EQ(completion.count, 1);
  player->RemoveObserver(&observer);
}

// The exercise waits for the end of every question it plays: a pause asked for from the last
// event's notice must not leave the player at the end of its stream without ever saying so.
TEST_F(QuestionPlayerTest, APauseFromTheLastEventsNoticeStillEndsThePlayback) {
  EventHook observer;
  observer.action = [&] {
    if (output->Count() == 3) player->Pause(true);  // the connector has sent the last note
  };
  player->AddObserver(&observer);
  player->Play();
  clock.Run(400);
  EXPECT_THAT(output->Notes(), ElementsAre(60, 62, 64));
  EXPECT_EQ(completion.count, 1);
  player->RemoveObserver(&observer);
}

// On the timer thread each note goes out in the pass its time falls in, by the stamps of the passes
// (however late a busy machine made them), and the end is told once.
TEST(QuestionPlayerOnTimerThread, PlaysThroughAConnectorInThePassesItsTimesFallIn) {
  Testing::TimerPasses passes;
  auto output = std::make_shared<Testing::PassRecordingOutput>(passes);
  auto player = std::make_shared<MidiInStreamDeviceAuto>(
      StreamOf({NoteOn(60, 0.0), NoteOn(62, 0.1), NoteOn(64, 0.25)}));
  MidiDeviceConnector connector(player, output);
  CompletionCounter completion;
  player->AddObserver(&completion);
  passes.Close();

  const int start = passes.RunInPass([&] { player->Play(); });
  ASSERT_GE(start, 0);
  ASSERT_TRUE(Testing::WaitUntil([&] { return completion.count > 0; }));
  ASSERT_TRUE(passes.WaitForPass(passes.Current() + 10));
  EXPECT_EQ(completion.count, 1);

  const auto sent = output->GetSent();
  ASSERT_EQ(sent.size(), 3u);
  const double times[] = {0.0, 0.1, 0.25};
  for (size_t i = 0; i < 3; ++i) {
    EXPECT_EQ(sent[i].message.GetNote(), 60 + 2 * int(i));
    EXPECT_TRUE(passes.SentOnTime(start, times[i], sent[i].pass))
        << "note " << i << " in pass " << sent[i].pass - start;
  }
  player->RemoveObserver(&completion);
}

// Paused from its first note's notice, the player counts none of the passes it sits out; the end
// is told once, with the player's lock released.
TEST(QuestionPlayerOnTimerThread, PauseFreezesItAndTheEndComesOnceWithTheLockReleased) {
  Testing::TimerPasses passes;
  auto output = std::make_shared<Testing::PassRecordingOutput>(passes);
  auto player = std::make_shared<MidiInStreamDeviceAuto>(
      StreamOf({NoteOn(60, 0.0), NoteOn(62, 0.3), NoteOn(64, 0.35)}));
  MidiDeviceConnector connector(player, output);
  EventHook pauser;
  pauser.action = [&] {
    if (output->GetSent().size() == 1) player->Pause(true);
  };
  player->AddObserver(&pauser);
  CompletionCounter completion;
  std::atomic<bool> probeBlocked{true};
  completion.onComplete = [&] {
    probeBlocked = !Testing::FinishesOnAnotherThread([&] { player->IsPlaying(); });
  };
  player->AddObserver(&completion);
  passes.Close();

  const int start = passes.RunInPass([&] { player->Play(); });
  ASSERT_GE(start, 0);
  ASSERT_TRUE(Testing::WaitUntil([&] { return !output->GetSent().empty(); }));
  // Eighty passes sat out, at least 400 ms: far beyond the times of the two notes left.
  ASSERT_TRUE(passes.WaitForPass(start + 81));
  const int resumed = passes.RunInPass([&] { player->Pause(false); });
  ASSERT_GE(resumed, 0);
  const Testing::PausedPasses pause{output->GetSent()[0].pass + 1, resumed};
  ASSERT_TRUE(Testing::WaitUntil([&] { return completion.count > 0; }));
  ASSERT_TRUE(passes.WaitForPass(passes.Current() + 10));
  EXPECT_EQ(completion.count, 1);
  EXPECT_FALSE(probeBlocked);

  const auto sent = output->GetSent();
  ASSERT_EQ(sent.size(), 3u);
  const double times[] = {0.0, 0.3, 0.35};
  for (size_t i = 0; i < 3; ++i) {
    EXPECT_EQ(sent[i].message.GetNote(), 60 + 2 * int(i));
    EXPECT_TRUE(passes.SentOnTime(start, times[i], sent[i].pass, pause))
        << "note " << i << " in pass " << sent[i].pass - start << ", paused from "
        << pause.from - start << " to " << pause.until - start;
  }
  player->RemoveObserver(&completion);
  player->RemoveObserver(&pauser);
}

TEST(ManualStreamDevice, DeliversWhatFallsDueAndNotifiesTheEndOnce) {
  CompletionCounter completion;
  class Log : public MidiDeviceObserver {
   public:
    void OnMidiEvent(const MidiEvent& event) override {
      notes.push_back(event.GetMessage().GetNote());
    }
    std::vector<int> notes;
  } log;
  MidiInStreamDeviceManual device(
      StreamOf({NoteOn(60, 0.0, 0), NoteOn(62, 0.0, 10), NoteOn(64, 0.0, 20)}));
  device.AddObserver(&log);
  device.AddObserver(&completion);

  device.Advance(50);  // not playing: at the end, nothing
  EXPECT_TRUE(log.notes.empty());

  device.Play();
  EXPECT_THAT(log.notes, ElementsAre(60));
  // A step that leaves the next event ahead moves one more pulse on.
  EXPECT_DOUBLE_EQ(device.GetPosition(), 1.0);
  device.Advance(7.5);
  EXPECT_THAT(log.notes, ElementsAre(60));
  EXPECT_DOUBLE_EQ(device.GetPosition(), 9.5);
  device.Advance(0.5);
  EXPECT_THAT(log.notes, ElementsAre(60, 62));

  device.Pause(true);
  device.Advance(100);
  EXPECT_THAT(log.notes, ElementsAre(60, 62));
  device.Pause(false);
  device.Advance(100);
  EXPECT_THAT(log.notes, ElementsAre(60, 62, 64));
  EXPECT_EQ(completion.count, 1);
  EXPECT_DOUBLE_EQ(device.GetPosition(), 0.0);  // reset at the end

  device.Play();
  device.AdvanceTo(20);  // all the way, without a notice
  EXPECT_THAT(log.notes, ElementsAre(60, 62, 64, 60, 62, 64));
  EXPECT_EQ(completion.count, 1);

  device.Seek(10);
  EXPECT_DOUBLE_EQ(device.GetPosition(), 10.0);
  device.Advance(0);
  EXPECT_THAT(log.notes, ElementsAre(60, 62, 64, 60, 62, 64, 62));
  device.RemoveObserver(&log);
  device.RemoveObserver(&completion);
}

TEST(ManualStreamDevice, APauseFromTheLastEventsNoticeStillEndsThePlayback) {
  MidiInStreamDeviceManual device(StreamOf({NoteOn(60, 0.0, 0), NoteOn(62, 0.0, 10)}));
  CompletionCounter completion;
  EventHook pauser;
  pauser.action = [&] { device.Pause(true); };
  device.AddObserver(&completion);
  device.AddObserver(&pauser);
  device.Play();  // delivers the first note, which pauses
  device.Pause(false);
  device.Advance(10);  // the last note pauses again
  EXPECT_EQ(completion.count, 1);
  EXPECT_DOUBLE_EQ(device.GetPosition(), 0.0);
  device.RemoveObserver(&completion);
  device.RemoveObserver(&pauser);
}

}  // namespace
}  // namespace Core
