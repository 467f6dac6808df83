// libFuzzer program for the MIDI file reader; built by the fuzz preset only.

#include "fuzz/fuzz_targets.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  return Fuzz::ReadMidiFile(data, size);
}
