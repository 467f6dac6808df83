// Answers arriving on several threads while others query and save: nothing is lost and (under
// ThreadSanitizer) nothing races.

#include <gtest/gtest.h>

#include "src/core/exercise/ex_store/exercise_statistics.h"
#include "support/temp_environment.h"

#include <atomic>
#include <thread>
#include <vector>

namespace {

using Core::ExStat;

int SumOfCounts(const std::vector<ExStat>& records) {
  int sum = 0;
  for (const ExStat& record : records) sum += record.Correct + record.Wrong;
  return sum;
}

TEST(ExerciseStatisticsStressTest, ConcurrentAnswersQueriesAndSavesLoseNothing) {
  Testing::TempEnvironment env;
  const QString total = env.DataHome() + "/stats.xml";
  const QString local = env.DataHome() + "/statsLocal.xml";
  Core::ExerciseStatistics stats(total, local);

  constexpr int Writers = 3;
  constexpr int AnswersPerWriter = 3000;
  std::atomic<bool> writing = true;
  std::atomic<int> queries = 0;
  std::atomic<int> saves = 0;

  std::vector<std::thread> threads;
  for (int w = 0; w < Writers; ++w) {
    threads.emplace_back([&stats, w] {
      for (int i = 0; i < AnswersPerWriter; ++i) {
        const bool right = (i + w) % 3 != 0;
        stats.AddEntry({i % 40, w, i % 5, right ? 1 : 0, right ? 0 : 1});
      }
    });
  }
  std::thread reader([&] {
    while (writing) {
      std::vector<ExStat> out;
      stats.GetLocalSummary(queries % Writers, queries % 5, out);
      stats.GetTotalSummary(queries % Writers, out);
      ++queries;
    }
  });
  std::thread saver([&] {
    while (writing) {
      stats.Save();
      ++saves;
    }
  });
  for (int w = 0; w < Writers; ++w) threads[w].join();
  writing = false;
  reader.join();
  saver.join();
  EXPECT_GT(queries.load(), 0);
  EXPECT_GT(saves.load(), 0);

  for (int w = 0; w < Writers; ++w) {
    std::vector<ExStat> totals;
    std::vector<ExStat> locals;
    stats.GetTotalSummary(w, totals);
    stats.GetLocalSummary(w, locals);
    EXPECT_EQ(SumOfCounts(totals), AnswersPerWriter);
    EXPECT_EQ(SumOfCounts(locals), AnswersPerWriter);
    EXPECT_EQ(totals.size(), 40u);  // 5 divides 40: each id always comes with the same section
  }

  // What the last save wrote is what the next run reads.
  stats.Save();
  Core::ExerciseStatistics reread(total, local);
  std::vector<ExStat> totals;
  reread.GetTotalSummary(1, totals);
  EXPECT_EQ(SumOfCounts(totals), AnswersPerWriter);
}

}  // namespace
