// Parse plus layout (no drawing) of the texts the trainer shows: one question, and a long piece.
#include <benchmark/benchmark.h>

#include <string>

#include "GRMusic.h"
#include "parse_music.h"
#include "tests/lib-score-engine/sample_scores.h"
#include "tools/layout/offline_engine.h"

namespace {

void ParseAndLayOut(benchmark::State& state, std::string const& text) {
  Layout::OfflineEngine engine;
  for (auto _ : state) {
    ParsedMusic parsed = ParseMusicText(text.c_str());
    if (parsed.result != 0) {
      state.SkipWithError("parse failed");
      break;
    }
    GRMusic layout(parsed.music.get(), nullptr);
    benchmark::DoNotOptimize(layout.getNumPages());
  }
}

void BM_LayoutQuestionScore(benchmark::State& state) {
  ParseAndLayOut(state, SampleScores::QuestionScore());
}
BENCHMARK(BM_LayoutQuestionScore)
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly();

void BM_LayoutHundredMeasuresTwoStaves(benchmark::State& state) {
  ParseAndLayOut(state, SampleScores::HundredMeasures());
}
BENCHMARK(BM_LayoutHundredMeasuresTwoStaves)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly();

}  // namespace

BENCHMARK_MAIN();
