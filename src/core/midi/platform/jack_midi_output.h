#pragma once

// One JACK MIDI destination written directly. RtMidi's JACK output is not used for sending: it
// frees the queue its process callback reads before it closes its client, so an output closed
// while a cycle runs can read freed memory. Here the client closes first.

#include <QString>

#include <jack/jack.h>

#include <cstddef>
#include <memory>

#include "src/core/midi/platform/jack_midi_queue.h"
#include "src/core/midi/platform/jack_port_link.h"

namespace Core {

class JackMidiOutput {
 public:
  // Opens a client and an output port named as given and connects it to destination number
  // `destination`, counted as RtMidi counts JACK destinations. Null when there is no server, no
  // such destination, or the connection fails.
  static std::unique_ptr<JackMidiOutput> Open(const char* clientName, const char* portName,
                                              unsigned int destination);
  // Stops the callback before the queue goes.
  ~JackMidiOutput();
  JackMidiOutput(const JackMidiOutput&) = delete;
  JackMidiOutput& operator=(const JackMidiOutput&) = delete;

  // The connected destination's full port name ("client:port").
  const QString& DestinationName() const { return m_link.PeerName(); }
  // Queues one message for the next cycle; any thread. A message the queue has no room for is
  // lost.
  void Send(const unsigned char* bytes, size_t length) { m_queue.Push(bytes, length); }

 private:
  JackMidiOutput() = default;
  static int Process(jack_nframes_t frames, void* self);

  JackMidiQueue m_queue;
  // Last, so that it closes before the queue its callback reads goes.
  JackPortLink m_link;
};

}  // namespace Core
