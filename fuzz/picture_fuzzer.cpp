// libFuzzer program for the picture files beside a score: weighed, and decoded when light enough;
// built by the fuzz preset only.
#include "fuzz/fuzz_targets.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  return Fuzz::ReadPicture(data, size);
}
