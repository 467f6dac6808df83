#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <numeric>
#include <random>
#include <set>
#include <vector>

#include "fn_validator.h"
#include "src/core/exercise/questions/question_generator.h"
#include "src/core/exercise/questions/question_shapes.h"

namespace Core {
namespace {

bool AcceptAll(unsigned long) {
  return true;
}

// The draws the generator is expected to take, replayed from the same seed.
unsigned long IndexBelow(unsigned long n) {
  const std::uint64_t index = static_cast<std::uint64_t>(std::rand()) * n / 2147483647u;
  return index >= n ? n - 1 : static_cast<unsigned long>(index);
}

std::uint64_t Word32() {
  std::uint64_t word = 0;  // four draws, lowest byte first
  for (int byte = 0; byte < 4; ++byte)
    word |= static_cast<std::uint64_t>(std::rand() % 256) << (8 * byte);
  return word;
}

// The pick as it was before the allowed-id lists, asking the validator about every pool id for
// every question, with the draws replayed: the shuffle that passes over rejected ids, or the
// weights walked to a target of four byte draws.
int FormerPick(unsigned long n, QValidator& validator, const std::vector<ExStat>* stats) {
  if (stats == nullptr) {
    std::vector<int> ids(n);
    std::iota(ids.begin(), ids.end(), 0);
    for (unsigned long i = 0; i < n; ++i) {
      const unsigned long j = i + IndexBelow(n - i);
      if (validator.Validate(static_cast<unsigned long>(ids[j]))) return ids[j];
      std::swap(ids[i], ids[j]);
    }
    return ids[0];
  }
  std::vector<std::pair<int, unsigned int>> kept;
  std::uint64_t total = 0;
  auto record = stats->begin();
  for (int id = 0; id < static_cast<int>(n); ++id) {
    while (record != stats->end() && record->Id < id) ++record;
    int correct = 0, wrong = 0;
    for (; record != stats->end() && record->Id == id; ++record) {
      correct += record->Correct;
      wrong += record->Wrong;
    }
    if (!validator.Validate(static_cast<unsigned long>(id))) continue;
    kept.emplace_back(id, QuestionGenerator::Weight(correct, wrong));
    total += kept.back().second;
  }
  if (kept.empty()) return static_cast<int>(IndexBelow(n));
  const std::uint64_t target = Word32() * total / 4294967295u;
  std::uint64_t sum = 0;
  for (const auto& [id, weight] : kept)
    if ((sum += weight) >= target) return id;
  return -1;
}

void ExpectSixDistinct(const std::vector<int>& variants, int position, int correct) {
  ASSERT_EQ(variants.size(), 6u);
  ASSERT_TRUE(position >= 0 && position < 6);
  EXPECT_EQ(variants[static_cast<std::size_t>(position)], correct);
  EXPECT_EQ(std::set<int>(variants.begin(), variants.end()).size(), 6u);
}

TEST(QuestionGenerator, WeightsFollowTheRatioOfWrongToRightAnswers) {
  EXPECT_EQ(QuestionGenerator::Weight(0, 0), 100u);  // never met
  EXPECT_EQ(QuestionGenerator::Weight(0, 3), 200u);  // only missed
  EXPECT_EQ(QuestionGenerator::Weight(4, 1), 50u);   // 25, clamped
  EXPECT_EQ(QuestionGenerator::Weight(2, 3), 150u);
  EXPECT_EQ(QuestionGenerator::Weight(1, 2), 200u);
  EXPECT_EQ(QuestionGenerator::Weight(1, 1000000000), 200u);  // no overflow
  EXPECT_EQ(QuestionGenerator::Weight(-1, 5), 50u);           // damaged counts
}

// The uniform pick and the variant filling replayed draw by draw from the C generator: the three
// positions drawn before any redraw, and a similar candidate drawn after the random one it
// replaces. Any change in the order or arithmetic of the draws changes the questions a seed gives.
int ReplayQuestion(unsigned long n, QValidator& validator, std::vector<int>& variants) {
  const int correct = FormerPick(n, validator, nullptr);

  const int p = std::rand() % 6;
  int a = std::rand() % 6;
  int b = std::rand() % 6;
  while (a == p) a = std::rand() % 6;
  while (b == a || b == p) b = std::rand() % 6;
  const std::vector<int>& similar =
      IntervalQuestionsByRootNote[GetIntervalPool()[static_cast<std::size_t>(correct)].Root];
  while (variants.size() < 6) {
    const int s = static_cast<int>(variants.size());
    if (s == p) {
      variants.push_back(correct);
      continue;
    }
    int candidate = correct;
    while (candidate == correct ||
           std::find(variants.begin(), variants.end(), candidate) != variants.end()) {
      candidate = static_cast<int>(IndexBelow(n));
      if (s == a || s == b)
        candidate = similar[static_cast<std::size_t>(std::rand()) % similar.size()];
    }
    variants.push_back(candidate);
  }
  return p;
}

TEST(QuestionGenerator, SameSeedGivesTheSameQuestionsDrawForDraw) {
  // Minor thirds on four roots in the middle of the keyboard: the shuffle passes over hundreds of
  // rejected ids, and every root has more similar intervals than a question needs.
  IntervalSettings settings;
  settings.intervalStart = settings.intervalEnd = 3;
  settings.diapason = {40, 44, {true, true}};
  IntervalValidator validator(&settings);
  const AllowedIds allowed(IntervalPoolSize, validator);
  QuestionGenerator generator(allowed, &IntervalRootNoteProvider);
  for (unsigned seed = 1; seed <= 100; ++seed) {
    std::srand(seed);
    std::vector<int> expected;
    const int position = ReplayQuestion(IntervalPoolSize, validator, expected);

    std::srand(seed);
    std::vector<int> variants;
    ASSERT_EQ(generator.Generate(variants), position) << seed;
    ASSERT_EQ(variants, expected) << seed;
    ExpectSixDistinct(variants, position, expected[static_cast<std::size_t>(position)]);
  }
}

TEST(QuestionGenerator, WeightedPickWalksTheWeightsToA64BitTarget) {
  // Ids 2 and 3 are allowed. Id 2 has two records that add up to 1 right and 2 wrong (200);
  // id 3 was mostly right (50). A record of an id outside the pool must not stall the walk.
  const AllowedIds twoAndThree = AllowedBy(5, [](unsigned long id) { return id == 2 || id == 3; });
  const std::vector<ExStat> stats = {
      {-4, 0, 0, 0, 9}, {2, 0, 0, 1, 0}, {2, 0, 0, 0, 2}, {3, 0, 0, 4, 1}};
  QuestionGenerator generator(twoAndThree, nullptr);
  int picked[4] = {};
  for (unsigned seed = 1; seed <= 200; ++seed) {
    std::srand(seed);
    const int question = Word32() * 250 / 4294967295u <= 200 ? 2 : 3;
    const int position = std::rand() % 6;

    std::srand(seed);
    std::vector<int> variants;
    ASSERT_EQ(generator.GenerateByStatistics(variants, stats), position);
    ASSERT_EQ(variants[static_cast<std::size_t>(position)], question) << seed;
    ++picked[question];
  }
  EXPECT_GT(picked[3], 0);
  EXPECT_GT(picked[2], 3 * picked[3]);
}

TEST(QuestionGenerator, NothingAllowedStillGivesAQuestionOfThePool) {
  const AllowedIds nothing = AllowedBy(30, [](unsigned long) { return false; });
  QuestionGenerator generator(nothing, nullptr);
  for (unsigned seed = 1; seed <= 20; ++seed) {
    std::srand(seed);
    const unsigned long firstTried = IndexBelow(30);
    for (bool weighted : {false, true}) {
      std::srand(seed);
      std::vector<int> variants;
      const int position =
          weighted ? generator.GenerateByStatistics(variants, {}) : generator.Generate(variants);
      ExpectSixDistinct(variants, position, static_cast<int>(firstTried));
    }
  }
}

TEST(QuestionGenerator, PoolsWithFewerThanSixAnswersFillAsWellAsTheyCan) {
  for (unsigned long size : {1ul, 2ul, 3ul, 5ul, 6ul}) {
    const AllowedIds all = AllowedBy(size, AcceptAll);
    QuestionGenerator generator(all, nullptr);
    for (unsigned seed = 1; seed <= 10; ++seed) {
      std::srand(seed);
      std::vector<int> variants;
      const int position = generator.Generate(variants);
      ASSERT_EQ(variants.size(), 6u);
      const int correct = variants[static_cast<std::size_t>(position)];
      EXPECT_EQ(std::set<int>(variants.begin(), variants.end()).size(), size);
      for (std::size_t i = 0; i < 6; ++i) {
        EXPECT_LT(variants[i], static_cast<int>(size));
        // Repeats, when unavoidable, are of wrong answers, never a second correct button.
        if (size > 1 && i != static_cast<std::size_t>(position)) {
          EXPECT_NE(variants[i], correct);
        }
      }
    }
  }
}

// Offers the question itself as its only similar answer, forever.
class StubbornProvider : public QVariantProvider {
 public:
  bool ProvideSimilarVariant(unsigned long id, int& candidate) override {
    candidate = static_cast<int>(id);
    ++offers;
    return true;
  }
  int offers = 0;
};

// Every id is the same answer.
class OneAnswerProvider : public QVariantProvider {
 public:
  bool ProvideSimilarVariant(unsigned long, int&) override { return false; }
  bool CompareVariants(unsigned long, unsigned long) override { return true; }
};

TEST(QuestionGenerator, ProvidersThatCannotYieldNewAnswersDoNotStallGeneration) {
  StubbornProvider stubborn;
  const AllowedIds forty = AllowedBy(40, AcceptAll);
  QuestionGenerator generator(forty, &stubborn);
  std::srand(1);
  for (int round = 0; round < 20; ++round) {
    std::vector<int> variants;
    const int position = generator.Generate(variants);
    ExpectSixDistinct(variants, position, variants[static_cast<std::size_t>(position)]);
  }
  EXPECT_GT(stubborn.offers, 0);

  OneAnswerProvider oneAnswer;
  const AllowedIds many = AllowedBy(300, AcceptAll);
  QuestionGenerator sameAnswers(many, &oneAnswer);
  std::vector<int> variants;
  const int position = sameAnswers.Generate(variants);
  EXPECT_EQ(variants, std::vector<int>(6, variants[static_cast<std::size_t>(position)]));
}

using Walk = std::mt19937;

int Draw(Walk& walk, int lo, int hi) {
  return std::uniform_int_distribution<int>(lo, hi)(walk);
}

// A lesson's records, with repeats, ids outside the pool and, now and then, out of order.
std::vector<ExStat> Records(Walk& walk, int poolSize) {
  std::vector<ExStat> records(static_cast<std::size_t>(Draw(walk, 0, 40)));
  for (ExStat& r : records)
    r = {Draw(walk, -3, poolSize + 3), 0, 0, Draw(walk, 0, 4), Draw(walk, 0, 4)};
  if (Draw(walk, 0, 3) != 0) std::sort(records.begin(), records.end(), &ExStat::CompareById);
  return records;
}

void Step(NotesDiapason& range, Walk& walk) {
  const int pick = Draw(walk, 0, 3);
  if (pick < 2) {
    (pick == 0 ? range.minimum : range.maximum) = Draw(walk, -4, 92);
  } else {
    bool& allowed = pick == 2 ? range.chromatic.white : range.chromatic.black;
    allowed = !allowed;
  }
}

// Flips one flag of the record, or moves its range, or changes a value that selects nothing.
template <class Settings>
void Step(Settings& settings, Walk& walk, const std::vector<bool Settings::*>& flags) {
  const int n = static_cast<int>(flags.size());
  const int pick = Draw(walk, 0, n + 2);
  if (pick < n) {
    bool& flag = settings.*flags[static_cast<std::size_t>(pick)];
    flag = !flag;
  } else if (pick == n) {
    settings.duration.questions = Draw(walk, 0, 9);
  } else if constexpr (requires { settings.diapason; }) {
    Step(settings.diapason, walk);
  }
}

template <class Settings, bool (*Fn)(unsigned long, const Settings*), class StepFn>
void CompareOverAWalk(unsigned long poolSize, QVariantProvider* provider, StepFn step) {
  Walk walk(static_cast<unsigned>(poolSize));
  Settings settings;
  AllowedIdsCache<Settings, Fn> cache;
  for (int change = 0; change < 200; ++change) {
    step(settings, walk);
    SimpleValidator<Settings, Fn> validator(&settings);
    const std::vector<ExStat> records = Records(walk, static_cast<int>(poolSize));
    for (unsigned seed = 1; seed <= 4; ++seed) {
      for (const std::vector<ExStat>* stats :
           {&records, static_cast<decltype(&records)>(nullptr)}) {
        QuestionGenerator generator(cache.Get(poolSize, settings), provider);
        std::srand(seed);
        std::vector<int> expected;
        const int position =
            generator.FillVariants(FormerPick(poolSize, validator, stats), expected);
        const int nextDraw = std::rand();
        std::srand(seed);
        std::vector<int> variants;
        ASSERT_EQ(
            stats ? generator.GenerateByStatistics(variants, *stats) : generator.Generate(variants),
            position)
            << "change " << change << " seed " << seed;
        ASSERT_EQ(variants, expected) << "change " << change << " seed " << seed;
        ASSERT_EQ(std::rand(), nextDraw);
      }
    }
  }
}

// Questions picked among the allowed-id lists, kept while the settings stay the same, are those of
// the former pick, draw for draw, and leave the C generator in the same state. The settings take a
// random walk, one value at a time, so a value the lists overlook shows as a stale list.
TEST(QuestionGenerator, AllowedIdListsGiveTheQuestionsOfTheFormerPick) {
  using C = ChordSettings;
  static const std::vector<bool C::*> chordFlags = {
      &C::MajorTriad,        &C::MinorTriad,        &C::MajorSixth,      &C::MinorSixth,
      &C::MajorSeventh,      &C::MinorSeventh,      &C::DominantSeventh, &C::Suspended2,
      &C::Suspended4,        &C::SuspendedSixth2,   &C::SuspendedSixth4, &C::SuspendedSeventh2,
      &C::SuspendedSeventh4, &C::Augmented,         &C::AugmentedSixth,  &C::AugmentedSeventh,
      &C::Diminished,        &C::DiminishedSeventh, &C::FirstInversion,  &C::SecondInversion,
      &C::Arpeggiated};
  using S = ScalesSettings;
  static const std::vector<bool S::*> scaleFlags = {
      &S::NaturalMaj, &S::NaturalMin, &S::PentatonicMaj, &S::PentatonicMin,
      &S::Harmonic,   &S::MelodicMin, &S::Diminished,    &S::Blues,
      &S::Augmented,  &S::WholeTone,  &S::Ascending};
  using T = TempoSettings;
  static const std::vector<bool T::*> tempoFlags = {&T::Largo,       &T::Adagio,   &T::Andante,
                                                    &T::Allegro,     &T::Moderato, &T::Presto,
                                                    &T::Prestissimo, &T::Vivace};

  CompareOverAWalk<NotesDiapason, &ValidateNoteQuestion>(
      PianoKeyCount, nullptr, [](NotesDiapason& range, Walk& walk) { Step(range, walk); });
  CompareOverAWalk<IntervalSettings, &ValidateIntervalQuestion>(
      IntervalPoolSize, &IntervalRootNoteProvider, [](IntervalSettings& s, Walk& walk) {
        if (Draw(walk, 0, 2) == 0)
          (Draw(walk, 0, 1) ? s.intervalStart : s.intervalEnd) = Draw(walk, -2, 14);
        else
          Step<IntervalSettings>(s, walk, {});
      });
  CompareOverAWalk<ChordSettings, &ValidateChordQuestion>(
      ChordPoolSize, &ChordRootNoteProvider,
      [](ChordSettings& s, Walk& walk) { Step(s, walk, chordFlags); });
  CompareOverAWalk<ScalesSettings, &ValidateScaleQuestion>(
      ScalePoolSize, &ScaleRootNoteProvider,
      [](ScalesSettings& s, Walk& walk) { Step(s, walk, scaleFlags); });
  CompareOverAWalk<TempoSettings, &ValidateTempoQuestion>(
      TempoPoolSize, &TempoVariantProvider,
      [](TempoSettings& s, Walk& walk) { Step(s, walk, tempoFlags); });
}

}  // namespace
}  // namespace Core
