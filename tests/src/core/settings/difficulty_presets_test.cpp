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

  // The two trainers' levels differ in interval sizes and chord ranges.
  ASSERT_TRUE(ApplyDifficultyLevel(settings, NoteTrainerExercise, Level3));
  EXPECT_EQ(settings.noteTrainer.chord.diapason.minimum, 27);
  EXPECT_EQ(settings.earTrainer.chord.diapason.minimum, 34);

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
               "file " MELVARIN_SOURCE_PREFIX "src/core/settings/difficulty_presets.cpp");
}

}  // namespace
