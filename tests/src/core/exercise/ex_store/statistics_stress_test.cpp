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
  constexpr int AnswersPerWriter = 2000;
  constexpr int Questions = 100;  // new records keep arriving: appends and index rebuilds
  std::atomic<int> started = 0;
  std::atomic<bool> writing = true;
  std::atomic<int> queries = 0;
  std::atomic<int> saves = 0;
  auto startTogether = [&started] {
    ++started;
    while (started < Writers + 3) std::this_thread::yield();
  };

  std::vector<std::thread> threads;
  for (int w = 0; w < Writers; ++w) {
    threads.emplace_back([&, w] {
      startTogether();
      for (int i = 0; i < AnswersPerWriter; ++i) {
        // Halfway, wait until a query and a save have run, so they surely meet the writers even
        // when the scheduler lets a writer finish before the others start.
        if (i == AnswersPerWriter / 2)
          while (queries == 0 || saves == 0) std::this_thread::yield();
        const bool right = (i + w) % 3 != 0;
        stats.AddEntry({i % Questions, w, i % 4, right ? 1 : 0, right ? 0 : 1});
      }
    });
  }
  threads.emplace_back([&] {
    startTogether();
    for (int n = 0; writing; ++n) {
      std::vector<ExStat> out;
      stats.GetTotalSummary(n % Writers, out);
      stats.GetTotalSummary(n % Writers, n % 4, out);
      ++queries;
    }
  });
  threads.emplace_back([&] {
    startTogether();
    for (int n = 0; writing; ++n) {
      std::vector<ExStat> out;
      stats.GetLocalSummary(n % Writers, out);
      stats.GetLocalSummary(n % Writers, n % 4, out);
    }
  });
  threads.emplace_back([&] {
    startTogether();
    // A handful of saves spread over the run: each holds the lock for a while.
    while (writing && saves < 25) {
      stats.Save();
      ++saves;
      std::this_thread::yield();
    }
  });
  for (int w = 0; w < Writers; ++w) threads[w].join();
  writing = false;
  for (std::size_t t = Writers; t < threads.size(); ++t) threads[t].join();
  EXPECT_GT(queries.load(), 0);
  EXPECT_GT(saves.load(), 0);

  for (int w = 0; w < Writers; ++w) {
    std::vector<ExStat> totals;
    std::vector<ExStat> locals;
    stats.GetTotalSummary(w, totals);
    stats.GetLocalSummary(w, locals);
    EXPECT_EQ(SumOfCounts(totals), AnswersPerWriter);
    EXPECT_EQ(SumOfCounts(locals), AnswersPerWriter);
    // One record per question: 4 divides 100, so each question always has the same section.
    EXPECT_EQ(totals.size(), static_cast<std::size_t>(Questions));
  }

  // What the last save wrote is what the next run reads.
  stats.Save();
  Core::ExerciseStatistics reread(total, local);
  std::vector<ExStat> totals;
  reread.GetTotalSummary(1, totals);
  EXPECT_EQ(SumOfCounts(totals), AnswersPerWriter);
}

}  // namespace
