// The exercise score of a one-chord question as the exercise screen builds it (score mode 2),
// whole and by stage: parse and layout, drawing the page, reading the note boxes from the map.
// Each repetition times one build, so the median and p99 are per score. In an optimised build:
//   bench_score_builder --benchmark_report_aggregates_only=true
// The first build of the process (fonts, glyph images) is timed once before and printed as "cold".
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QPainter>
#include <QPixmap>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>

#include "bench/razid/question_painter.h"
#include "lib-razid-qt/QRazidPainter.h"
#include "lib-razid-qt/engine_fonts.h"
#include "src/core/score_builder/score_builder.h"
#include "src/core/score_provider/score_provider.h"

namespace {

const std::string& Question() {
  static const std::string rmn = Core::ScoreProvider::GetQuestionScoreNotes(
      {39, 43, 46}, true, false, Core::ScoreProvider::ST_CHORD);
  return rmn;
}

double P99(const std::vector<double>& samples) {
  std::vector<double> sorted = samples;
  std::sort(sorted.begin(), sorted.end());
  return sorted[size_t(std::ceil(0.99 * double(sorted.size()))) - 1];
}

void PerScore(benchmark::internal::Benchmark* bench) {
  bench->Unit(benchmark::kMillisecond)
      ->Iterations(1)
      ->Repetitions(400)
      ->ComputeStatistics("p99", P99);
}

QRazidPainter* LaidOutQuestion() {
  return Bench::LaidOutQuestion(QString::fromStdString(Question()));
}

void DrawPage(QRazidPainter* painter) {
  QPixmap page(1050, 350);
  page.fill(Qt::transparent);
  QPainter canvas(&page);
  canvas.setRenderHint(QPainter::Antialiasing);
  painter->draw(&canvas, 1, page.rect(), page.rect());
}

void BM_ExerciseScoreWhole(benchmark::State& state) {
  for (auto _ : state) {
    Core::ScoresDescription score;
    Core::ScoreBuilder().BuildScores(Question(), score, Core::ScoreBuilder::ExerciseScore);
    benchmark::DoNotOptimize(score.noteRects.size());
  }
}
BENCHMARK(BM_ExerciseScoreWhole)->Apply(PerScore);

void BM_ParseAndLayout(benchmark::State& state) {
  for (auto _ : state) {
    QRazidPainter* painter = LaidOutQuestion();
    state.PauseTiming();
    QRazidPainter::destroyRazidPainter(painter);
    state.ResumeTiming();
  }
}
BENCHMARK(BM_ParseAndLayout)->Apply(PerScore);

void BM_DrawPage(benchmark::State& state) {
  QRazidPainter* painter = LaidOutQuestion();
  for (auto _ : state) DrawPage(painter);
  QRazidPainter::destroyRazidPainter(painter);
}
BENCHMARK(BM_DrawPage)->Apply(PerScore);

void BM_ReadNoteBoxes(benchmark::State& state) {
  QRazidPainter* painter = LaidOutQuestion();
  DrawPage(painter);
  for (auto _ : state) benchmark::DoNotOptimize(Bench::CountNoteBoxes(painter));
  QRazidPainter::destroyRazidPainter(painter);
}
BENCHMARK(BM_ReadNoteBoxes)->Apply(PerScore);

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication application(argc, argv);
  if (!RazidQt::PrepareEngineFonts()) return 1;
  QRazidPainter::startRazidEngine();
  const auto start = std::chrono::steady_clock::now();
  {
    Core::ScoresDescription score;
    Core::ScoreBuilder().BuildScores(Question(), score, Core::ScoreBuilder::ExerciseScore);
  }
  std::printf(
      "cold: %.2f ms\n",
      std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  QRazidPainter::stopRazidEngine();
  return 0;
}
