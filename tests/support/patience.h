#pragma once

// How long a test waits for what the program does on its own threads and timers or through the
// MIDI server: long enough for a loaded two-core machine. Only a wait that fails lasts that long.

namespace Testing {

constexpr int PatienceMs = 30000;

}  // namespace Testing
