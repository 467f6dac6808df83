// What is particular to each trainer: clefs, question kinds, answer methods, variants and the
// texts and groups of the statistics views.

#include <gtest/gtest.h>

#include <memory>
#include <set>

#include "exercise_test_support.h"
#include "src/core/exercise/ear_trainer.h"
#include "src/core/exercise/note_trainer.h"
#include "src/core/exercise/questions/question_pools.h"
#include "src/core/exercise/questions/question_shapes.h"
#include "src/core/exercise/symbol_trainer.h"
#include "src/core/exercise/theory/names.h"
#include "src/core/exercise/theory/tempo.h"
#include "src/core/midi/timer.h"
#include "src/core/score_provider/score_provider.h"
#include "src/core/settings/settings_manager.h"
#include "support/temp_environment.h"

namespace {

using Core::ChooseNoteTrainerClef;
using Core::CleffSettings;

// Runs questions of one section of a trainer: every other section asks nothing.
class TrainerTest : public ::testing::Test {
 protected:
  void SetUp() override { Testing::ResetProcessWideTrainerState(); }

  template <class Trainer>
  std::unique_ptr<Trainer> Open(unsigned long section, int sectionCount) {
    auto trainer = std::make_unique<Trainer>();
    trainer->Reset();
    trainer->SetSettings(&settings);
    Core::ExerciseCommonSettings common = trainer->GetCommonSettings();
    for (int i = 0; i < sectionCount; ++i)
      common.Sections[static_cast<std::size_t>(i)] = {i == static_cast<int>(section) ? 50u : 0u, 0};
    trainer->SetCommonSettings(common);
    trainer->Pause(false);
    return trainer;
  }
  // Asks the next question and gives it up at once.
  template <class Trainer>
  const Core::Question& Ask(Trainer& trainer) {
    if (trainer.GetState() != Core::ES_READY)
      trainer.AbortQuestion();
    else
      trainer.NextQuestion();
    return trainer.GetCurrentQuestion();
  }
  void Change(const std::function<void(Core::ExcersisesSettings&)>& change) {
    Core::ExcersisesSettings changed = settings.GetExcersiseSettings();
    change(changed);
    settings.SetExcersiseSettings(changed);
  }

  Core::ManualTimer timer;
  Testing::TempEnvironment env;
  Core::SettingsManager settings{[] { return false; }};
};

// Section i of every trainer gets {seconds i + 1, questions 10 + i}; the symbols trainer's tempo
// section is untimed.
TEST_F(TrainerTest, EachTrainerTakesItsSectionSettingsInOrderWithTheInstrument) {
  Change([](Core::ExcersisesSettings& s) {
    const auto set = [](std::initializer_list<Core::ExerciseDuration*> durations) {
      int i = 0;
      for (Core::ExerciseDuration* duration : durations) {
        *duration = {i + 1, 10 + i};
        ++i;
      }
    };
    set({&s.noteTrainer.singleNotes.duration, &s.noteTrainer.interval.duration,
         &s.noteTrainer.chord.duration});
    set({&s.earTrainer.singleNotes.duration, &s.earTrainer.interval.duration,
         &s.earTrainer.chord.duration, &s.earTrainer.scales.duration,
         &s.earTrainer.tempo.duration});
    set({&s.sheetMusicSymbols.length.duration, &s.sheetMusicSymbols.signatures.duration,
         &s.sheetMusicSymbols.tempo.duration, &s.sheetMusicSymbols.loudness.duration,
         &s.sheetMusicSymbols.noteModifiers.duration});
    s.sheetMusicSymbols.tempo.duration.seconds = 0;
  });
  settings.globalSettings.midiInstrument = 21;
  const auto check = [&](Core::Exercise& trainer, std::size_t sections) {
    trainer.Reset();
    trainer.SetSettings(&settings);
    const Core::ExerciseCommonSettings common = trainer.GetCommonSettings();
    EXPECT_EQ(common.Instrument, 21);
    ASSERT_EQ(common.Sections.size(), sections);
    for (std::size_t i = 0; i < sections; ++i) {
      EXPECT_EQ(common.Sections[i].QuestionCount, 10 + i);
      const int ticks = common.Sections[i].TimePerQuestion == 0 ? 10 : 20 * (int(i) + 1);
      EXPECT_EQ(trainer.GetTimeline().GetSectionDuration(i), int(10 + i) * ticks);
    }
  };
  Core::ExerciseNoteTrainer notes;
  check(notes, 3);
  Core::ExerciseEarTrainer ear;
  check(ear, 5);
  Core::ExerciseSymbolTrainer symbols;
  check(symbols, 5);
  EXPECT_EQ(symbols.GetCommonSettings().Sections[2].TimePerQuestion, 0);
}

TEST_F(TrainerTest, OutsizedDurationsFromTheSettingsFileKeepTheTimelineSound) {
  Change([](Core::ExcersisesSettings& s) {
    s.noteTrainer.singleNotes.duration = {5000000, 2000000000};
    s.noteTrainer.interval.duration = {-5000000, 2000000000};
    s.noteTrainer.chord.duration = {0, 2000000000};
  });
  Core::ExerciseNoteTrainer trainer;
  trainer.SetSettings(&settings);
  int sum = 0;
  for (unsigned long i = 0; i < 3; ++i) {
    EXPECT_GT(trainer.GetTimeline().GetSectionDuration(i), 0);
    sum += trainer.GetTimeline().GetSectionDuration(i);
  }
  EXPECT_EQ(trainer.GetTimeline().GetTotalDuration(), sum);
  trainer.Pause(false);
  trainer.NextQuestion();
  EXPECT_EQ(trainer.GetState(), Core::ES_PLAYING);
}

TEST(NoteTrainerClef, BothClefsTakeTurnsAndKeysOutsideAClefForceTheOther) {
  Testing::ResetProcessWideTrainerState();
  const CleffSettings both;
  EXPECT_TRUE(ChooseNoteTrainerClef(both, 40));  // the first turn of the process is treble
  EXPECT_FALSE(ChooseNoteTrainerClef(both, 40));
  EXPECT_TRUE(ChooseNoteTrainerClef(both, 40));
  EXPECT_TRUE(ChooseNoteTrainerClef(both, 55));   // a bass turn, but above the bass clef
  EXPECT_FALSE(ChooseNoteTrainerClef(both, 40));  // and the turns go on from there
  EXPECT_FALSE(ChooseNoteTrainerClef(both, 24));  // a treble turn, but below the treble clef
  EXPECT_TRUE(ChooseNoteTrainerClef(both, 54));

  const CleffSettings neither{false, false};
  EXPECT_TRUE(ChooseNoteTrainerClef(neither, 40));
  EXPECT_FALSE(ChooseNoteTrainerClef(neither, 10));
  const CleffSettings bassOnly{false, true};
  EXPECT_FALSE(ChooseNoteTrainerClef(bassOnly, 30));
  EXPECT_TRUE(ChooseNoteTrainerClef(bassOnly, 70));
}

TEST_F(TrainerTest, NoteTrainerQuestionsAlternateClefsFromTrebleAndCarryTheirScore) {
  Change([](Core::ExcersisesSettings& s) {
    s.noteTrainer.singleNotes.diapason.minimum = 30;
    s.noteTrainer.singleNotes.diapason.maximum = 50;
  });
  auto trainer = Open<Core::ExerciseNoteTrainer>(0, 3);
  bool treble = true;
  for (int i = 0; i < 6; ++i) {
    const Core::Question& question = Ask(*trainer);
    EXPECT_EQ(question.GClef, treble);
    treble = !treble;
    EXPECT_EQ(question.Type, Core::QT_NOTE);
    EXPECT_EQ(question.AnswerMethods, 5u);
    ASSERT_EQ(question.VariantData.size(), 6u);
    const Core::QuestionData& correct = question.VariantData[question.CorrectVariant];
    EXPECT_GE(correct.Id, 30);
    EXPECT_LT(correct.Id, 50);
    EXPECT_FALSE(correct.Rmn.empty());
  }
}

TEST_F(TrainerTest, NoteTrainerChordsAskedByNameTakeKeysOnly) {
  Change([](Core::ExcersisesSettings& s) { s.noteTrainer.chord.ChordNotation = true; });
  auto trainer = Open<Core::ExerciseNoteTrainer>(2, 3);
  const Core::Question& named = Ask(*trainer);
  EXPECT_EQ(named.Type, Core::QT_CHORD_NAME);
  EXPECT_EQ(named.AnswerMethods, 1u);
  EXPECT_EQ(trainer->GetSupportedAnswerMethods(named), 0u);

  Change([](Core::ExcersisesSettings& s) { s.noteTrainer.chord.ChordNotation = false; });
  const Core::Question& shown = Ask(*trainer);
  EXPECT_EQ(shown.Type, Core::QT_NOTE);
  EXPECT_EQ(shown.AnswerMethods, 5u);
  EXPECT_EQ(trainer->GetSupportedAnswerMethods(shown), 2u);
}

TEST_F(TrainerTest, OnlyTheCorrectChordVariantSoundsAsOneChord) {
  Change([](Core::ExcersisesSettings& s) { s.noteTrainer.chord.Arpeggiated = false; });
  auto trainer = Open<Core::ExerciseNoteTrainer>(2, 3);
  const Core::Question& question = Ask(*trainer);
  for (std::size_t i = 0; i < question.VariantData.size(); ++i) {
    const Core::QuestionData& variant = question.VariantData[i];
    const auto& pooled = Core::NoteTrainer::Chords[static_cast<std::size_t>(variant.Id)];
    if (i == question.CorrectVariant) {
      EXPECT_NE(variant.Stream, pooled.Stream);
      for (const Core::MidiEvent& event : variant.Stream->GetEvents())
        if (event.GetMessage().IsNoteAudible()) {
          EXPECT_EQ(event.GetTime(), 0.0);
        }
    } else {
      EXPECT_EQ(variant.Stream, pooled.Stream);
    }
  }
}

TEST_F(TrainerTest, NoteTrainerStatisticsTextsAndGroups) {
  auto trainer = Open<Core::ExerciseNoteTrainer>(0, 3);
  std::vector<int> groups;
  trainer->GetQuestionGroups(0, groups);
  EXPECT_EQ(groups, (std::vector<int>{3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14}));
  EXPECT_EQ(trainer->GetGroupTextById(0, 40), Core::GetNoteStringByType(1, false));
  EXPECT_TRUE(trainer->CompareQuestionGroup(0, 3, 15));
  EXPECT_FALSE(trainer->CompareQuestionGroup(0, 3, 16));
  EXPECT_EQ(trainer->GetNoteById(0, 40), 40u);
  EXPECT_EQ(trainer->GetNoteById(3, 0), static_cast<unsigned int>(-1));
  EXPECT_EQ(trainer->GetNoteById(0, 100000), static_cast<unsigned int>(-1));
  EXPECT_TRUE(trainer->GetQuestionTextById(0, 100000).isEmpty());
  // Chord names come on one line.
  for (int id : {0, 1500, 3000}) {
    EXPECT_FALSE(trainer->GetQuestionTextById(2, id).contains('\n'));
    EXPECT_TRUE(Core::NoteTrainer::Chords[static_cast<std::size_t>(id)].Text.contains('\n'));
  }
  EXPECT_EQ(trainer->GetNoteById(2, 0), 0u);
  EXPECT_TRUE(trainer->CompareQuestionGroup(2, 0, 1));  // two major chords
}

TEST(EarTrainerClef, AverageNoteFromMiddleCUpIsTreble) {
  Core::Question question;
  question.VariantData.resize(6);
  question.CorrectVariant = 1;
  question.VariantData[1].Stream = Testing::ChordStream({57, 60, 60}, 1.0);  // mean 59
  Core::SetGKey(question);
  EXPECT_FALSE(question.GClef);
  question.VariantData[1].Stream = Testing::ChordStream({58, 60, 62}, 1.0);  // mean 60
  Core::SetGKey(question);
  EXPECT_TRUE(question.GClef);
  question.VariantData[1].Stream = std::make_shared<Core::MidiStream>();
  Core::SetGKey(question);
  EXPECT_TRUE(question.GClef);
}

TEST_F(TrainerTest, EarTrainerScalesInOrderAndDescendingWhenAscendingIsOff) {
  Change([](Core::ExcersisesSettings& s) {
    s.earTrainer.scales.Ascending = false;
    s.earTrainer.scales.Descending = false;
  });
  auto trainer = Open<Core::ExerciseEarTrainer>(3, 5);
  for (int i = 0; i < 5; ++i) {
    const Core::Question& question = Ask(*trainer);
    EXPECT_EQ(question.AnswerMethods, 13u);
    EXPECT_EQ(trainer->GetSupportedAnswerMethods(question), 2u);
    for (const Core::QuestionData& variant : question.VariantData)
      EXPECT_EQ(variant.Stream,
                Core::EarTrainer::Scales[static_cast<std::size_t>(variant.Id)].DescendingStream);
    const auto& entry = Core::EarTrainer::Scales[static_cast<std::size_t>(
        question.VariantData[question.CorrectVariant].Id)];
    EXPECT_EQ(
        question.VariantData[question.CorrectVariant].Rmn,
        Core::ScoreProvider::GetQuestionScoreNotes(
            entry.DescendingKeys, question.GClef, question.Flat, Core::ScoreProvider::ST_SEQUENCE));
  }
}

TEST_F(TrainerTest, EarTrainerScaleDirectionVariesWhenBothAreOn) {
  auto trainer = Open<Core::ExerciseEarTrainer>(3, 5);
  std::set<bool> directions;
  for (int i = 0; i < 30; ++i) {
    const Core::Question& question = Ask(*trainer);
    const Core::QuestionData& correct = question.VariantData[question.CorrectVariant];
    directions.insert(correct.Stream ==
                      Core::EarTrainer::Scales[static_cast<std::size_t>(correct.Id)].Stream);
  }
  EXPECT_EQ(directions.size(), 2u);
}

TEST_F(TrainerTest, EarTrainerScaleGroupsNameEveryScaleTypeOnce) {
  Core::ExerciseEarTrainer trainer;
  trainer.Reset();
  std::vector<int> groups;
  trainer.GetQuestionGroups(3, groups);
  ASSERT_EQ(groups.size(), 10u);
  std::set<unsigned int> kinds;
  for (int id : groups) {
    const auto& scale = Core::EarTrainer::Scales[static_cast<std::size_t>(id)];
    kinds.insert(scale.Kind);
    EXPECT_EQ(trainer.GetGroupTextById(3, id), Core::GetScaleStringType(scale.Kind));
    EXPECT_EQ(trainer.GetNoteById(3, id), scale.Root);
    EXPECT_TRUE(trainer.CompareQuestionGroup(3, id, id + 1));
  }
  EXPECT_EQ(kinds.size(), 10u);
  EXPECT_FALSE(trainer.CompareQuestionGroup(3, groups[0], groups[1]));
  // The first sections answer as the note trainer's do.
  EXPECT_EQ(trainer.GetGroupTextById(0, 40), Core::GetNoteStringByType(1, false));
  EXPECT_EQ(trainer.GetNoteById(2, 0), 0u);
  EXPECT_EQ(trainer.GetNoteById(4, 0), static_cast<unsigned int>(-1));
  EXPECT_TRUE(trainer.GetQuestionTextById(3, -1).isEmpty());
}

TEST_F(TrainerTest, EarTrainerTempoQuestionsAreHeardAndAnsweredWithButtonsOnly) {
  auto trainer = Open<Core::ExerciseEarTrainer>(4, 5);
  const Core::Question& question = Ask(*trainer);
  EXPECT_EQ(question.Type, Core::QT_TEMPO);
  EXPECT_EQ(question.AnswerMethods, 4u);
  EXPECT_EQ(trainer->GetCurrentSection(), 4u);
  Core::Question earlier;  // a question of an earlier kind, judged by the section it is in
  EXPECT_EQ(trainer->GetSupportedAnswerMethods(earlier), 1u);
  std::set<unsigned int> classes;
  for (const Core::QuestionData& variant : question.VariantData)
    classes.insert(static_cast<unsigned int>(variant.Id) / Core::MaxMelodiesPerTempo);
  EXPECT_EQ(classes.size(), 6u);

  std::vector<int> groups;
  trainer->GetQuestionGroups(4, groups);
  // Every tempo class has a group, vivace (ids 384 to 447) included.
  EXPECT_EQ(groups, (std::vector<int>{0, 64, 128, 192, 256, 320, 384}));
  EXPECT_TRUE(trainer->CompareQuestionGroup(4, 384, 447));
  EXPECT_EQ(trainer->GetGroupTextById(4, 64), Core::GetTempoString(Core::TEMPO_ALLEGRO));
  EXPECT_TRUE(trainer->CompareQuestionGroup(4, 64, 127));
  EXPECT_FALSE(trainer->CompareQuestionGroup(4, 63, 64));
  EXPECT_EQ(trainer->GetNoteById(4, 0), static_cast<unsigned int>(-1));
  std::string rmn;
  std::vector<Core::NoteWAnalysis> notes;
  int highlight = -1;
  trainer->GetRazidAnswer(4, question, Core::Answer(), rmn, notes, highlight);
  EXPECT_TRUE(rmn.empty());
}

TEST_F(TrainerTest, MusicSymbolsAreMultipleChoiceOnlyAndTempoButtonsDescribeTheTerm) {
  auto trainer = Open<Core::ExerciseSymbolTrainer>(2, 5);
  EXPECT_FALSE(trainer->CanUseMidiIn());
  bool sawAdagio = false;
  for (int i = 0; i < 40 && !sawAdagio; ++i) {
    const Core::Question& question = Ask(*trainer);
    EXPECT_EQ(trainer->GetSupportedAnswerMethods(question), 1u);
    EXPECT_EQ(question.Type, Core::QT_SYMBOL);
    EXPECT_EQ(question.AnswerMethods, 4u);
    for (const Core::QuestionData& variant : question.VariantData) {
      if (variant.Id / static_cast<int>(Core::MaxMelodiesPerTempo) != Core::TEMPO_ADAGIO) continue;
      sawAdagio = true;
      EXPECT_EQ(variant.Text, QString("Slow && stately\n (66-76 bpm)"));
      EXPECT_EQ(trainer->GetQuestionTextById(2, variant.Id), QString("Adagio"));
    }
  }
  EXPECT_TRUE(sawAdagio);
}

TEST_F(TrainerTest, MusicSymbolsLengthsFollowTheirFlags) {
  Change([](Core::ExcersisesSettings& s) {
    s.sheetMusicSymbols.length = Core::LengthSettings();
    auto& length = s.sheetMusicSymbols.length;
    length.Whole = length.Half = length.Eights = length.Sixteenth = length.ThirtySecond =
        length.SixtyFourth = length.HundredTwentyEight = false;
  });
  auto trainer = Open<Core::ExerciseSymbolTrainer>(0, 5);
  std::set<int> asked;
  for (int i = 0; i < 30; ++i) {
    const Core::Question& question = Ask(*trainer);
    const Core::QuestionData& correct = question.VariantData[question.CorrectVariant];
    asked.insert(correct.Id);
    if (correct.Id == 5) {
      EXPECT_EQ(correct.Picture, QString(":/pixmap/exercise/quarterrest.png"));
    }
  }
  EXPECT_EQ(asked, (std::set<int>{4, 5}));
  Change([](Core::ExcersisesSettings& s) { s.sheetMusicSymbols.length.Rests = false; });
  for (int i = 0; i < 5; ++i) {
    const Core::Question& question = Ask(*trainer);
    EXPECT_EQ(question.VariantData[question.CorrectVariant].Id, 4);
  }
  std::vector<int> groups;
  trainer->GetQuestionGroups(0, groups);
  EXPECT_EQ(groups.size(), 16u);
  EXPECT_EQ(trainer->GetQuestionTextById(0, 1), QString("Whole Rest"));
}

TEST_F(TrainerTest, MusicSymbolsEnharmonicSignaturesShareAFlagAndMixClefs) {
  Change([](Core::ExcersisesSettings& s) {
    s.sheetMusicSymbols.signatures = Core::KeySignaturesSettings();
    auto& keys = s.sheetMusicSymbols.signatures;
    keys.CMaj = keys.AMaj = keys.GMaj = keys.EMaj = keys.DMaj = keys.BMaj = keys.FMaj = keys.EbMaj =
        keys.DbMaj = keys.BbMaj = keys.AbMaj = false;
  });
  auto trainer = Open<Core::ExerciseSymbolTrainer>(1, 5);
  std::set<int> asked;
  std::set<bool> bassPictures;
  for (int i = 0; i < 40; ++i) {
    const Core::Question& question = Ask(*trainer);
    asked.insert(question.VariantData[question.CorrectVariant].Id);
    for (const Core::QuestionData& variant : question.VariantData)
      bassPictures.insert(variant.Picture.endsWith("-bass.png"));
  }
  EXPECT_EQ(asked, (std::set<int>{6, 7}));
  EXPECT_EQ(bassPictures.size(), 2u);
  std::vector<int> groups;
  trainer->GetQuestionGroups(2, groups);
  EXPECT_EQ(groups, (std::vector<int>{0, 64, 128, 192, 256, 320, 384}));
}

}  // namespace
