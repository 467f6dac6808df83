// The answer listener between a MIDI input device and the exercise.

#include <gtest/gtest.h>

#include <memory>
#include <thread>

#include "exercise_test_support.h"
#include "src/core/exercise/midi_answer_listener.h"
#include "src/core/midi/timer.h"
#include "support/gate.h"

namespace {

using Testing::KeyboardStub;

class MidiAnswerListenerTest : public ::testing::Test {
 protected:
  MidiAnswerListenerTest() : exercise({Testing::TestSection{}}) {
    exercise.Configure(5, 0);
    notices.Attach(exercise);
    exercise.Pause(false);
    exercise.NextQuestion();
  }
  ~MidiAnswerListenerTest() override { notices.Detach(exercise); }

  Core::ManualTimer timer;
  Testing::TestTrainer exercise;
  Testing::NoticeRecorder notices;
  std::shared_ptr<KeyboardStub> first = std::make_shared<KeyboardStub>();
  std::shared_ptr<KeyboardStub> second = std::make_shared<KeyboardStub>();
};

TEST_F(MidiAnswerListenerTest, KeysOfTheObservedDeviceAnswerAndMoveWithTheDevice) {
  Core::MidiAnswerListener listener(&exercise, first);
  first->Press(60);
  EXPECT_EQ(notices.Count("answer right kind 1"), 1);

  listener.SetDevice(second);
  exercise.NextQuestion();
  first->Press(60);
  EXPECT_EQ(notices.Count("note on 60"), 1);
  second->Press(60);
  EXPECT_EQ(notices.Count("answer right kind 1"), 2);
}

TEST_F(MidiAnswerListenerTest, DeviceThatIsGoneIsLeftAlone) {
  auto listener = std::make_unique<Core::MidiAnswerListener>(&exercise, first);
  first.reset();
  listener->SetDevice(second);
  second->Press(60);
  EXPECT_EQ(notices.Count("answer right kind 1"), 1);
  second.reset();
  listener.reset();
}

TEST_F(MidiAnswerListenerTest, DetachedListenerForwardsNothing) {
  Core::MidiAnswerListener listener(&exercise, first);
  listener.Detach();
  first->Press(60);
  listener.SetDevice(second);
  second->Press(60);
  EXPECT_EQ(notices.Count("note on 60"), 0);
  EXPECT_EQ(exercise.GetState(), Core::ES_AWAITING_ANSWER);
}

// Holds the keyboard's hand-over in an observer called before the listener.
class HoldingObserver : public Core::MidiDeviceObserver {
 public:
  void OnMidiEvent(const Core::MidiEvent&) override { gate.EnterAndWait(); }
  Testing::Gate gate;
};

// The device copies its observers before calling them: a listener destroyed while a key is being
// handed over waits for that hand-over instead of being called once it is gone.
TEST_F(MidiAnswerListenerTest, ListenerDestroyedDuringAHandOverOutlastsIt) {
  HoldingObserver holding;
  first->AddObserver(&holding);
  auto listener = std::make_unique<Core::MidiAnswerListener>(&exercise, first);
  std::thread keyboard([&] { first->Send(Testing::NoteOn(60)); });
  holding.gate.WaitUntilEntered();
  listener->Detach();
  std::thread destroyer([&] { listener.reset(); });
  holding.gate.Open();
  destroyer.join();
  keyboard.join();
  first->RemoveObserver(&holding);
  EXPECT_EQ(notices.Count("note on 60"), 0);
}

}  // namespace
