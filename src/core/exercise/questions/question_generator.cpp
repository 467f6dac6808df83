#include "src/core/exercise/questions/question_generator.h"

#include <algorithm>
#include <cstdint>
#include <numeric>
#include <utility>

#include "src/common/assertion.h"
#include "src/core/exercise/questions/random_draws.h"

namespace Core {

namespace {

constexpr std::size_t VariantCount = 6;

// Redraws are bounded so that no pool, provider or settings can keep generation going forever.
// The bounds are far above what a pool with answers to spare ever needs, so they change no
// outcome there; past them, generation fills the list as well as the pool allows.
constexpr int PositionRedraws = 64;
constexpr int SimilarTries = 64;
constexpr int RandomTries = 256;

constexpr std::uint64_t WordRange = 4294967295u;

// Redraws `position` until it differs from the taken positions; after the bound it becomes the
// first free position.
template <class Taken>
unsigned int RedrawUntilFree(unsigned int position, Taken taken) {
  for (int redraw = 0; taken(position) && redraw < PositionRedraws; ++redraw)
    position = DrawVariantPosition();
  for (unsigned int free = 0; taken(position); ++free) position = free;
  return position;
}

}  // namespace

QuestionGenerator::QuestionGenerator(unsigned long poolSize, QValidator* validator,
                                     QVariantProvider* provider)
    : m_poolSize(poolSize), m_validator(validator), m_provider(provider) {
  MELVARIN_ASSERT(poolSize > 0);
  MELVARIN_ASSERT(validator != nullptr);
}

int QuestionGenerator::Generate(std::vector<int>& variants) {
  std::vector<int> ids(m_poolSize);
  std::iota(ids.begin(), ids.end(), 0);
  int question = -1;
  for (unsigned long i = 0; i < m_poolSize; ++i) {
    const unsigned long j = i + DrawIndexBelow(m_poolSize - i);
    if (m_validator->Validate(static_cast<unsigned long>(ids[j]))) {
      question = ids[j];
      break;
    }
    std::swap(ids[i], ids[j]);
  }
  if (question < 0) question = ids[0];  // nothing accepted: the first id tried
  return FillVariants(question, variants);
}

unsigned int QuestionGenerator::Weight(int correct, int wrong) {
  std::int64_t weight = 100;
  if (correct != 0)
    weight = static_cast<std::int64_t>(wrong) * 100 / correct;
  else if (wrong != 0)
    weight = 200;
  return static_cast<unsigned int>(std::clamp<std::int64_t>(weight, 50, 200));
}

int QuestionGenerator::GenerateByStatistics(std::vector<int>& variants,
                                            const std::vector<ExStat>& stats) {
  std::vector<std::pair<unsigned long, unsigned int>> kept;
  std::uint64_t total = 0;
  auto record = stats.begin();
  for (unsigned long id = 0; id < m_poolSize; ++id) {
    // Records of ids outside the pool, and repeated records of one id (a statistics file may hold
    // them), must not stall the walk: lower ids are passed over, repeats add up.
    while (record != stats.end() && record->Id < static_cast<long>(id)) ++record;
    unsigned int weight = 100;
    if (record != stats.end() && record->Id == static_cast<long>(id)) {
      std::int64_t correct = 0, wrong = 0;
      for (; record != stats.end() && record->Id == static_cast<long>(id); ++record) {
        correct += record->Correct;
        wrong += record->Wrong;
      }
      weight = Weight(static_cast<int>(std::clamp<std::int64_t>(correct, INT32_MIN, INT32_MAX)),
                      static_cast<int>(std::clamp<std::int64_t>(wrong, INT32_MIN, INT32_MAX)));
    }
    if (m_validator->Validate(id)) {
      kept.emplace_back(id, weight);
      total += weight;
    }
  }

  int question = -1;
  if (kept.empty()) {
    // Nothing accepted: as the uniform pick would, take the first id it would try.
    question = static_cast<int>(DrawIndexBelow(m_poolSize));
  } else {
    const std::uint64_t target = static_cast<std::uint64_t>(DrawWord32()) * total / WordRange;
    std::uint64_t sum = 0;
    for (const auto& [id, weight] : kept) {
      sum += weight;
      if (sum >= target) {
        question = static_cast<int>(id);
        break;
      }
    }
  }
  return FillVariants(question, variants);
}

int QuestionGenerator::FillVariants(int correct, std::vector<int>& variants) {
  // All three positions are drawn before any redraw.
  const unsigned int p = DrawVariantPosition();
  unsigned int a = DrawVariantPosition();
  unsigned int b = DrawVariantPosition();
  a = RedrawUntilFree(a, [&](unsigned int x) { return x == p; });
  b = RedrawUntilFree(b, [&](unsigned int x) { return x == a || x == p; });

  if (variants.size() >= VariantCount) return static_cast<int>(p);

  while (variants.size() < VariantCount) {
    const std::size_t s = variants.size();
    if (s == p)
      variants.push_back(correct);
    else
      variants.push_back(DrawWrongVariant(correct, s == a || s == b, variants));
  }
  return static_cast<int>(p);
}

bool QuestionGenerator::SameAnswer(int a, int b) const {
  if (m_provider)
    return m_provider->CompareVariants(static_cast<unsigned long>(a),
                                       static_cast<unsigned long>(b));
  return a == b;
}

bool QuestionGenerator::IsTaken(int candidate, int correct,
                                const std::vector<int>& variants) const {
  if (candidate == correct || SameAnswer(candidate, correct)) return true;
  return std::any_of(variants.begin(), variants.end(),
                     [&](int taken) { return SameAnswer(candidate, taken); });
}

int QuestionGenerator::DrawWrongVariant(int correct, bool similar,
                                        const std::vector<int>& variants) {
  for (int attempt = 0; attempt < SimilarTries + RandomTries; ++attempt) {
    int candidate = static_cast<int>(DrawIndexBelow(m_poolSize));
    // A provider that keeps offering taken answers (a root key with only two entries) gives way
    // to plain random candidates after a while.
    if (similar && m_provider && attempt < SimilarTries)
      m_provider->ProvideSimilarVariant(static_cast<unsigned long>(correct), candidate);
    if (!IsTaken(candidate, correct, variants)) return candidate;
  }
  // Random draws keep missing: take the first fresh answer of the pool, if it has one.
  for (unsigned long id = 0; id < m_poolSize; ++id)
    if (!IsTaken(static_cast<int>(id), correct, variants)) return static_cast<int>(id);
  // The pool has no further answer: repeat a wrong one, or the correct one when there is none.
  for (int taken : variants)
    if (!SameAnswer(taken, correct)) return taken;
  return correct;
}

}  // namespace Core
