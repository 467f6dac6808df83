// Parse plus layout (no drawing) of the texts the trainer shows, one question and a long piece;
// and plain music of growing length laid out and drawn.
#include <benchmark/benchmark.h>

#include <string>

#include "ARMusic.h"
#include "GRMusic.h"
#include "parse_music.h"
#include "tests/lib-score-engine/graphic/counting_device.h"
#include "tests/lib-score-engine/sample_scores.h"
#include "tools/layout/offline_engine.h"

namespace {

// Each round parses the text and lays it out as the engine does, then hands the layout to work.
void EachLaidOut(benchmark::State& state, std::string const& text, auto&& work) {
  for (auto _ : state) {
    ParsedMusic parsed = ParseMusicText(text.c_str());
    if (parsed.result != 0) {
      state.SkipWithError("parse failed");
      break;
    }
    GRMusic layout(parsed.music.get(), nullptr);
    work(layout);
  }
}

void ParseAndLayOut(benchmark::State& state, std::string const& text) {
  Layout::OfflineEngine engine;
  EachLaidOut(state, text, [](GRMusic& layout) { benchmark::DoNotOptimize(layout.getNumPages()); });
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

// The layout alone of the hundred measures, parsed once: a slower layout of ordinary music shows
// here undiluted by the parse.
void BM_LayOutHundredMeasuresParsedOnce(benchmark::State& state) {
  Layout::OfflineEngine engine;
  ParsedMusic parsed = ParseMusicText(SampleScores::HundredMeasures().c_str());
  if (parsed.result != 0) {
    state.SkipWithError("parse failed");
    return;
  }
  for (auto _ : state) {
    GRMusic layout(parsed.music.get(), nullptr);
    benchmark::DoNotOptimize(layout.getNumPages());
  }
}
BENCHMARK(BM_LayOutHundredMeasuresParsedOnce)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly();

// Plain two-staff music of 10 KB, 100 KB and 1 MB parsed, laid out and every page drawn (on a
// device that only counts), with the work limits out of the way: the time should grow with the
// music, not faster (at most about 2.3 times per doubling).
void BM_LayOutAndDrawPlainMusic(benchmark::State& state) {
  ARMusic::sMaxPassWork = 1.0e12;
  GRMusic::sMaxLayoutWork = 1.0e12;
  std::string const text = SampleScores::PlainTwoStaves(static_cast<int>(state.range(0)) * 1000);
  Layout::OfflineEngine engine;
  EngineTesting::CountingDevice device(engine.device().getVGSystem());
  EachLaidOut(state, text, [&](GRMusic& layout) {
    EngineTesting::DrawEveryPage(layout, device);
    state.counters["pages"] = layout.getNumPages();
  });
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(text.size()));
}
BENCHMARK(BM_LayOutAndDrawPlainMusic)
    ->Arg(10)
    ->Arg(100)
    ->Arg(1000)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(3)
    ->ReportAggregatesOnly();

}  // namespace

BENCHMARK_MAIN();
