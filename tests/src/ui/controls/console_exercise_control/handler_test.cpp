// Notices of the exercise reach the screen as signals: at once when the GUI thread caused them,
// queued when the timer or MIDI thread did, and never once their exercise is stopped.

#include <QThread>

#include <thread>

#include "src/ui/controls/console_exercise_control/screen_fixture.h"

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

}  // namespace
