// libFuzzer program for the layout of parsed RMN, with every page drawn; built by the fuzz
// preset only.

#include "fuzz/fuzz_targets.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  return Fuzz::LayoutRmn(data, size);
}
