// libFuzzer program for the layout of parsed RMN under the engine's own work limits, with every
// page drawn; built by the fuzz preset only.

#include "fuzz/fuzz_targets.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  return Fuzz::LayoutRmnAtEngineLimits(data, size);
}
