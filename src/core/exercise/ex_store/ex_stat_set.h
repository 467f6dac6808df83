#pragma once

// The statistics set: ExStat records looked up by question id (index 0), by exercise
// (index 1) and by exercise and section together (index 2).

#include "src/core/exercise/ex_store/multi_indexed.h"
#include "src/core/exercise/records/ex_stat.h"

namespace Core {

using ExStatSet =
    MultiIndexed<ExStat, OrderByMember<&ExStat::Id>, OrderByMember<&ExStat::ExerciseId>,
                 OrderByMember2<&ExStat::ExerciseId, &ExStat::SectionIndex>>;

namespace ExStatIndex {
constexpr std::size_t ById = 0;
constexpr std::size_t ByExercise = 1;
constexpr std::size_t ByExerciseAndSection = 2;
}  // namespace ExStatIndex

}  // namespace Core
