// Parse plus automatic passes of the texts the trainer shows: one question, and a long piece;
// beside the long piece its floor, the text read once word by word with every number in it
// read, which any parse of it does at least.
#include <benchmark/benchmark.h>

#include <cctype>
#include <cstdlib>
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

void BM_HundredMeasuresTwoStavesReadFloor(benchmark::State& state) {
  const std::string text = SampleScores::HundredMeasures();
  for (auto _ : state) {
    long words = 0;
    long numbers = 0;
    for (char const* at = text.c_str(); *at;) {
      if (std::isspace(static_cast<unsigned char>(*at))) {
        ++at;
        continue;
      }
      ++words;
      while (*at && !std::isspace(static_cast<unsigned char>(*at))) {
        if (std::isdigit(static_cast<unsigned char>(*at))) {
          char* end = nullptr;
          numbers += std::strtol(at, &end, 10);
          at = end;
        } else {
          ++at;
        }
      }
    }
    benchmark::DoNotOptimize(words);
    benchmark::DoNotOptimize(numbers);
  }
}
BENCHMARK(BM_HundredMeasuresTwoStavesReadFloor)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly();

}  // namespace

BENCHMARK_MAIN();
