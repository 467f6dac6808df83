#include "tests/src/core/midi/platform/slow_output_cycles.h"

#include <dlfcn.h>
#include <jack/midiport.h>

#include <atomic>
#include <thread>

namespace {

std::atomic<long> pauseMicroseconds{0};
std::atomic<int> slowedCycles{0};

}  // namespace

// Takes the place of the JACK library's function for the whole program, the RtMidi library
// included, and hands on to it.
extern "C" void jack_midi_clear_buffer(void* portBuffer) {
  using Clear = void (*)(void*);
  static const auto clear = reinterpret_cast<Clear>(dlsym(RTLD_NEXT, "jack_midi_clear_buffer"));
  if (const long pause = pauseMicroseconds.load()) {
    ++slowedCycles;
    std::this_thread::sleep_for(std::chrono::microseconds(pause));
  }
  clear(portBuffer);
}

namespace Testing {

SlowOutputCycles::SlowOutputCycles(std::chrono::microseconds pause) {
  pauseMicroseconds.store(static_cast<long>(pause.count()));
}

SlowOutputCycles::~SlowOutputCycles() {
  pauseMicroseconds.store(0);
}

int SlowOutputCycles::Count() {
  return slowedCycles.load();
}

}  // namespace Testing
