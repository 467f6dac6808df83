#include "src/core/midi/platform/jack_midi_input.h"

#include <jack/midiport.h>

namespace Core {

std::unique_ptr<JackMidiInput> JackMidiInput::Open(const char* clientName, const char* portName,
                                                   unsigned int source, Callback callback,
                                                   void* userData) {
  std::unique_ptr<JackMidiInput> input(new JackMidiInput(callback, userData));
  // Room for ordinary messages, so the process thread allocates only for long system exclusive.
  input->m_bytes.reserve(256);
  if (!input->m_link.Open(clientName, portName, JackPortLink::Direction::Input, source,
                          &JackMidiInput::Process, input.get()))
    return nullptr;
  return input;
}

JackMidiInput::~JackMidiInput() {
  m_link.Close();
}

int JackMidiInput::Process(jack_nframes_t frames, void* self) {
  auto* input = static_cast<JackMidiInput*>(self);
  jack_client_t* client = input->m_link.Client();
  void* buffer = jack_port_get_buffer(input->m_link.Port(), frames);
  const jack_nframes_t cycleStart = jack_last_frame_time(client);
  const uint32_t count = jack_midi_get_event_count(buffer);
  for (uint32_t i = 0; i < count; ++i) {
    jack_midi_event_t event;
    if (jack_midi_event_get(&event, buffer, i) != 0 || event.size == 0) continue;
    // Each message is stamped at its own frame, not at the time the cycle is processed.
    const jack_time_t time = jack_frames_to_time(client, cycleStart + event.time);
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
