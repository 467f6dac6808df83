#pragma once

// Notices of MIDI set-up changes: a client of the MIDI system named "Quorvale" that listens for
// ports appearing and vanishing (the ALSA sequencer's announce port, or JACK's port-registration
// callback). Notices arrive on a thread of the MIDI system and are posted to the GUI thread. There
// a notice is passed on when a MIDI source of another program was registered, also under a name
// seen before (a keyboard unplugged and plugged in again), or when the set of MIDI sources differs
// from the last one seen; after every notice the set is looked at again until it settles, since
// a removal may be announced before the list shows it. The program's own input ports and audio
// ports are no sources, so a rescan that reopens the ports cannot set off the next one.

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
