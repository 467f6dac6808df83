// Building and drawing four beamed eighths "e1 g1 h1 d2" under a slur, as the layout does for a
// phrase of a question score: the notes made and placed, the beam and the slur associated,
// ended and positioned, everything drawn through the recording device and reported to a symbol
// map. Report the median:
//   bench_graphic --benchmark_filter=Spanner --benchmark_repetitions=20
//     --benchmark_report_aggregates_only=true   (on one line)
#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

#include "ARBeam.h"
#include "ARNote.h"
#include "ARSlur.h"
#include "GRBeam.h"
#include "GRSingleNote.h"
#include "GRSlur.h"
#include "GRSpecial.h"
#include "GRStaff.h"
#include "GRSystem.h"
#include "GRSystemSlice.h"
#include "engine_globals.h"
#include "engine_reset.h"
#include "graphic_globals.h"
#include "tests/lib-score-engine/graphic/graphic_fixture.h"

namespace {

void BM_SpannerBuildAndDraw(benchmark::State& state) {
  RazidResetEngineState();
  EngineTesting::FakeSystem system;  // fixed-width glyphs, as wide as the music font's heads
  EngineTesting::RecordingDevice device(&system);
  EngineTesting::RecordingSymbolMap map;
  gGlobalSettings.gDevice = &device;
  gFontDefs.music.font = GRSpecial::FindOrCreateFont(gFontDefs.music.size, &gFontDefs.music.name);
  gFontDefs.text.font = GRSpecial::FindOrCreateFont(gFontDefs.text.size, &gFontDefs.text.name);
  {
    GRSystem grSystem;
    auto* slice = new GRSystemSlice(nullptr, Frac_0);
    grSystem.AddSystemSlice(slice);
    auto* staff = new GRStaff(slice);
    slice->addStaff(staff, 0);
    gCurSystem = &grSystem;
    ARBeam beamTag;
    ARSlur slurTag;
    ARNote e("e", 0, 1, 1, 8, 0), g("g", 0, 1, 1, 8, 0), h("h", 0, 1, 1, 8, 0),
        d("d", 0, 2, 1, 8, 0);
    for (auto _ : state) {
      device.calls.clear();
      map.Reset();
      std::vector<std::unique_ptr<GRSingleNote>> notes;
      float x = 100;
      for (ARNote* ar : {&e, &g, &h, &d}) {
        notes.push_back(std::make_unique<GRSingleNote>(staff, ar, Frac_0, ar->getDuration()));
        notes.back()->doCreateNote(ar->getDuration());
        notes.back()->setPosition(NVPoint{x, notes.back()->getPosition().y});
        x += 150;
      }
      GRBeam beam(staff, &beamTag);
      GRSlur slur(staff, &slurTag);
      for (auto& note : notes) beam.addAssociation(note.get());
      for (auto& note : notes) slur.addAssociation(note.get());
      beam.RangeEnd(staff);
      slur.RangeEnd(staff);
      for (auto& note : notes) note->setPosition(note->getPosition());
      for (auto& note : notes) note->OnDraw(device, map);
      beam.OnDraw(device, map);
      slur.OnDraw(device, map);
      benchmark::DoNotOptimize(map.elements.data());
      // Notes, stems, the beam and the slur: fewer means a mark fell into error.
      state.counters["records"] = static_cast<double>(map.elements.size());
      // The staff removes the pieces before the marks go, as the layout does.
      beam.DeleteStaff(staff);
      slur.DeleteStaff(staff);
    }
    gCurSystem = nullptr;
  }
  RazidResetEngineState();
}
BENCHMARK(BM_SpannerBuildAndDraw)->Unit(benchmark::kMicrosecond);

}  // namespace
