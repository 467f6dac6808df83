// How an exercise reaches its devices: the selected input answers through the listener and
// sounds on the output, questions play on the output with the chosen instrument, and pausing
// silences the output.

#include <gtest/gtest.h>

#include <QMutex>
#include <QMutexLocker>

#include <functional>
#include <memory>

#include "exercise_test_support.h"
#include "src/core/exercise/symbol_trainer.h"
#include "src/core/midi/platform/sound_controller.h"
#include "src/core/midi/timer.h"
#include "src/core/settings/settings_manager.h"
#include "support/temp_environment.h"

namespace {

using Testing::KeyboardStub;
using Testing::NoteOn;

class ExerciseDevicesTest : public ::testing::Test {
 protected:
  ExerciseDevicesTest() {
    Core::SoundDeviceFactory factory;
    factory.countInputPorts = [] { return 2u; };
    factory.openInput = [this](unsigned int port) { return port == 0 ? keys : otherKeys; };
    factory.createSynthesizer = [this] { return output; };
    factory.watchSetup = [](std::function<void()>) {};
    controller = std::make_shared<Core::SoundController>(factory);
    controller->SelectInputMidiDevice(0);
  }

  void Make(Testing::TestSection section) {
    exercise = std::make_unique<Testing::TestTrainer>(std::vector<Testing::TestSection>{section});
    exercise->SetSoundController(controller);
    notices.Attach(*exercise);
  }
  void TearDown() override {
    if (exercise) notices.Detach(*exercise);
    exercise.reset();
  }
  bool RunUntil(const std::function<bool()>& done) {
    for (int t = 0; t < 5000 && !done(); t += Core::Timer::PeriodMs)
      timer.Run(Core::Timer::PeriodMs);
    return done();
  }

  Core::ManualTimer timer;
  std::shared_ptr<KeyboardStub> keys = std::make_shared<KeyboardStub>("first");
  std::shared_ptr<KeyboardStub> otherKeys = std::make_shared<KeyboardStub>("second");
  std::shared_ptr<Testing::OutputRecorder> output = std::make_shared<Testing::OutputRecorder>();
  std::shared_ptr<Core::SoundController> controller;
  std::unique_ptr<Testing::TestTrainer> exercise;
  Testing::NoticeRecorder notices;
};

TEST_F(ExerciseDevicesTest, PlayedQuestionsStartWithTheInstrumentsProgramExceptTempoPieces) {
  Testing::TestSection played;
  played.questionType = Core::QT_NOTE;
  Testing::TestSection tempo;
  tempo.questionType = Core::QT_TEMPO;
  exercise =
      std::make_unique<Testing::TestTrainer>(std::vector<Testing::TestSection>{played, tempo});
  exercise->SetSoundController(controller);
  exercise->Configure(1, 0, 21);  // Violin
  exercise->Pause(false);
  exercise->NextQuestion();
  ASSERT_TRUE(RunUntil([&] { return exercise->GetState() == Core::ES_AWAITING_ANSWER; }));
  std::vector<Core::MidiMessage> sent = output->Messages();
  ASSERT_EQ(sent.size(), 3u);
  EXPECT_EQ(sent[0], Core::MidiMessage(Core::MidiProgramChange, 0, 40));
  EXPECT_TRUE(sent[1].IsNoteAudible());
  EXPECT_EQ(sent[1].GetNote(), 60);
  EXPECT_TRUE(sent[2].IsNoteOff());

  exercise->ProvideAnswer(Testing::VariantAnswer(2));
  exercise->NextQuestion();
  ASSERT_EQ(exercise->GetCurrentSection(), 1u);
  ASSERT_TRUE(RunUntil([&] { return exercise->GetState() == Core::ES_AWAITING_ANSWER; }));
  sent = output->Messages();
  ASSERT_GT(sent.size(), 3u);
  EXPECT_TRUE(sent[3].IsNoteAudible());
}

TEST_F(ExerciseDevicesTest, KeysOfTheSelectedInputAnswerAndSoundInEveryState) {
  Make(Testing::TestSection{});
  exercise->Configure(2, 0);
  keys->Press(61);  // not answering yet, but heard
  ASSERT_EQ(output->Messages().size(), 1u);
  exercise->Pause(false);
  exercise->NextQuestion();
  otherKeys->Press(60);
  EXPECT_EQ(notices.Count("note on 60"), 0);
  keys->Press(60);
  EXPECT_EQ(notices.Count("answer right kind 1"), 1);
  EXPECT_EQ(output->Messages().size(), 2u);

  // Another input selected: the settings change moves the listener.
  controller->SelectInputMidiDevice(1);
  exercise->Configure(2, 0);
  exercise->NextQuestion();
  keys->Press(60);
  EXPECT_EQ(exercise->GetState(), Core::ES_AWAITING_ANSWER);
  otherKeys->Press(60);
  EXPECT_EQ(notices.Count("answer right kind 1"), 2);
}

// A question is answered from the moment it is asked: the first key played while it still
// sounds silences it, and the keys are judged as always, a single note, an interval in its order
// or a chord in any order. A partial answer leaves the question waiting with its time running.
TEST_F(ExerciseDevicesTest, KeysPlayedWhileTheQuestionSoundsAnswerItAndSilenceIt) {
  struct Case {
    std::vector<int> notes;
    unsigned int methods;
    std::vector<int> played;
  };
  const Case cases[] = {{{60}, Core::AM_NOTES, {60}},
                        {{60, 67}, Core::AM_NOTES | Core::AM_IN_ORDER, {60, 67}},
                        {{60, 64, 67}, Core::AM_NOTES, {67, 60, 64}}};
  for (const Case& c : cases) {
    const std::string label = std::to_string(c.notes.size()) + " notes";
    TearDown();
    notices.Take();
    Testing::TestSection played;
    played.questionType = Core::QT_NOTE;
    played.notes = c.notes;
    played.answerMethods = c.methods;
    Make(played);
    exercise->Configure(2, 1000);
    exercise->Pause(false);
    exercise->NextQuestion();
    ASSERT_EQ(exercise->GetState(), Core::ES_PLAYING) << label;
    const int stops = output->Stops();
    keys->Press(c.played.front());
    EXPECT_GT(output->Stops(), stops) << label;
    for (size_t i = 1; i < c.played.size(); ++i) keys->Press(c.played[i]);
    EXPECT_EQ(notices.Count("answer right kind 1"), 1) << label;
    EXPECT_EQ(exercise->GetState(), Core::ES_READY) << label;

    // The first key alone, while the next question sounds: its time runs out.
    exercise->NextQuestion();
    ASSERT_EQ(exercise->GetState(), Core::ES_PLAYING) << label;
    keys->Press(c.played.front());
    if (c.played.size() > 1) {
      ASSERT_TRUE(RunUntil([&] { return notices.Count("answer wrong kind 0") == 1; })) << label;
    }
  }
}

// A paused exercise takes no answer from the keys, which still sound: play leaves the question
// behind, and an answer judged behind the Play overlay would never show its verdict.
TEST_F(ExerciseDevicesTest, KeysDoNotAnswerAPausedQuestionButStillSound) {
  Make(Testing::TestSection{});
  exercise->Configure(2, 1000);
  exercise->Pause(false);
  exercise->NextQuestion();
  exercise->Pause(true);
  const size_t sent = output->Messages().size();
  keys->Press(60);
  EXPECT_EQ(output->Messages().size(), sent + 1);
  EXPECT_EQ(exercise->GetState(), Core::ES_AWAITING_ANSWER);
  EXPECT_EQ(notices.Count("note on 60"), 0);
  exercise->Pause(false);
  exercise->AbortQuestion();
  keys->Press(60);
  EXPECT_EQ(notices.Count("answer right kind 1"), 1);
  EXPECT_EQ(exercise->GetProgress().Answered, 1);
}

TEST_F(ExerciseDevicesTest, PausingSilencesTheOutput) {
  Make(Testing::TestSection{});
  exercise->Configure(2, 0);
  exercise->Pause(false);
  exercise->NextQuestion();
  const int before = output->Stops();
  EXPECT_TRUE(exercise->Pause(true));
  EXPECT_GT(output->Stops(), before);
}

TEST_F(ExerciseDevicesTest, WithoutAnInputSelectedKeysDoNotReachTheExercise) {
  controller->SelectInputMidiDevice(Core::SoundController::NoSelection);
  Make(Testing::TestSection{});
  exercise->Configure(2, 0);
  exercise->Pause(false);
  exercise->NextQuestion();
  keys->Press(60);
  EXPECT_EQ(exercise->GetState(), Core::ES_AWAITING_ANSWER);
  exercise->ExternalMidiEvent(NoteOn(60));  // the on-screen piano still answers and sounds
  EXPECT_EQ(notices.Count("answer right kind 1"), 1);
  EXPECT_EQ(output->Messages().size(), 1u);
}

TEST_F(ExerciseDevicesTest, MusicSymbolsTrainerDoesNotListenToTheKeyboard) {
  Testing::TempEnvironment env;
  Core::SettingsManager settings([] { return false; });
  Core::ExerciseSymbolTrainer symbols;
  symbols.SetStatistics(nullptr, 2);
  symbols.SetSoundController(controller);
  symbols.SetSettings(&settings);
  Testing::NoticeRecorder seen;
  seen.Attach(symbols);
  symbols.Pause(false);
  symbols.NextQuestion();
  keys->Press(60);
  EXPECT_EQ(seen.Count("note on 60"), 0);
  EXPECT_EQ(symbols.GetState(), Core::ES_AWAITING_ANSWER);
  seen.Detach(symbols);
}

}  // namespace
