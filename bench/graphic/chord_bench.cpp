// Building and drawing the chord "{ c1, e1, g1 }" as the layout does for every chord of a
// question score: three zero-length notes under one shared stem, laid out, placed and drawn
// through a device that records every call, reporting to a symbol map. Report the median:
//   bench_graphic --benchmark_repetitions=20 --benchmark_report_aggregates_only=true
#include <benchmark/benchmark.h>

#include <memory>
#include <string>
#include <vector>

#include "ARNote.h"
#include "ARShareStem.h"
#include "GRGlobalStem.h"
#include "GRSingleNote.h"
#include "GRSpecial.h"
#include "GRStaff.h"
#include "GRSystem.h"
#include "GRSystemSlice.h"
#include "VGSystem.h"
#include "engine_globals.h"
#include "engine_reset.h"
#include "graphic_globals.h"
#include "tests/lib-score-engine/graphic/recording_device.h"
#include "tests/lib-score-engine/graphic/recording_symbol_map.h"
#include "tools/layout/fixed_width_fonts.h"

namespace {

// The recording device without its records: what the engine alone costs.
class QuietDevice : public EngineTesting::RecordingDevice {
 public:
  using RecordingDevice::RecordingDevice;
  void SetMusicFont(VGFont const* font) override { mFont = font; }
  VGFont const* GetMusicFont() const override { return mFont; }
  void SetFontAlign(unsigned int) override {}
  void SetFontColor(VGColor const&) override {}
  void DrawMusicSymbol(float, float, unsigned int) override { ++drawn; }
  int drawn = 0;

 private:
  VGFont const* mFont = nullptr;
};

template <class Device>
void BM_ChordBuildAndDraw(benchmark::State& state) {
  RazidResetEngineState();
  Layout::FixedWidthSystem system;
  Device device(&system);
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
    ARShareStem share;
    ARNote c("c", 0, 1, 0, 1, 0), e("e", 0, 1, 0, 1, 0), g("g", 0, 1, 0, 1, 0);
    for (auto _ : state) {
      device.calls.clear();
      map.Reset();
      GRGlobalStem stem(staff, &share, nullptr, nullptr, nullptr);
      std::vector<std::unique_ptr<GRSingleNote>> notes;
      for (ARNote* ar : {&c, &e, &g}) {
        notes.push_back(std::make_unique<GRSingleNote>(staff, ar, Frac_0, Frac_0));
        notes.back()->setGlobalStem(&stem);
        notes.back()->doCreateNote(Frac_1_4);
        stem.addAssociation(notes.back().get());
      }
      stem.RangeEnd(staff);
      for (auto& note : notes) note->setPosition(NVPoint{200, note->getPosition().y});
      for (auto& note : notes) note->OnDraw(device, map);
      stem.OnDraw(device, map);
      benchmark::DoNotOptimize(map.elements.data());
    }
  }
  RazidResetEngineState();
}
BENCHMARK(BM_ChordBuildAndDraw<EngineTesting::RecordingDevice>)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ChordBuildAndDraw<QuietDevice>)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
