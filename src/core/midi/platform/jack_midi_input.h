#pragma once

// One JACK MIDI source read directly, each JACK event handed over as the message it is. RtMidi's
// JACK input is not used for reading: it joins a system-exclusive message that lacks its closing
// 0xF7 with every later event until one ends in 0xF7, so a single broken message from a keyboard
// would hold back everything played after it, note-offs included.

#include <QString>

#include <jack/jack.h>

#include <memory>
#include <vector>

#include "src/core/midi/platform/jack_port_link.h"

namespace Core {

class JackMidiInput {
 public:
  // The same shape as RtMidi's input callback: seconds since the previous message (0 for the
  // first), the message's bytes and the user data given to Open.
  using Callback = void (*)(double delta, std::vector<unsigned char>* message, void* userData);

  // Opens a client and an input port named as given and connects source number `source`, counted
  // as RtMidi counts JACK sources, to it. Null when there is no server, no such source, or the
  // connection fails. The callback then runs on JACK's process thread.
  static std::unique_ptr<JackMidiInput> Open(const char* clientName, const char* portName,
                                             unsigned int source, Callback callback,
                                             void* userData);
  // Stops the callback before the client goes.
  ~JackMidiInput();
  JackMidiInput(const JackMidiInput&) = delete;
  JackMidiInput& operator=(const JackMidiInput&) = delete;

  // The connected source's full port name ("client:port").
  const QString& SourceName() const { return m_link.PeerName(); }

 private:
  JackMidiInput(Callback callback, void* userData) : m_callback(callback), m_userData(userData) {}
  static int Process(jack_nframes_t frames, void* self);

  Callback m_callback;
  void* m_userData;
  // Process thread only.
  std::vector<unsigned char> m_bytes;
  bool m_first = true;
  jack_time_t m_lastTime = 0;
  // Last, so that it closes before the members its callback uses go.
  JackPortLink m_link;
};

}  // namespace Core
