#pragma once

// How long tests wait and how much work they allow. Both are far beyond what anything takes on a
// loaded two-core machine or in a sanitizer build; speed is measured by the benchmarks, not here.

namespace Testing {

// How long a test waits for what the program does on its own threads and timers or through the
// MIDI server. Only a wait that fails lasts that long.
constexpr int PatienceMs = 30000;

// The most a test allows for what must end promptly rather than after a wait of half a minute or
// more that the code must not make (a lock file's age, a service's transfer timeout): long for a
// busy machine, short of those.
constexpr int PromptMs = 20000;

// The most seconds (of the thread's processor time, or of the clock) that a test guarding against
// endless work allows it: far short of endless.
constexpr double EndlessWorkSeconds = 20.0;

}  // namespace Testing
