// Parse plus automatic passes of the texts the trainer shows: one question, and a long piece.
#include <benchmark/benchmark.h>

#include <random>
#include <string>

#include "parse_music.h"

namespace {

constexpr char const* kQuestion =
    "{ [ \\staff<1> \\clef<\"g2\">  \\stemsAuto  { c1 , e1 , g1 }  ], [ \\staff<1> "
    "\\clef<\"g2\">  \\stemsAuto  ] }";

// 100 measures of 4/4 on two staves; every beat a quarter or a root-position triad.
std::string LongPiece() {
  std::mt19937 random(15);
  char const* const names[] = {"c", "d", "e", "f", "g", "a", "h"};
  std::string text = "{ ";
  for (int staff = 1; staff <= 2; ++staff) {
    text += std::string(staff == 1 ? "" : ", ") + "[ \\staff<" + std::to_string(staff) +
            "> \\clef<\"" + (staff == 1 ? "g2" : "f4") + "\"> \\meter<\"4/4\"> ";
    const int octave = staff == 1 ? 1 : 0;
    for (int beat = 0; beat < 400; ++beat) {
      const int root = static_cast<int>(random() % 7);
      auto note = [&](int step) {
        return std::string(names[(root + step) % 7]) + std::to_string(octave + (root + step) / 7) +
               "/4";
      };
      if (random() % 2)
        text += note(0) + " ";
      else
        text += "{ " + note(0) + ", " + note(2) + ", " + note(4) + " } ";
    }
    text += "] ";
  }
  return text + "}";
}

void Parse(benchmark::State& state, std::string const& text) {
  for (auto _ : state) {
    ParsedMusic parsed = ParseMusicText(text.c_str());
    if (parsed.result != 0) state.SkipWithError("parse failed");
    benchmark::DoNotOptimize(parsed.music.get());
  }
}

void BM_QuestionScore(benchmark::State& state) {
  Parse(state, kQuestion);
}
BENCHMARK(BM_QuestionScore)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly();

void BM_HundredMeasuresTwoStaves(benchmark::State& state) {
  Parse(state, LongPiece());
}
BENCHMARK(BM_HundredMeasuresTwoStaves)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly();

}  // namespace

BENCHMARK_MAIN();
