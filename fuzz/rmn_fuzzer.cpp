// libFuzzer program for the RMN parser and the automatic passes; built by the fuzz preset only.

#include "fuzz/fuzz_targets.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  return Fuzz::ParseRmn(data, size);
}
