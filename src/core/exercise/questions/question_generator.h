#pragma once

// Picks one question id from a pool and fills the six answer variants around it. The pick is
// uniform over the ids the settings allow, or weighted towards the questions the learner has
// missed; the wrong variants are drawn from the whole pool, some of them similar to the question
// when a provider offers such. All randomness comes from the C library generator, in a fixed
// order, so one seed gives one sequence of questions.

#include <cstddef>
#include <cstdint>
#include <vector>

#include "src/core/exercise/questions/allowed_ids.h"
#include "src/core/exercise/questions/variant_providers.h"
#include "src/core/exercise/records/ex_stat.h"

namespace Core {

class QuestionGenerator {
 public:
  // The pool must hold at least one entry. The allowed ids and the provider are not owned; the
  // provider may be null (plain equality then decides which variants are the same answer).
  QuestionGenerator(const AllowedIds& allowed, QVariantProvider* provider);

  // Each appends six variant ids to `variants` (empty on entry) and returns the position (0..5)
  // of the correct one. When the settings allow no id at all, the question is a uniformly drawn
  // id of the pool.
  int Generate(std::vector<int>& variants);
  // `stats`: the lesson's records of this exercise and section, sorted by ascending Id. A question
  // answered only right weighs 50, one never met or missed as often as answered right 100, one
  // missed twice as often as answered right or only missed 200.
  int GenerateByStatistics(std::vector<int>& variants, const std::vector<ExStat>& stats);

  // Draws the correct position, appends six distinct answers (as far as the pool has six to offer)
  // with `correct` at that position and returns it. Leaves a list that already holds six alone.
  int FillVariants(int correct, std::vector<int>& variants);

  // The weight of a record's counts, 50..200.
  static unsigned int Weight(int correct, int wrong);

 private:
  // An allowed id with records: its position in the allowed list and its weight.
  struct RecordedWeight {
    std::size_t position;
    unsigned int weight;
  };
  std::size_t PositionReaching(std::uint64_t target,
                               const std::vector<RecordedWeight>& recorded) const;
  bool SameAnswer(int a, int b) const;
  bool IsTaken(int candidate, int correct, const std::vector<int>& variants) const;
  int DrawWrongVariant(int correct, bool similar, const std::vector<int>& variants);

  const AllowedIds& m_allowed;
  unsigned long m_poolSize;
  QVariantProvider* m_provider;
};

}  // namespace Core
