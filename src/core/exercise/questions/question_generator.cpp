#include "src/core/exercise/questions/question_generator.h"

#include <algorithm>
#include <cstdint>
#include <limits>
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

// The weight of an id without records.
constexpr std::uint64_t PlainWeight = 100;

// In a run of ids of plain weight whose running sum starts at `sum`, the offset of the id at
// which the sum reaches `target`.
std::size_t PlainStepsToReach(std::uint64_t sum, std::uint64_t target) {
  if (target <= sum) return 0;
  return static_cast<std::size_t>((target - sum + PlainWeight - 1) / PlainWeight - 1);
}

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

std::size_t QuestionGenerator::PositionReaching(std::uint64_t target,
                                                const std::vector<RecordedWeight>& recorded) const {
  // The running sum over the allowed ids in order, the first position at which it reaches the
  // target; target never exceeds the total, so one is found.
  std::uint64_t sum = 0;
  std::size_t next = 0;  // the first position not yet added
  for (const RecordedWeight& entry : recorded) {
    const std::size_t run = entry.position - next;  // plain ids before this one
    if (run > 0 && sum + PlainWeight * run >= target) return next + PlainStepsToReach(sum, target);
    sum += PlainWeight * run + entry.weight;
    if (sum >= target) return entry.position;
    next = entry.position + 1;
  }
  const std::size_t position = next + PlainStepsToReach(sum, target);
  MELVARIN_ASSERT(position < m_allowed.Ids().size());
  return position;
}

QuestionGenerator::QuestionGenerator(const AllowedIds& allowed, QVariantProvider* provider)
    : m_allowed(allowed), m_poolSize(allowed.PoolSize()), m_provider(provider) {
  MELVARIN_ASSERT(m_poolSize > 0);
}

int QuestionGenerator::Generate(std::vector<int>& variants) {
  std::vector<int> ids(m_poolSize);
  std::iota(ids.begin(), ids.end(), 0);
  int question = -1;
  for (unsigned long i = 0; i < m_poolSize; ++i) {
    const unsigned long j = i + DrawIndexBelow(m_poolSize - i);
    if (m_allowed.Contains(static_cast<unsigned long>(ids[j]))) {
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
  // Most allowed ids have no record and weigh 100: only the recorded ones are listed, and the
  // walk to the target crosses the runs of plain ids between them in one step each. Work thus
  // follows the lesson's records, not the size of the selection.
  std::vector<RecordedWeight> recorded;
  recorded.reserve(stats.size());
  std::uint64_t total = PlainWeight * m_allowed.Ids().size();
  long highest = std::numeric_limits<long>::min();
  for (auto record = stats.begin(); record != stats.end();) {
    const long id = record->Id;
    std::int64_t correct = 0, wrong = 0;
    for (; record != stats.end() && record->Id == id; ++record) {
      correct += record->Correct;
      wrong += record->Wrong;
    }
    // Repeated records of one id (a statistics file may hold them) add up. A record out of order
    // counts for nothing, as a walk through the pool that only moves on would pass it by.
    if (id <= highest) continue;
    highest = id;
    const std::size_t position =
        id < 0 ? AllowedIds::NotAllowed : m_allowed.PositionOf(static_cast<unsigned long>(id));
    if (position == AllowedIds::NotAllowed) continue;
    const unsigned int weight =
        Weight(static_cast<int>(std::clamp<std::int64_t>(correct, INT32_MIN, INT32_MAX)),
               static_cast<int>(std::clamp<std::int64_t>(wrong, INT32_MIN, INT32_MAX)));
    recorded.push_back({position, weight});
    total = total + weight - PlainWeight;
  }

  int question = -1;
  if (m_allowed.Ids().empty()) {
    // Nothing allowed: as the uniform pick would, take the first id it would try.
    question = static_cast<int>(DrawIndexBelow(m_poolSize));
  } else {
    const std::uint64_t target = static_cast<std::uint64_t>(DrawWord32()) * total / WordRange;
    question = static_cast<int>(m_allowed.Ids()[PositionReaching(target, recorded)]);
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
