// Three threads meet in a running exercise: keys on the MIDI input thread, ticks and time-outs
// on the timer thread, and the screen's calls on this (the GUI) thread, including calls back into
// the exercise from inside its notices. Run under ThreadSanitizer, repeatedly.

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QThread>

#include <atomic>
#include <chrono>
#include <functional>
#include <memory>
#include <random>
#include <thread>

#include "exercise_test_support.h"
#include "src/core/exercise/ex_store/exercise_statistics.h"
#include "src/core/midi/platform/sound_controller.h"
#include "support/temp_environment.h"

namespace {

using namespace std::chrono_literals;
using Testing::KeyboardStub;
using Testing::NoteOff;
using Testing::NoteOn;

// Behaves like the exercise screen's handler: notices from other threads are only recorded; on
// the GUI thread the notice runs the screen's slot at once, which reads the exercise back.
class ScreenStandIn : public Testing::NoticeRecorder {
 public:
  explicit ScreenStandIn(Core::Exercise& exercise) : m_exercise(exercise) {}

  void OnStateChanged(unsigned int state) override {
    NoticeRecorder::OnStateChanged(state);
    if (OnGuiThread()) ReadBack();
  }
  void OnAnswerProvided(bool right, const Core::Answer& answer) override {
    NoticeRecorder::OnAnswerProvided(right, answer);
    answers.fetch_add(1);
    if (!OnGuiThread()) return;
    ReadBack();
    std::string rmn;
    std::vector<Core::NoteWAnalysis> notes;
    int highlight = -1;
    m_exercise.GetRazidAnswer(m_exercise.GetCurrentSection(), m_exercise.GetCurrentQuestion(),
                              answer, rmn, notes, highlight);
  }

  std::atomic<int> answers{0};

 private:
  bool OnGuiThread() const { return QThread::currentThread() == qApp->thread(); }
  void ReadBack() {
    (void)m_exercise.GetState();
    (void)m_exercise.GetCurrentQuestion().VariantData.size();
    (void)m_exercise.GetPlaybackState();
  }

  Core::Exercise& m_exercise;
};

class ExerciseThreadsTest : public ::testing::Test {
 protected:
  ExerciseThreadsTest() {
    Core::SoundDeviceFactory factory;
    factory.countInputPorts = [] { return 1u; };
    factory.openInput = [this](unsigned int) { return keys; };
    factory.createSynthesizer = [this] { return output; };
    factory.watchSetup = [](std::function<void()>) {};
    controller = std::make_shared<Core::SoundController>(factory);
    statistics = std::make_shared<Core::ExerciseStatistics>(env.Root() + "/stats.xml",
                                                            env.Root() + "/statsLocal.xml");
  }

  void Make(std::vector<Testing::TestSection> sections) {
    exercise = std::make_unique<Testing::TestTrainer>(std::move(sections));
    exercise->SetStatistics(statistics, 0);
    exercise->SetSoundController(controller);
    screen = std::make_unique<ScreenStandIn>(*exercise);
    screen->Attach(*exercise);
  }

  // Presses keys on their own thread until told to stop.
  void StartKeyboard() {
    keyboard = std::thread([this] {
      std::mt19937 random(7);
      while (!stop.load()) {
        const int note = random() % 2 == 0 ? 60 : 40 + static_cast<int>(random() % 6);
        keys->Send(NoteOn(note));
        keys->Send(NoteOff(note));
        std::this_thread::sleep_for(std::chrono::microseconds(300 + random() % 700));
      }
    });
  }

  // The screen's side for `duration`, and on until `answers` answers have come, however few a
  // busy machine gives in that time: next questions, button answers, pauses and resumes.
  void PlayScreen(std::chrono::milliseconds duration, bool pauses, int answers) {
    std::mt19937 random(11);
    const auto begun = std::chrono::steady_clock::now();
    const auto playing = [&] {
      const auto now = std::chrono::steady_clock::now();
      return now < begun + duration ||
             (screen->answers.load() < answers &&
              now < begun + std::chrono::milliseconds(Testing::PatienceMs));
    };
    while (playing()) {
      // The progress display reads the counters while keys and time-outs change them.
      const Core::ExerciseProgress progress = exercise->GetProgress();
      EXPECT_LE(progress.RightAnswers, progress.Answered);
      EXPECT_LE(progress.Answered, progress.QuestionsAsked);
      EXPECT_LE(progress.SectionRight, progress.SectionAsked);
      switch (exercise->GetState()) {
        case Core::ES_READY:
          if (exercise->GetPlaybackState() == Core::PS_PLAYING) exercise->NextQuestion();
          break;
        case Core::ES_STOPPED:
        case Core::ES_FINISHED:
          exercise->MoveToSection(0);
          exercise->Pause(false);
          break;
        default:
          if (random() % 5 == 0) {
            exercise->ProvideAnswer(Testing::VariantAnswer(random() % 6));
          }
          break;
      }
      if (pauses && random() % 7 == 0) {
        exercise->Pause(true);
        std::this_thread::sleep_for(200us);
        exercise->Pause(false);
        exercise->AbortQuestion();
      }
      if (exercise->GetPlaybackState() != Core::PS_PLAYING &&
          exercise->GetState() == Core::ES_READY)
        exercise->Pause(false);
      std::this_thread::sleep_for(std::chrono::microseconds(200 + random() % 800));
    }
  }

  void StopKeyboard() {
    stop.store(true);
    if (keyboard.joinable()) keyboard.join();
  }

  void TearDown() override {
    StopKeyboard();
    if (exercise && screen) screen->Detach(*exercise);
    exercise.reset();
  }

  Testing::TempEnvironment env;
  std::shared_ptr<KeyboardStub> keys = std::make_shared<KeyboardStub>();
  std::shared_ptr<Testing::OutputRecorder> output = std::make_shared<Testing::OutputRecorder>();
  std::shared_ptr<Core::SoundController> controller;
  std::shared_ptr<Core::ExerciseStatistics> statistics;
  std::unique_ptr<Testing::TestTrainer> exercise;
  std::unique_ptr<ScreenStandIn> screen;
  std::atomic<bool> stop{false};
  std::thread keyboard;
};

int RecordedAnswers(Core::ExerciseStatistics& statistics) {
  std::vector<Core::ExStat> records;
  statistics.GetLocalSummary(0, records);
  int total = 0;
  for (const Core::ExStat& record : records) total += record.Correct + record.Wrong;
  return total;
}

TEST_F(ExerciseThreadsTest, KeysRaceTimeOutsAndPausesWithoutLosingACount) {
  Testing::TestSection played;
  played.questionType = Core::QT_EAR;
  played.notes = {60, 64};
  Make({played, Testing::TestSection{}});
  exercise->Configure(4, 100);  // two ticks per question: time-outs come thick and fast
  exercise->Pause(false);
  exercise->NextQuestion();
  StartKeyboard();
  PlayScreen(1500ms, true, 6);
  StopKeyboard();
  exercise->Pause(true);

  EXPECT_GT(screen->answers.load(), 5);
  EXPECT_EQ(exercise->GetProgress().Answered, screen->answers.load());
  EXPECT_EQ(RecordedAnswers(*statistics), screen->answers.load());
}

TEST_F(ExerciseThreadsTest, UntimedSectionsUnderKeysAndPauses) {
  Make({Testing::TestSection{}, Testing::TestSection{}});
  exercise->Configure(3, 0);
  exercise->Pause(false);
  exercise->NextQuestion();
  StartKeyboard();
  PlayScreen(1000ms, true, 6);
  StopKeyboard();
  EXPECT_GT(screen->answers.load(), 5);
  EXPECT_EQ(RecordedAnswers(*statistics), screen->answers.load());
}

TEST_F(ExerciseThreadsTest, ExerciseGoesAwayWhileKeysAndTicksKeepComing) {
  Testing::TestSection played;
  played.questionType = Core::QT_NOTE;
  Make({played});
  exercise->Configure(50, 100);
  exercise->Pause(false);
  exercise->NextQuestion();
  StartKeyboard();
  PlayScreen(300ms, false, 0);
  // Released with the keyboard still playing and the timer still ticking.
  screen->Detach(*exercise);
  exercise.reset();
  const int before = static_cast<int>(output->Messages().size());
  std::this_thread::sleep_for(20ms);
  StopKeyboard();
  EXPECT_EQ(static_cast<int>(output->Messages().size()), before);
}

TEST_F(ExerciseThreadsTest, InputDeviceChangesWhileKeysArrive) {
  Make({Testing::TestSection{}});
  exercise->Configure(1000, 0);
  exercise->Pause(false);
  exercise->NextQuestion();
  StartKeyboard();
  const auto end = std::chrono::steady_clock::now() + 500ms;
  for (int i = 0; std::chrono::steady_clock::now() < end; ++i) {
    controller->SelectInputMidiDevice(i % 2 == 0 ? Core::SoundController::NoSelection : 0ul);
    exercise->SetSoundController(controller);
    if (exercise->GetState() == Core::ES_READY) exercise->NextQuestion();
    std::this_thread::sleep_for(1ms);
  }
  StopKeyboard();
  EXPECT_EQ(RecordedAnswers(*statistics), screen->answers.load());
}

}  // namespace
