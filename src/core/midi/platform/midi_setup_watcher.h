#pragma once

// Notices of MIDI set-up changes: a client of the MIDI system named "Quorvale" that listens for
// ports appearing and vanishing (the ALSA sequencer's announce port, or JACK's port-registration
// callback). Notices arrive on a thread of the MIDI system and are posted to the GUI thread; there
// the set of MIDI source ports is compared with the last one seen, and only a real change is
// passed on. The program's own input ports and audio ports therefore never raise a notice, so a
// rescan that reopens the ports cannot set off the next one.

#include <functional>

namespace Core {

class MidiSetupWatcher {
 public:
  virtual ~MidiSetupWatcher() = default;

  // Starts the one watcher of the process on first call (later calls do nothing); `onChange` runs
  // on the GUI thread. The client stays open for the life of the process. Returns false when no
  // MIDI system could be watched.
  static bool Start(std::function<void()> onChange);
};

}  // namespace Core
