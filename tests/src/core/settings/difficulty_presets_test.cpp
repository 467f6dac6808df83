#include <gtest/gtest.h>

#include "src/core/settings/difficulty_presets.h"

namespace {

using namespace Core;

constexpr DifficultyLevelPreset kLevels[] = {Level1, Level2, Level3, Level4, Level5};
constexpr ExerciseType kTrainers[] = {NoteTrainerExercise, EarTrainerExercise,
                                      SheetMusicSymbolsExercise};

// Levels are told apart by the same comparison that recognises them, so two levels that compared
// equal would make the higher one unreachable.
TEST(DifficultyPresets, EveryLevelIsRecognisedAsItselfForEveryTrainer) {
  for (ExerciseType trainer : kTrainers)
    for (DifficultyLevelPreset level : kLevels)
      EXPECT_EQ(MatchDifficultyLevel(DifficultyPreset(level), trainer), level)
          << "trainer " << trainer << " level " << level;

  // The quiz defaults (everything on, middle range) are no level for the trainers with key
  // ranges; with every symbol on, the symbols trainer's defaults are the top level.
  const ExcersisesSettings defaults;
  EXPECT_EQ(MatchDifficultyLevel(defaults, NoteTrainerExercise), CustomLevel);
  EXPECT_EQ(MatchDifficultyLevel(defaults, EarTrainerExercise), CustomLevel);
  EXPECT_EQ(MatchDifficultyLevel(defaults, SheetMusicSymbolsExercise), Level5);
}

TEST(DifficultyPresets, FirstLevelAsksAroundMiddleC) {
  const ExcersisesSettings& easy = DifficultyPreset(Level1);
  for (const SingleNotesSettings* notes :
       {&easy.noteTrainer.singleNotes, &easy.earTrainer.singleNotes}) {
    EXPECT_EQ(notes->diapason.minimum, 39);
    EXPECT_EQ(notes->diapason.maximum, 52);
    EXPECT_EQ(notes->duration.seconds, 10);
    EXPECT_EQ(notes->duration.questions, 20);
  }
  // Intervals and chords on middle C alone, up to a major third.
  EXPECT_EQ(easy.noteTrainer.interval.diapason.minimum, 39);
  EXPECT_EQ(easy.noteTrainer.interval.diapason.maximum, 40);
  EXPECT_EQ(easy.noteTrainer.interval.intervalEnd, 4);
  EXPECT_EQ(easy.earTrainer.interval.intervalEnd, 4);
  EXPECT_EQ(easy.earTrainer.chord.diapason.maximum, 40);

  const ChordSettings& chord = easy.noteTrainer.chord;
  EXPECT_TRUE(chord.MajorTriad && chord.MinorTriad && chord.FirstInversion &&
              chord.SecondInversion);
  EXPECT_FALSE(chord.MajorSixth || chord.MajorSeventh || chord.DominantSeventh || chord.Augmented ||
               chord.Arpeggiated || chord.ChordNotation);

  // Scales are untimed with four questions at every level.
  for (DifficultyLevelPreset level : kLevels) {
    const ExerciseDuration& scales = DifficultyPreset(level).earTrainer.scales.duration;
    EXPECT_EQ(scales.seconds, 0);
    EXPECT_EQ(scales.questions, 4);
  }
  EXPECT_TRUE(easy.noteTrainer.onWrongAnswer.autoContinue);
  EXPECT_EQ(easy.noteTrainer.onWrongAnswer.delay, 5000);
}

TEST(DifficultyPresets, TrainersDifferWhereTheirLevelsDiffer) {
  // The two trainers' interval sizes and chord ranges part at levels 2 and 3.
  EXPECT_EQ(DifficultyPreset(Level2).noteTrainer.interval.intervalEnd, 7);
  EXPECT_EQ(DifficultyPreset(Level2).earTrainer.interval.intervalEnd, 10);
  EXPECT_EQ(DifficultyPreset(Level3).noteTrainer.chord.diapason.minimum, 27);
  EXPECT_EQ(DifficultyPreset(Level3).earTrainer.chord.diapason.minimum, 34);
  EXPECT_EQ(DifficultyPreset(Level3).earTrainer.scales.diapason.maximum, 47);
  EXPECT_EQ(DifficultyPreset(Level5).earTrainer.singleNotes.diapason.maximum, 75);

  // Rows that are not cumulative.
  auto adagio = [](DifficultyLevelPreset level) {
    return DifficultyPreset(level).sheetMusicSymbols.tempo.Adagio;
  };
  EXPECT_TRUE(adagio(Level2));
  EXPECT_FALSE(adagio(Level3));
  EXPECT_TRUE(adagio(Level4));
  EXPECT_TRUE(DifficultyPreset(Level3).earTrainer.tempo.Adagio);

  const bool prestissimo[] = {true, true, false, false, true};
  for (DifficultyLevelPreset level : kLevels) {
    EXPECT_EQ(DifficultyPreset(level).earTrainer.tempo.Prestissimo, prestissimo[level]);
    EXPECT_EQ(DifficultyPreset(level).sheetMusicSymbols.tempo.Prestissimo, prestissimo[level]);
  }
  const NoteModifiersSettings& fourth = DifficultyPreset(Level4).sheetMusicSymbols.noteModifiers;
  EXPECT_FALSE(fourth.EngagePedal || fourth.ReleasePedal);
  EXPECT_TRUE(DifficultyPreset(Level3).sheetMusicSymbols.noteModifiers.EngagePedal);
  EXPECT_TRUE(DifficultyPreset(Level3).sheetMusicSymbols.tempo.Largo);
  EXPECT_FALSE(DifficultyPreset(Level3).earTrainer.tempo.Largo);
}

TEST(DifficultyPresets, ApplyingALevelReplacesOnlyThatTrainer) {
  ExcersisesSettings settings;
  settings.noteTrainer.onWrongAnswer = {false, 1000};
  const ExcersisesSettings before = settings;

  ASSERT_TRUE(ApplyDifficultyLevel(settings, EarTrainerExercise, Level3));
  EXPECT_EQ(MatchDifficultyLevel(settings, EarTrainerExercise), Level3);
  EXPECT_EQ(settings.earTrainer.scales.duration.questions, 4) << "durations come along";
  EXPECT_TRUE(settings.noteTrainer == before.noteTrainer);
  EXPECT_TRUE(settings.sheetMusicSymbols == before.sheetMusicSymbols);
  EXPECT_EQ(settings.noteTrainer.onWrongAnswer.delay, 1000);

  // A note-trainer level brings its own after-a-wrong-answer record.
  ASSERT_TRUE(ApplyDifficultyLevel(settings, NoteTrainerExercise, Level1));
  EXPECT_TRUE(settings.noteTrainer.onWrongAnswer.autoContinue);
  EXPECT_EQ(settings.noteTrainer.onWrongAnswer.delay, 5000);

  ASSERT_TRUE(ApplyDifficultyLevel(settings, SheetMusicSymbolsExercise, Level5));
  EXPECT_EQ(MatchDifficultyLevel(settings, SheetMusicSymbolsExercise), Level5);
}

TEST(DifficultyPresets, NonLevelsAndUnknownTrainersChangeNothing) {
  const ExcersisesSettings original = DifficultyPreset(Level2);
  ExcersisesSettings settings = original;
  for (int level : {5, 6, -1, -1000})
    for (ExerciseType trainer : kTrainers)
      EXPECT_FALSE(
          ApplyDifficultyLevel(settings, trainer, static_cast<DifficultyLevelPreset>(level)));
  EXPECT_FALSE(ApplyDifficultyLevel(settings, static_cast<ExerciseType>(7), Level5));
  EXPECT_FALSE(ApplyDifficultyLevel(settings, static_cast<ExerciseType>(-1), Level5));
  for (ExerciseType trainer : kTrainers) EXPECT_EQ(MatchDifficultyLevel(settings, trainer), Level2);

  // Any other trainer number is matched as the music-symbols trainer.
  settings.sheetMusicSymbols = DifficultyPreset(Level4).sheetMusicSymbols;
  EXPECT_EQ(MatchDifficultyLevel(settings, static_cast<ExerciseType>(9)), Level4);
}

TEST(DifficultyPresetsDeathTest, AskingForTheRecordOfCustomSettingsIsAProgrammingError) {
  EXPECT_DEATH(DifficultyPreset(CustomLevel),
               "Assertion failed: level >= Level1 && level <= Level5, function DifficultyPreset, "
               "file ../../src/core/settings/difficulty_presets.cpp");
}

}  // namespace
