#include "src/core/midi/platform/jack_port_link.h"

#include <cerrno>

namespace Core {

namespace {

QString PeerByNumber(jack_client_t* client, unsigned long peerFlags, unsigned int number) {
  QString name;
  if (const char** ports = jack_get_ports(client, nullptr, JACK_DEFAULT_MIDI_TYPE, peerFlags)) {
    for (unsigned int i = 0; ports[i]; ++i) {
      if (i == number) {
        name = QString::fromUtf8(ports[i]);
        break;
      }
    }
    jack_free(ports);
  }
  return name;
}

}  // namespace

bool JackPortLink::Open(const char* clientName, const char* portName, Direction direction,
                        unsigned int peer, JackProcessCallback process, void* arg) {
  Close();
  jack_status_t status;
  m_client = jack_client_open(clientName, JackNoStartServer, &status);
  if (!m_client) return false;

  const bool input = direction == Direction::Input;
  m_peerName = PeerByNumber(m_client, input ? JackPortIsOutput : JackPortIsInput, peer);
  if (m_peerName.isEmpty()) {
    Close();
    return false;
  }
  m_port = jack_port_register(m_client, portName, JACK_DEFAULT_MIDI_TYPE,
                              input ? JackPortIsInput : JackPortIsOutput, 0);
  if (!m_port || jack_set_process_callback(m_client, process, arg) != 0 ||
      jack_activate(m_client) != 0) {
    Close();
    return false;
  }
  // A peer that vanished since it was listed counts as a port that failed to open.
  const QByteArray peerName = m_peerName.toUtf8();
  const char* own = jack_port_name(m_port);
  const int joined = input ? jack_connect(m_client, peerName.constData(), own)
                           : jack_connect(m_client, own, peerName.constData());
  if (joined != 0 && joined != EEXIST) {
    Close();
    return false;
  }
  return true;
}

void JackPortLink::Close() {
  if (m_client) {
    // Deactivating takes the client out of the server's cycle and ends its process thread:
    // once it returns, no callback is running or will run.
    jack_deactivate(m_client);
    jack_client_close(m_client);
  }
  m_client = nullptr;
  m_port = nullptr;
  m_peerName.clear();
}

}  // namespace Core
