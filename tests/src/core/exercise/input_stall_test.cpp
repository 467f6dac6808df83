// Intervals and chords played on a MIDI keyboard while the question still sounds, the notes a
// hand's few milliseconds apart, all reach the exercise, also while another thread holds the
// exercise's lock: the keys wait for it and are judged late, none is lost.

#include <gtest/gtest.h>

#include <QCoreApplication>

#include <chrono>
#include <future>
#include <memory>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "../midi/platform/jack_test_support.h"
#include "exercise_test_support.h"
#include "keyboard_controller.h"
#include "src/core/midi/platform/sound_controller.h"
#include "src/core/midi/timer.h"
#include "tests/src/core/midi/wait_until.h"

namespace {

using namespace std::chrono_literals;

std::string UniqueName(const char* kind) {
  return std::string("Melvarin Stall ") + kind + " " +
         std::to_string(QCoreApplication::applicationPid());
}

class InputStallTest : public ::testing::Test {
 protected:
  void SetUp() override {
    MELVARIN_REQUIRE_JACK_DELIVERY();
    keyboard = std::make_unique<Testing::JackKeyboard>(UniqueName("Keys"));
    ASSERT_TRUE(keyboard->IsOpen());
    xruns = std::make_unique<Testing::XrunCounter>();
    const QString port = QString::fromStdString(keyboard->Name());
    controller = Testing::ControllerListeningTo(port, output);
    ASSERT_TRUE(controller) << "the keyboard's port never showed";
    // JACK connects the port a moment after it opens: a released key comes through first.
    std::shared_ptr<Core::MidiInDevice> input =
        controller->GetInputMidiDevice(controller->GetSelectedInputMidiDevice());
    input->AddObserver(&probe);
    const bool through = Testing::WaitUntil([&] {
      keyboard->Release(60);
      return probe.WaitFor(1, 50ms);
    });
    input->RemoveObserver(&probe);
    ASSERT_TRUE(through) << "the keyboard never got through";
  }
  void TearDown() override {
    if (exercise) notices.Detach(*exercise);
    exercise.reset();
  }

  // An untimed exercise of one played question kind, started.
  void Open(Testing::TestSection kind) {
    if (exercise) notices.Detach(*exercise);
    exercise = std::make_unique<Testing::TestTrainer>(std::vector<Testing::TestSection>{kind});
    exercise->Reset();
    exercise->SetSoundController(controller);
    exercise->ConfigureSection(0, 1000, 0);
    notices.Attach(*exercise);
    exercise->Pause(false);
  }

  // Asks questions and answers `count` of them right while they sound, the notes 5 to 40 ms
  // apart; every third answer comes while another thread holds the exercise's lock for 50 ms.
  void AnswerWhileSounding(const std::vector<int>& notes, int count) {
    int unheard = 0;
    for (int attempt = 0, judged = 0; judged < count; ++attempt) {
      if (exercise->GetState() == Core::ES_READY) exercise->NextQuestion();
      // The manual clock stands still: the question sounds until a key cuts it off.
      ASSERT_EQ(exercise->GetState(), Core::ES_PLAYING);
      notices.Take();
      std::vector<std::pair<int, std::vector<unsigned char>>> hand;
      for (size_t i = 0; i < notes.size(); ++i) {
        const int gap = i == 0 ? 0 : 5 + (attempt * 7 + static_cast<int>(i) * 13) % 36;
        hand.push_back({gap, {0x90, static_cast<unsigned char>(notes[i]), 100}});
      }
      for (int note : notes) hand.push_back({20, {0x80, static_cast<unsigned char>(note), 0}});

      const int missed = xruns->Count();
      std::thread holder;
      if (attempt % 3 == 0) {
        std::promise<void> held;
        std::future<void> holding = held.get_future();
        holder = std::thread([&] {
          std::lock_guard lock(exercise->LessonLock());
          held.set_value();
          std::this_thread::sleep_for(50ms);  // a busy thread's hold, the test's stimulus
        });
        holding.wait();
      }
      keyboard->PlaySpaced(hand);
      const std::string right = "answer right kind 1";
      const bool soon = notices.WaitForCount(right, 1, Testing::LostMessageMs);
      if (holder.joinable()) holder.join();
      if (!soon && xruns->Count() != missed) {
        // A server without real-time scheduling on a busy machine now and then misses a cycle of
        // a client, and the keys in it never reach the program. That may cost a few answers; a
        // lock held while keys arrive must cost none (it would cost every third).
        ASSERT_LE(++unheard, count / 10) << "answers lost in cycles the server missed";
        exercise->AbortQuestion();  // asks the next one
        continue;
      }
      const std::string where =
          "answer " + std::to_string(judged) + ", attempt " + std::to_string(attempt);
      ASSERT_TRUE(soon || notices.WaitForCount(right, 1)) << where;
      EXPECT_EQ(notices.Count("answer wrong kind 1"), 0) << where;
      // The verdict is told before the question is completed.
      ASSERT_TRUE(Testing::WaitUntil([&] { return exercise->GetState() == Core::ES_READY; }))
          << where;
      ++judged;
    }
  }

  Testing::EventCollector probe;  // outlives the devices
  std::unique_ptr<Testing::JackKeyboard> keyboard;
  std::unique_ptr<Testing::XrunCounter> xruns;
  std::shared_ptr<Testing::OutputRecorder> output = std::make_shared<Testing::OutputRecorder>();
  std::shared_ptr<Core::SoundController> controller;
  Core::ManualTimer timer;
  Testing::NoticeRecorder notices;
  std::unique_ptr<Testing::TestTrainer> exercise;
};

TEST_F(InputStallTest, IntervalsAndChordsPlayedWhileTheQuestionSoundsAreAllJudged) {
  Testing::TestSection interval;
  interval.questionType = Core::QT_NOTE;
  interval.answerMethods = Core::AM_NOTES | Core::AM_IN_ORDER;
  interval.notes = {60, 67};
  Open(interval);
  AnswerWhileSounding(interval.notes, 100);
  if (HasFatalFailure()) return;

  Testing::TestSection chord;
  chord.questionType = Core::QT_CHORD_NAME;
  chord.answerMethods = Core::AM_NOTES;
  chord.notes = {60, 64, 67};
  Open(chord);
  AnswerWhileSounding(chord.notes, 100);
}

}  // namespace
