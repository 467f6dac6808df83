#pragma once

// The five difficulty levels: each is a complete trainer settings record. Choosing a level for
// one trainer copies that trainer's part of the level's record; the settings manager also asks
// which level the learner's lesson settings equal.

#include "src/core/settings/exercise_settings.h"
#include "src/core/settings/settings_types.h"

namespace Core {

// Builds the five level records once per process; later calls return at once. Safe to call from
// any thread. DifficultyPreset calls it itself, so calling it early only moves the work.
void initExcersiceSettings();

// The record of one level. `level` must be Level1 to Level5.
const ExcersisesSettings& DifficultyPreset(DifficultyLevelPreset level);

// The first level whose part for `type` equals `settings` under the level comparison, or
// CustomLevel. Any type other than the note or ear trainer selects the music-symbols part.
DifficultyLevelPreset MatchDifficultyLevel(const ExcersisesSettings& settings, ExerciseType type);

// Copies the part for `type` of level `level` into `target`. Returns false, changing nothing, for
// an unknown trainer or a level outside Level1 to Level5 (CustomLevel included).
bool ApplyDifficultyLevel(ExcersisesSettings& target, ExerciseType type,
                          DifficultyLevelPreset level);

}  // namespace Core
