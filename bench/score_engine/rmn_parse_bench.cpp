// Parse plus automatic passes of the texts the trainer shows: one question, and a long piece.
#include <benchmark/benchmark.h>

#include <string>

#include "parse_music.h"
#include "tests/lib-score-engine/sample_scores.h"

namespace {

void Parse(benchmark::State& state, std::string const& text) {
  for (auto _ : state) {
    ParsedMusic parsed = ParseMusicText(text.c_str());
    if (parsed.result != 0) state.SkipWithError("parse failed");
    benchmark::DoNotOptimize(parsed.music.get());
  }
}

void BM_QuestionScore(benchmark::State& state) {
  Parse(state, SampleScores::QuestionScore());
}
BENCHMARK(BM_QuestionScore)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly();

void BM_HundredMeasuresTwoStaves(benchmark::State& state) {
  Parse(state, SampleScores::HundredMeasures());
}
BENCHMARK(BM_HundredMeasuresTwoStaves)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly();

}  // namespace

BENCHMARK_MAIN();
