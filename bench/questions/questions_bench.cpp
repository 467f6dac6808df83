// Time to prepare questions with weighting by the lesson's results: one question of each kind
// (notes, interval, chord, scale, tempo) per iteration, and each kind alone. Pools are built
// before timing, as they are once per process in the program. Report the median:
//   bench_questions --benchmark_repetitions=15 --benchmark_report_aggregates_only=true
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdlib>

#include "src/core/exercise/questions/question_choice.h"
#include "src/core/exercise/questions/tempo_pool.h"

namespace {

using namespace Core;

struct Kind {
  unsigned long poolSize;
  QValidator* validator;
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
    kinds = {
        {GetNotesPoolSharp().size(), &noteValidator, nullptr, {}},
        {GetIntervalPool().size(), &intervalValidator, &IntervalRootNoteProvider, {}},
        {GetChordPool().size(), &chordValidator, &ChordRootNoteProvider, {}},
        {GetScalePool().size(), &scaleValidator, &ScaleRootNoteProvider, {}},
        {tempoPool.size(), &tempoValidator, &TempoVariantProvider, {}},
    };
    for (Kind& kind : kinds) kind.records = LessonRecords(kind.poolSize);
  }

  EarTrainerSettings settings;
  NoteValidator noteValidator{&settings.singleNotes.diapason};
  IntervalValidator intervalValidator{&settings.interval};
  ChordValidator chordValidator{&settings.chord};
  ScaleValidator scaleValidator{&settings.scales};
  TempoValidator tempoValidator{&settings.tempo};
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
      GenerateQuestionData(kind.poolSize, kind.validator, ids, kind.provider, &kind.records, last);
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
