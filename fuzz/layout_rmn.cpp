#include <string>

#include "GRMusic.h"
#include "fuzz/fuzz_targets.h"
#include "fuzz/low_work_limits.h"
#include "parse_music.h"
#include "tests/lib-score-engine/graphic/counting_device.h"
#include "tools/layout/offline_engine.h"

namespace Fuzz {
namespace {

int LayOutEveryPage(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  ParsedMusic parsed = ParseMusicText(text.c_str());
  if (!parsed.music) return 0;
  Layout::OfflineEngine engine;
  GRMusic layout(parsed.music.get(), nullptr);
  // Drawn on a device that only counts: recording every call would cost more than the layout.
  EngineTesting::CountingDevice device(engine.device().getVGSystem());
  EngineTesting::DrawEveryPage(layout, device);
  return 0;
}

}  // namespace

int LayoutRmn(const std::uint8_t* data, std::size_t size) {
  // As for the parser alone: lower work limits keep every run short.
  const LowWorkLimits limits;
  return LayOutEveryPage(data, size);
}

int LayoutRmnAtEngineLimits(const std::uint8_t* data, std::size_t size) {
  return LayOutEveryPage(data, size);
}

}  // namespace Fuzz
