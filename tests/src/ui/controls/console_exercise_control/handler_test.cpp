// Notices of the exercise reach the screen as signals: at once when the GUI thread caused them,
// queued when the timer or MIDI thread did, and never once their exercise is stopped.

#include <QSignalSpy>
#include <QThread>

#include <thread>

#include "src/core/midi/platform/jack_test_support.h"
#include "src/core/midi/platform/sound_controller.h"
#include "src/ui/controls/console_exercise_control/screen_fixture.h"
#include "src/ui/keyboard.h"

namespace {

using Testing::ScreenTest;
using Testing::WaitUntil;

class HandlerTest : public ScreenTest {
 protected:
  // A music-symbols question waiting for its answer.
  Core::Exercise* OpenWaiting() {
    Core::Exercise* exercise = Open(2);
    exercise->Start();
    exercise->NextQuestion();
    EXPECT_EQ(exercise->GetState(), Core::ES_AWAITING_ANSWER);
    return exercise;
  }

  Core::Answer RightVariant(Core::Exercise* exercise) const {
    Core::Answer answer;
    answer.Kind = Core::AK_VARIANT;
    answer.ChosenVariant = exercise->GetCurrentQuestion().CorrectVariant;
    return answer;
  }

  void SetUp() override {
    ScreenTest::SetUp();
    ListenForVerdicts();
  }

  // The services again with the sound controller on JACK, and a new main window.
  void RestartOnJack() {
    Restart();
    StartConsole();
    screen = m_console->GetExerciseControl();
    ListenForVerdicts();
  }

  void ListenForVerdicts() {
    QObject::connect(screen, &UI::ConsoleExerciseControl::AnswerProvided, screen,
                     [this](bool right, const Core::Answer&) {
                       verdicts.push_back(right);
                       onGuiThread = QThread::currentThread() == screen->thread();
                       duringCall = inCall;
                     });
  }

  std::vector<bool> verdicts;
  bool onGuiThread = false;
  bool duringCall = false;
  bool inCall = false;
};

TEST_F(HandlerTest, AButtonsVerdictArrivesBeforeTheAnswerCallReturns) {
  Core::Exercise* exercise = OpenWaiting();
  inCall = true;
  exercise->ProvideAnswer(RightVariant(exercise));
  inCall = false;
  EXPECT_EQ(verdicts, std::vector<bool>{true});
  EXPECT_TRUE(duringCall);
}

TEST_F(HandlerTest, AVerdictFromAnotherThreadIsQueuedToTheGuiThread) {
  Core::Exercise* exercise = OpenWaiting();
  std::thread midi([&] { exercise->ProvideAnswer(RightVariant(exercise)); });
  midi.join();
  EXPECT_TRUE(verdicts.empty());
  ASSERT_TRUE(WaitUntil([&] { return verdicts.size() == 1; }));
  EXPECT_TRUE(onGuiThread);
}

TEST_F(HandlerTest, AQueuedVerdictOfAStoppedExerciseIsDropped) {
  Core::Exercise* exercise = OpenWaiting();
  std::thread midi([&] { exercise->ProvideAnswer(RightVariant(exercise)); });
  midi.join();
  OpenWaiting();  // stops the first exercise and starts another
  QCoreApplication::processEvents();
  QCoreApplication::processEvents();
  EXPECT_TRUE(verdicts.empty());
}

TEST_F(HandlerTest, ANoteOnAtTheSelectedJackInputIsJudgedQueuedAndLightsItsKey) {
  MELVARIN_REQUIRE_JACK_DELIVERY();
  RestartOnJack();
  // The keyboard is plugged in while the window runs. A second or more after the notice the
  // window's rescan finds it and pauses the exercise screen, ending a question that waits for
  // its answer: the lesson starts once that has happened.
  std::unique_ptr<Testing::JackKeyboard> keys;
  ASSERT_TRUE(PlugInWhileRunning(keys, "Melvarin Screen Keys"));

  Core::Exercise* exercise = Open(0);
  exercise->Start();
  exercise->NextQuestion();
  ASSERT_TRUE(WaitUntil([&] { return exercise->GetState() == Core::ES_AWAITING_ANSWER; }));
  const Core::Question& question = exercise->GetCurrentQuestion();
  const int note = question.VariantData[question.CorrectVariant]
                       .Stream->GetEvents()
                       .front()
                       .GetMessage()
                       .GetNote();
  // A server without real-time scheduling on a busy machine can miss the cycle that carries the
  // key, which is then pressed again, as a learner would.
  Testing::XrunCounter().SendAgainIfLost(
      [&] {
        keys->Press(note);
        EXPECT_TRUE(verdicts.empty());  // it waits in the GUI thread's queue
      },
      [&] { return WaitUntil([&] { return !verdicts.empty(); }, Testing::LostMessageMs); });
  ASSERT_TRUE(WaitUntil([&] { return !verdicts.empty(); }));
  EXPECT_EQ(verdicts, std::vector<bool>{true});
  EXPECT_TRUE(onGuiThread);
  EXPECT_NE(screen->Form().Gkc->keyState(note - 21).highlight, KeyState::None);
}

}  // namespace
