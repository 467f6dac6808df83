// Each trainer runs headless through all its sections, timed and untimed, answered on the keys
// (the on-screen piano's path), with the buttons, by letting the time run out, and on a real MIDI
// port. A timed exercise ends finished, an untimed one stopped.

#include <gtest/gtest.h>

#include <QCoreApplication>

#include <ostream>

#include <memory>
#include <set>

#include "../midi/platform/jack_test_support.h"
#include "exercise_test_support.h"
#include "keyboard_controller.h"
#include "src/core/exercise/ear_trainer.h"
#include "src/core/exercise/ex_store/exercise_statistics.h"
#include "src/core/exercise/note_trainer.h"
#include "src/core/exercise/symbol_trainer.h"
#include "src/core/midi/platform/sound_controller.h"
#include "src/core/midi/tempo/midi_bank.h"
#include "src/core/midi/timer.h"
#include "src/core/settings/settings_manager.h"
#include "support/temp_environment.h"
#include "tests/src/core/midi/wait_until.h"

namespace {

enum class Answering { Keys, Buttons, TimeOuts, Port };

struct RunCase {
  int trainer;  // catalog index
  bool timed;
  Answering answering;
};

std::string Describe(const RunCase& run) {
  const char* trainers[] = {"NoteTrainer", "EarTrainer", "MusicSymbols"};
  const char* ways[] = {"Keys", "Buttons", "TimeOuts", "Port"};
  return std::string(trainers[run.trainer]) + (run.timed ? "Timed" : "Untimed") +
         ways[static_cast<int>(run.answering)];
}

void PrintTo(const RunCase& run, std::ostream* out) {
  *out << Describe(run);
}

std::string Name(const ::testing::TestParamInfo<RunCase>& info) {
  return Describe(info.param);
}

// Tests run side by side: each keyboard's client has a name of its own.
std::string KeyboardName() {
  static int made = 0;
  return "Melvarin Exercise Keys " + std::to_string(QCoreApplication::applicationPid()) + "-" +
         std::to_string(++made);
}

class TrainerRunTest : public ::testing::TestWithParam<RunCase> {
 protected:
  void SetUp() override {
    Testing::ResetProcessWideTrainerState();
    if (GetParam().answering == Answering::Port) {
      MELVARIN_REQUIRE_JACK_DELIVERY();
      keyboard = std::make_unique<Testing::JackKeyboard>(KeyboardName());
      ASSERT_TRUE(keyboard->IsOpen());
      xruns = std::make_unique<Testing::XrunCounter>();
      const QString port = QString::fromStdString(keyboard->Name());
      controller = Testing::ControllerListeningTo(port, output);
      ASSERT_TRUE(controller) << "the keyboard's port never showed";
    }
    Core::ExcersisesSettings all = settings.GetExcersiseSettings();
    const Core::ExerciseDuration duration{GetParam().timed ? 1 : 0, 2};
    for (Core::ExerciseDuration* section :
         {&all.noteTrainer.singleNotes.duration, &all.noteTrainer.interval.duration,
          &all.noteTrainer.chord.duration, &all.earTrainer.singleNotes.duration,
          &all.earTrainer.interval.duration, &all.earTrainer.chord.duration,
          &all.earTrainer.scales.duration, &all.earTrainer.tempo.duration,
          &all.sheetMusicSymbols.length.duration, &all.sheetMusicSymbols.signatures.duration,
          &all.sheetMusicSymbols.tempo.duration, &all.sheetMusicSymbols.loudness.duration,
          &all.sheetMusicSymbols.noteModifiers.duration})
      *section = duration;
    settings.SetExcersiseSettings(all);
    statistics = std::make_shared<Core::ExerciseStatistics>(env.Root() + "/stats.xml",
                                                            env.Root() + "/statsLocal.xml");
  }
  void TearDown() override {
    if (exercise) notices.Detach(*exercise);
    exercise.reset();
  }

  // The screen's order of calls when it starts an exercise.
  void Open() {
    switch (GetParam().trainer) {
      case 0:
        exercise = std::make_unique<Core::ExerciseNoteTrainer>();
        break;
      case 1:
        exercise = std::make_unique<Core::ExerciseEarTrainer>();
        break;
      default:
        exercise = std::make_unique<Core::ExerciseSymbolTrainer>();
        break;
    }
    exercise->SetStatistics(statistics, GetParam().trainer);
    exercise->TempoBank = bank;
    exercise->Reset();
    if (controller) {
      exercise->SetSoundController(controller);
      // JACK makes the connection to the keyboard a moment after the port opens: the run begins
      // once a released key comes through to the input device.
      std::shared_ptr<Core::MidiInDevice> input =
          controller->GetInputMidiDevice(controller->GetSelectedInputMidiDevice());
      input->AddObserver(&probe);
      const bool through = Testing::WaitUntil([&] {
        keyboard->Release(60);
        return probe.WaitFor(1, std::chrono::milliseconds(50));
      });
      input->RemoveObserver(&probe);
      ASSERT_TRUE(through) << "the keyboard never got through";
    }
    notices.Attach(*exercise);
    exercise->SetQuizMode(false);
    exercise->ClearLocalStats();
    exercise->SetSettings(&settings);
    exercise->Pause(false);
  }

  bool RunWhile(Core::ExerciseState state) {
    for (int t = 0; t < 60000 && exercise->GetState() == state; t += Core::Timer::PeriodMs)
      timer.Run(Core::Timer::PeriodMs);
    return exercise->GetState() != state;
  }

  void PlayCorrectNotes(const Core::Question& question) {
    std::vector<int> notes;
    for (const Core::MidiEvent& event :
         question.VariantData[question.CorrectVariant].Stream->GetEvents())
      if (event.GetMessage().IsNoteAudible()) notes.push_back(event.GetMessage().GetNote());
    for (int note : notes) {
      if (exercise->GetState() != Core::ES_AWAITING_ANSWER) break;
      if (GetParam().answering == Answering::Port) {
        // A JACK server without real-time scheduling drops the MIDI of a cycle it misses when the
        // machine is loaded. A key lost that way is pressed again; a merely late one is waited
        // for.
        const std::string seen = "note on " + std::to_string(note);
        const int before = notices.Count(seen);
        xruns->SendAgainIfLost(
            [&] { keyboard->Press(note); },
            [&] { return notices.WaitForCount(seen, before + 1, Testing::LostMessageMs); });
        ASSERT_TRUE(notices.WaitForCount(seen, before + 1, Testing::PatienceMs))
            << "the port delivered nothing";
      } else {
        exercise->ExternalMidiEvent(Testing::NoteOn(note));
      }
    }
  }

  void Answer(const Core::Question& question) {
    const bool keys = question.Accepts(Core::AM_NOTES);
    switch (GetParam().answering) {
      case Answering::TimeOuts:
        ASSERT_TRUE(RunWhile(Core::ES_AWAITING_ANSWER));
        return;
      case Answering::Buttons:
        if (!question.Accepts(Core::AM_VARIANT)) break;
        exercise->ProvideAnswer(Testing::VariantAnswer(question.CorrectVariant));
        return;
      case Answering::Keys:
      case Answering::Port:
        if (!keys) break;
        PlayCorrectNotes(question);
        return;
    }
    if (keys)
      PlayCorrectNotes(question);
    else
      exercise->ProvideAnswer(Testing::VariantAnswer(question.CorrectVariant));
  }

  Core::ManualTimer timer;
  Testing::TempEnvironment env;
  Core::SettingsManager settings{[] { return false; }};
  std::shared_ptr<Core::MidiBank> bank = std::make_shared<Core::MidiBank>();
  std::shared_ptr<Core::ExerciseStatistics> statistics;
  // Outlives the devices: a key may still be on its way to it after it stops listening.
  Testing::EventCollector probe;
  std::unique_ptr<Testing::JackKeyboard> keyboard;
  std::unique_ptr<Testing::XrunCounter> xruns;
  std::shared_ptr<Testing::OutputRecorder> output = std::make_shared<Testing::OutputRecorder>();
  std::shared_ptr<Core::SoundController> controller;
  std::unique_ptr<Core::Exercise> exercise;
  Testing::NoticeRecorder notices;
};

TEST_P(TrainerRunTest, RunsThroughEverySectionToItsEnd) {
  ASSERT_NO_FATAL_FAILURE(Open());
  const unsigned long sections = exercise->GetTimeline().GetSectionCount();
  std::set<unsigned long> visited;
  std::set<int> heardTempoClasses;
  for (int guard = 0; guard < 200; ++guard) {
    const Core::ExerciseState state = exercise->GetState();
    if (state == Core::ES_STOPPED || state == Core::ES_FINISHED) break;
    if (state == Core::ES_READY) {
      exercise->NextQuestion();
      continue;
    }
    const Core::Question question = exercise->GetCurrentQuestion();
    visited.insert(exercise->GetCurrentSection());
    if (question.Type == Core::QT_TEMPO) {
      const auto& stream = question.VariantData[question.CorrectVariant].Stream;
      std::vector<Core::MidiBank::MidiFileInfo> pieces;
      bank->GetByTempo(
          static_cast<Core::TempoTypes>(question.VariantData[question.CorrectVariant].Id / 64),
          pieces);
      bool fromBank = false;
      for (const auto& piece : pieces) fromBank = fromBank || piece.stream == stream;
      EXPECT_TRUE(fromBank) << "a tempo question plays a piece of its class";
    }
    if (state == Core::ES_PLAYING) {
      ASSERT_TRUE(RunWhile(Core::ES_PLAYING));
    }
    if (exercise->GetState() == Core::ES_AWAITING_ANSWER) Answer(question);
    if (HasFatalFailure()) return;
  }

  EXPECT_EQ(exercise->GetState(), GetParam().timed ? Core::ES_FINISHED : Core::ES_STOPPED);
  EXPECT_EQ(visited.size(), sections);
  const Core::ExerciseProgress progress = exercise->GetProgress();
  EXPECT_EQ(progress.QuestionsAsked, static_cast<int>(2 * sections));
  EXPECT_EQ(progress.Answered, progress.QuestionsAsked);
  const bool allRight = GetParam().answering != Answering::TimeOuts;
  EXPECT_EQ(progress.RightAnswers, allRight ? progress.Answered : 0);
  EXPECT_EQ(notices.Count(allRight ? "answer right kind 0" : "answer wrong kind 0"),
            allRight ? 0 : progress.Answered);

  int recorded = 0;
  std::vector<Core::ExStat> records;
  statistics->GetLocalSummary(GetParam().trainer, records);
  for (const Core::ExStat& record : records) recorded += record.Correct + record.Wrong;
  EXPECT_EQ(recorded, progress.Answered);
}

std::vector<RunCase> Cases() {
  std::vector<RunCase> cases;
  for (int trainer = 0; trainer < 3; ++trainer) {
    for (bool timed : {true, false}) {
      cases.push_back({trainer, timed, Answering::Buttons});
      cases.push_back({trainer, timed, Answering::Keys});
      if (timed) cases.push_back({trainer, timed, Answering::TimeOuts});
    }
    cases.push_back({trainer, false, Answering::Port});
  }
  return cases;
}

INSTANTIATE_TEST_SUITE_P(Trainers, TrainerRunTest, ::testing::ValuesIn(Cases()), Name);

}  // namespace
