#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <functional>
#include <numeric>
#include <set>

#include "fn_validator.h"
#include "src/core/exercise/questions/question_generator.h"

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

// The uniform pick and the variant filling replayed draw by draw from the C generator: the shuffle
// that passes over rejected ids, the three positions drawn before any redraw, and a similar
// candidate drawn after the random one it replaces. Any change in the order or arithmetic of the
// draws changes the questions a seed gives.
int ReplayQuestion(unsigned long n, const std::function<bool(unsigned long)>& accepts,
                   std::vector<int>& variants) {
  std::vector<int> ids(n);
  std::iota(ids.begin(), ids.end(), 0);
  int correct = -1;
  for (unsigned long i = 0; i < n && correct < 0; ++i) {
    const unsigned long j = i + IndexBelow(n - i);
    if (accepts(static_cast<unsigned long>(ids[j])))
      correct = ids[j];
    else
      std::swap(ids[i], ids[j]);
  }
  if (correct < 0) correct = ids[0];

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
    const int position = ReplayQuestion(
        IntervalPoolSize, [&](unsigned long id) { return validator.Validate(id); }, expected);

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
    std::uint64_t word = 0;  // four draws, lowest byte first
    for (int byte = 0; byte < 4; ++byte)
      word |= static_cast<std::uint64_t>(std::rand() % 256) << (8 * byte);
    const int question = word * 250 / 4294967295u <= 200 ? 2 : 3;
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

}  // namespace
}  // namespace Core
