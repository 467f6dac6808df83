// Scores through the whole engine as the application renders them, in an optimised build:
//   bench_razid --benchmark_repetitions=20 --benchmark_report_aggregates_only=true
// The first render of the process (fonts, glyph images) is timed once before the benchmarks and
// printed as "cold". Each score has its ink floor beside it: the same page cleared and the same
// calls of the engine replayed on a device, without the engine.
#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <chrono>
#include <cstdio>
#include <memory>

#include "bench/razid/ink_floor.h"
#include "bench/razid/question_painter.h"
#include "lib-razid-qt/QRazidPainter.h"
#include "lib-razid-qt/engine_fonts.h"
#include "tests/lib-razid-qt/long_piece.h"

namespace {

constexpr char kQuestion[] =
    "{ [ \\staff<1> \\clef<\"g2\"> \\key<\"D\"> \\meter<\"4/4\"> \\stemsAuto { d1 , f#1 , a1 } ], "
    "[ \\staff<1> \\clef<\"g2\"> \\stemsAuto ] }";

// What the score builder does for one question: painter, settings, page format, parse and
// layout, the page drawn into a cleared 1050 x 350 image, the note boxes read back.
int RenderQuestion(QImage& image) {
  QRazidPainter* painter = Bench::LaidOutQuestion(QString::fromLatin1(kQuestion));
  image.fill(Qt::white);
  QPainter target(&image);
  target.setRenderHint(QPainter::Antialiasing);
  painter->draw(&target, 1, image.rect(), image.rect());
  target.end();
  const int notes = Bench::CountNoteBoxes(painter);
  QRazidPainter::destroyRazidPainter(painter);
  return notes;
}

// The long piece parsed, laid out on A4 and every page drawn at 1240 x 1754.
int RenderPiece(const QString& piece, QImage& image) {
  QRazidPainter* painter = QRazidPainter::createRazidPainter();
  painter->setResizePageToMusic(false);
  painter->setRMNCode(piece);
  const int pages = painter->pageCount();
  for (int page = 1; page <= pages; ++page) {
    image.fill(Qt::white);
    QPainter target(&image);
    target.setRenderHint(QPainter::Antialiasing);
    painter->draw(&target, page, image.rect(), image.rect());
  }
  QRazidPainter::destroyRazidPainter(painter);
  return pages;
}

void BM_QuestionScore(benchmark::State& state) {
  QImage image(1050, 350, QImage::Format_ARGB32_Premultiplied);
  for (auto _ : state) benchmark::DoNotOptimize(RenderQuestion(image));
}
BENCHMARK(BM_QuestionScore)->Unit(benchmark::kMillisecond);

void BM_QuestionScoreInkFloor(benchmark::State& state) {
  QImage image(1050, 350, QImage::Format_ARGB32_Premultiplied);
  QRazidPainter* painter = Bench::LaidOutQuestion(QString::fromLatin1(kQuestion));
  const Bench::Ink ink(painter->grHandle(), 1, image);
  for (auto _ : state) state.counters["calls"] = ink.Replay(image);
  QRazidPainter::destroyRazidPainter(painter);
}
BENCHMARK(BM_QuestionScoreInkFloor)->Unit(benchmark::kMillisecond);

void BM_HundredMeasures(benchmark::State& state) {
  const QString piece = QString::fromStdString(RazidQtTesting::LongPiece());
  QImage image(1240, 1754, QImage::Format_ARGB32_Premultiplied);
  for (auto _ : state) state.counters["pages"] = RenderPiece(piece, image);
}
BENCHMARK(BM_HundredMeasures)->Unit(benchmark::kMillisecond);

void BM_HundredMeasuresInkFloor(benchmark::State& state) {
  QImage image(1240, 1754, QImage::Format_ARGB32_Premultiplied);
  QRazidPainter* painter = QRazidPainter::createRazidPainter();
  painter->setResizePageToMusic(false);
  painter->setRMNCode(QString::fromStdString(RazidQtTesting::LongPiece()));
  const Bench::Ink ink(painter->grHandle(), painter->pageCount(), image);
  for (auto _ : state) state.counters["calls"] = ink.Replay(image);
  QRazidPainter::destroyRazidPainter(painter);
}
BENCHMARK(BM_HundredMeasuresInkFloor)->Unit(benchmark::kMillisecond);

double MillisecondsOf(auto&& work) {
  const auto start = std::chrono::steady_clock::now();
  work();
  return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
      .count();
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication application(argc, argv);
  if (!RazidQt::PrepareEngineFonts()) return 1;
  QRazidPainter::startRazidEngine();
  QImage question(1050, 350, QImage::Format_ARGB32_Premultiplied);
  QImage page(1240, 1754, QImage::Format_ARGB32_Premultiplied);
  const QString piece = QString::fromStdString(RazidQtTesting::LongPiece());
  std::printf("cold: question %.2f ms, then 100 measures %.2f ms\n",
              MillisecondsOf([&] { RenderQuestion(question); }),
              MillisecondsOf([&] { RenderPiece(piece, page); }));
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  QRazidPainter::stopRazidEngine();
  return 0;
}
