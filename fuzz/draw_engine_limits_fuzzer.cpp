// libFuzzer program for the whole engine under its own work limits: parse, layout, drawing and
// the symbol map; built by the fuzz preset only.

#include "fuzz/fuzz_targets.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  return Fuzz::DrawRmnAtEngineLimits(data, size);
}
