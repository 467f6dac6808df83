#pragma once

// Small enumerations shared by the settings records, the presets and every caller that picks a
// trainer or a difficulty level.

namespace Core {

// Which trainer a call concerns. The same numbers identify the trainers in the exercise catalog
// and in the statistics records. The underlying type is fixed so that callers may pass any int;
// operations that switch on it treat unknown values as documented at each operation.
enum ExerciseType : int {
  NoteTrainerExercise = 0,
  EarTrainerExercise = 1,
  SheetMusicSymbolsExercise = 2,
};

// The five difficulty presets, Level1 the easiest (shown as "Level 1" to "Level 5"), and the value
// that means the settings equal no preset.
enum DifficultyLevelPreset : int {
  Level1 = 0,
  Level2 = 1,
  Level3 = 2,
  Level4 = 3,
  Level5 = 4,
  CustomLevel = 5,
};

constexpr int DifficultyPresetCount = 5;

}  // namespace Core
