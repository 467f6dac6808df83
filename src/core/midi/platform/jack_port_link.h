#pragma once

// A JACK client of the program's own with one MIDI port joined to a port of another program,
// which is picked by its number as RtMidi counts JACK ports: the sources (output ports) for an
// input, the destinations (input ports) for an output.

#include <QString>

#include <jack/jack.h>

namespace Core {

class JackPortLink {
 public:
  enum class Direction { Input, Output };

  JackPortLink() = default;
  ~JackPortLink() { Close(); }
  JackPortLink(const JackPortLink&) = delete;
  JackPortLink& operator=(const JackPortLink&) = delete;

  // Opens the client, registers the port, starts `process` (called with `arg` on JACK's process
  // thread) and joins the port to peer number `peer`. False when there is no server, no such
  // peer, or the joining fails; the link is closed again then.
  bool Open(const char* clientName, const char* portName, Direction direction, unsigned int peer,
            JackProcessCallback process, void* arg);
  // Closes the client. Once it returns the process callback is not running and never runs
  // again, so what the callback reads may go after it, never before.
  void Close();

  jack_client_t* Client() const { return m_client; }
  jack_port_t* Port() const { return m_port; }
  // The peer's full port name ("client:port").
  const QString& PeerName() const { return m_peerName; }

 private:
  jack_client_t* m_client = nullptr;
  jack_port_t* m_port = nullptr;
  QString m_peerName;
};

}  // namespace Core
