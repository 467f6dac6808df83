#include "src/core/midi/platform/jack_midi_input.h"

#include <jack/midiport.h>

namespace Core {

std::unique_ptr<JackMidiInput> JackMidiInput::Open(const char* clientName, const char* portName,
                                                   unsigned int source, Callback callback,
                                                   void* userData) {
  std::unique_ptr<JackMidiInput> input(new JackMidiInput(callback, userData));
  jack_status_t status;
  input->m_client = jack_client_open(clientName, JackNoStartServer, &status);
  if (!input->m_client) return nullptr;

  if (const char** sources =
          jack_get_ports(input->m_client, nullptr, JACK_DEFAULT_MIDI_TYPE, JackPortIsOutput)) {
    for (unsigned int i = 0; sources[i]; ++i) {
      if (i == source) {
        input->m_sourceName = QString::fromUtf8(sources[i]);
        break;
      }
    }
    jack_free(sources);
  }
  if (input->m_sourceName.isEmpty()) return nullptr;

  input->m_port =
      jack_port_register(input->m_client, portName, JACK_DEFAULT_MIDI_TYPE, JackPortIsInput, 0);
  // Room for ordinary messages, so the process thread allocates only for long system exclusive.
  input->m_bytes.reserve(256);
  if (!input->m_port ||
      jack_set_process_callback(input->m_client, &JackMidiInput::Process, input.get()) != 0 ||
      jack_activate(input->m_client) != 0)
    return nullptr;
  // A source that vanished since it was listed counts as a port that failed to open.
  const int connected = jack_connect(input->m_client, input->m_sourceName.toUtf8().constData(),
                                     jack_port_name(input->m_port));
  if (connected != 0 && connected != EEXIST) return nullptr;
  return input;
}

JackMidiInput::~JackMidiInput() {
  if (!m_client) return;
  jack_deactivate(m_client);
  jack_client_close(m_client);
}

int JackMidiInput::Process(jack_nframes_t frames, void* self) {
  auto* input = static_cast<JackMidiInput*>(self);
  void* buffer = jack_port_get_buffer(input->m_port, frames);
  const jack_nframes_t cycleStart = jack_last_frame_time(input->m_client);
  const uint32_t count = jack_midi_get_event_count(buffer);
  for (uint32_t i = 0; i < count; ++i) {
    jack_midi_event_t event;
    if (jack_midi_event_get(&event, buffer, i) != 0 || event.size == 0) continue;
    // Each message is stamped at its own frame, not at the time the cycle is processed.
    const jack_time_t time = jack_frames_to_time(input->m_client, cycleStart + event.time);
    const double delta =
        input->m_first || time < input->m_lastTime ? 0.0 : (time - input->m_lastTime) * 1e-6;
    input->m_first = false;
    input->m_lastTime = time;
    input->m_bytes.assign(event.buffer, event.buffer + event.size);
    input->m_callback(delta, &input->m_bytes, input->m_userData);
  }
  return 0;
}

}  // namespace Core
