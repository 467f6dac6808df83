#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <functional>
#include <set>

#include "src/core/exercise/questions/question_generator.h"

namespace Core {
namespace {

class FnValidator : public QValidator {
 public:
  explicit FnValidator(std::function<bool(unsigned long)> fn) : m_fn(std::move(fn)) {}
  bool Validate(unsigned long id) override { return m_fn(id); }

 private:
  std::function<bool(unsigned long)> m_fn;
};

FnValidator AcceptAll([](unsigned long) { return true; });

// The draws the generator is expected to take, replayed from the same seed.
unsigned long IndexBelow(unsigned long n) {
  const std::uint64_t index = static_cast<std::uint64_t>(std::rand()) * n / 2147483647u;
  return index >= n ? n - 1 : static_cast<unsigned long>(index);
}
std::uint64_t Word() {
  std::uint64_t word = 0;
  for (int byte = 0; byte < 4; ++byte)
    word |= static_cast<std::uint64_t>(std::rand() % 256) << (8 * byte);
  return word;
}

void ExpectSixDistinct(const std::vector<int>& variants, int position, int correct) {
  ASSERT_EQ(variants.size(), 6u);
  ASSERT_GE(position, 0);
  ASSERT_LT(position, 6);
  EXPECT_EQ(variants[static_cast<std::size_t>(position)], correct);
  EXPECT_EQ(std::set<int>(variants.begin(), variants.end()).size(), 6u);
}

TEST(QuestionGenerator, WeightsFollowTheRatioOfWrongToRightAnswers) {
  EXPECT_EQ(QuestionGenerator::Weight(0, 0), 100u);  // never met
  EXPECT_EQ(QuestionGenerator::Weight(0, 3), 200u);  // only missed
  EXPECT_EQ(QuestionGenerator::Weight(4, 1), 50u);   // 25, clamped
  EXPECT_EQ(QuestionGenerator::Weight(3, 0), 50u);   // only right
  EXPECT_EQ(QuestionGenerator::Weight(2, 2), 100u);
  EXPECT_EQ(QuestionGenerator::Weight(2, 3), 150u);
  EXPECT_EQ(QuestionGenerator::Weight(1, 2), 200u);
  EXPECT_EQ(QuestionGenerator::Weight(1, 1000000000), 200u);  // no overflow
  EXPECT_EQ(QuestionGenerator::Weight(-1, 5), 50u);           // damaged counts
}

TEST(QuestionGenerator, UniformPickTakesTheFirstAcceptedDraw) {
  for (unsigned seed = 1; seed <= 20; ++seed) {
    std::srand(seed);
    const unsigned long question = IndexBelow(100);
    const int position = std::rand() % 6;

    std::srand(seed);
    std::vector<int> variants;
    QuestionGenerator generator(100, &AcceptAll, nullptr);
    EXPECT_EQ(generator.Generate(variants), position);
    ExpectSixDistinct(variants, position, static_cast<int>(question));
  }
}

TEST(QuestionGenerator, UniformPickSkipsRejectedIds) {
  FnValidator onlySeven([](unsigned long id) { return id == 7; });
  QuestionGenerator generator(50, &onlySeven, nullptr);
  for (unsigned seed = 1; seed <= 20; ++seed) {
    std::srand(seed);
    std::vector<int> variants;
    const int position = generator.Generate(variants);
    ExpectSixDistinct(variants, position, 7);
  }
}

TEST(QuestionGenerator, WeightedPickWalksTheWeightsToA64BitTarget) {
  // Ids 2 and 3 are allowed. Id 2 has two records that add up to 1 right and 2 wrong (200);
  // id 3 was mostly right (50). A record of an id outside the pool must not stall the walk.
  FnValidator twoAndThree([](unsigned long id) { return id == 2 || id == 3; });
  const std::vector<ExStat> stats = {
      {-4, 0, 0, 0, 9}, {2, 0, 0, 1, 0}, {2, 0, 0, 0, 2}, {3, 0, 0, 4, 1}};
  QuestionGenerator generator(5, &twoAndThree, nullptr);
  int picked[4] = {};
  for (unsigned seed = 1; seed <= 200; ++seed) {
    std::srand(seed);
    const std::uint64_t target = Word() * 250 / 4294967295u;
    const int question = target <= 200 ? 2 : 3;
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

TEST(QuestionGenerator, WeightedPickPrefersMissedQuestions) {
  // Id 5 only missed (200), id 9 only right (50), every other id 100 but not allowed.
  FnValidator fiveAndNine([](unsigned long id) { return id == 5 || id == 9; });
  const std::vector<ExStat> stats = {{5, 1, 0, 0, 3}, {9, 1, 0, 6, 0}};
  QuestionGenerator generator(20, &fiveAndNine, nullptr);
  std::srand(11);
  int fives = 0;
  const int rounds = 4000;
  for (int round = 0; round < rounds; ++round) {
    std::vector<int> variants;
    const int position = generator.GenerateByStatistics(variants, stats);
    if (variants[static_cast<std::size_t>(position)] == 5) ++fives;
  }
  EXPECT_NEAR(static_cast<double>(fives) / rounds, 0.8, 0.03);
}

TEST(QuestionGenerator, NothingAllowedStillGivesAQuestionOfThePool) {
  FnValidator nothing([](unsigned long) { return false; });
  QuestionGenerator generator(30, &nothing, nullptr);
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

TEST(QuestionGenerator, SameSeedSameQuestions) {
  FnValidator even([](unsigned long id) { return id % 2 == 0; });
  QuestionGenerator generator(500, &even, nullptr);
  const std::vector<ExStat> stats = {{4, 0, 0, 0, 1}, {100, 0, 0, 5, 0}};
  auto run = [&] {
    std::srand(1234);
    std::vector<std::vector<int>> questions;
    for (int i = 0; i < 50; ++i) {
      std::vector<int> variants;
      variants.push_back(i % 2 ? generator.Generate(variants)
                               : generator.GenerateByStatistics(variants, stats));
      questions.push_back(variants);
    }
    return questions;
  };
  EXPECT_EQ(run(), run());
}

TEST(QuestionGenerator, AFullListIsLeftAlone) {
  QuestionGenerator generator(100, &AcceptAll, nullptr);
  std::srand(3);
  const int expected = std::rand() % 6;
  std::srand(3);
  std::vector<int> variants = {9, 9, 9, 9, 9, 9};
  EXPECT_EQ(generator.FillVariants(1, variants), expected);
  EXPECT_EQ(variants, (std::vector<int>{9, 9, 9, 9, 9, 9}));
}

TEST(QuestionGenerator, PoolsWithFewerThanSixAnswersFillAsWellAsTheyCan) {
  for (unsigned long size : {1ul, 2ul, 3ul, 5ul, 6ul}) {
    QuestionGenerator generator(size, &AcceptAll, nullptr);
    for (unsigned seed = 1; seed <= 10; ++seed) {
      std::srand(seed);
      std::vector<int> variants;
      const int position = generator.Generate(variants);
      ASSERT_EQ(variants.size(), 6u);
      const int correct = variants[static_cast<std::size_t>(position)];
      const std::set<int> distinct(variants.begin(), variants.end());
      EXPECT_EQ(distinct.size(), size) << "every answer of the pool is offered";
      for (std::size_t i = 0; i < 6; ++i) {
        EXPECT_LT(variants[i], static_cast<int>(size));
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

TEST(QuestionGenerator, AProviderWithoutFreshAnswersGivesWayToRandomOnes) {
  StubbornProvider provider;
  QuestionGenerator generator(40, &AcceptAll, &provider);
  for (unsigned seed = 1; seed <= 20; ++seed) {
    std::srand(seed);
    std::vector<int> variants;
    const int position = generator.Generate(variants);
    ExpectSixDistinct(variants, position, variants[static_cast<std::size_t>(position)]);
  }
  EXPECT_GT(provider.offers, 0);
}

// Every id is the same answer.
class OneAnswerProvider : public QVariantProvider {
 public:
  bool ProvideSimilarVariant(unsigned long, int&) override { return false; }
  bool CompareVariants(unsigned long, unsigned long) override { return true; }
};

TEST(QuestionGenerator, APoolOfOneAnswerStillEnds) {
  OneAnswerProvider provider;
  QuestionGenerator generator(300, &AcceptAll, &provider);
  std::srand(5);
  std::vector<int> variants;
  const int position = generator.Generate(variants);
  ASSERT_EQ(variants.size(), 6u);
  for (int id : variants) EXPECT_EQ(id, variants[static_cast<std::size_t>(position)]);
}

TEST(QuestionGeneratorDeathTest, AnEmptyPoolIsAProgrammingError) {
  EXPECT_DEATH(QuestionGenerator(0, &AcceptAll, nullptr), "poolSize > 0");
}

}  // namespace
}  // namespace Core
