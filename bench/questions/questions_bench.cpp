// Time to prepare questions with weighting by the lesson's results: one question of each kind
// (notes, interval, chord, scale, tempo) per iteration, and each kind alone. Pools are built
// before timing, as they are once per process in the program; each question asks its kind's list
// of allowed ids for the settings, as a trainer does, and the list is built in the first
// question. Report the median:
//   bench_questions --benchmark_repetitions=15 --benchmark_report_aggregates_only=true
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <functional>

#include "src/core/exercise/questions/question_choice.h"
#include "src/core/exercise/questions/tempo_pool.h"

namespace {

using namespace Core;

struct Kind {
  std::function<const AllowedIds&()> allowed;
  QVariantProvider* provider;
  std::vector<ExStat> records;
};

// A lesson in progress: a quarter of the pool answered, some of it wrongly.
std::vector<ExStat> LessonRecords(unsigned long poolSize) {
  std::vector<ExStat> records;
  for (unsigned long id = 0; id < poolSize; id += 4)
    records.push_back({static_cast<int>(id), 1, 0, std::rand() % 3, std::rand() % 3});
  return records;
}

struct Setup {
  Setup() {
    std::srand(1);
    GenerateTempoPool(tempoPool);
    Add(GetNotesPoolSharp().size(), notes, settings.singleNotes.diapason, nullptr);
    Add(GetIntervalPool().size(), intervals, settings.interval, &IntervalRootNoteProvider);
    Add(GetChordPool().size(), chords, settings.chord, &ChordRootNoteProvider);
    Add(GetScalePool().size(), scales, settings.scales, &ScaleRootNoteProvider);
    Add(tempoPool.size(), tempos, settings.tempo, &TempoVariantProvider);
  }

  template <class Cache, class Settings>
  void Add(unsigned long poolSize, Cache& cache, const Settings& section,
           QVariantProvider* provider) {
    auto allowed = [&cache, &section, poolSize]() -> const AllowedIds& {
      return cache.Get(poolSize, section);
    };
    kinds.push_back({allowed, provider, LessonRecords(poolSize)});
  }

  EarTrainerSettings settings;
  NoteIdsCache notes;
  IntervalIdsCache intervals;
  ChordIdsCache chords;
  ScaleIdsCache scales;
  TempoIdsCache tempos;
  std::vector<QuestionTempoData> tempoPool;
  std::vector<Kind> kinds;
};

Setup& Shared() {
  static Setup setup;
  return setup;
}

int Generate(Kind& kind, int& last) {
  std::vector<int> ids;
  const int position =
      GenerateQuestionData(kind.allowed(), ids, kind.provider, &kind.records, last);
  return ids[static_cast<std::size_t>(position)];
}

void BM_OneQuestionOfEachKind(benchmark::State& state) {
  Setup& setup = Shared();
  int last[5] = {-1, -1, -1, -1, -1};
  for (auto _ : state) {
    for (std::size_t k = 0; k < setup.kinds.size(); ++k)
      benchmark::DoNotOptimize(Generate(setup.kinds[k], last[k]));
  }
}
BENCHMARK(BM_OneQuestionOfEachKind)->Unit(benchmark::kMicrosecond);

void BM_OneQuestion(benchmark::State& state) {
  Kind& kind = Shared().kinds[static_cast<std::size_t>(state.range(0))];
  int last = -1;
  for (auto _ : state) benchmark::DoNotOptimize(Generate(kind, last));
  static const char* const names[] = {"notes", "interval", "chord", "scale", "tempo"};
  state.SetLabel(names[state.range(0)]);
}
BENCHMARK(BM_OneQuestion)->DenseRange(0, 4)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
