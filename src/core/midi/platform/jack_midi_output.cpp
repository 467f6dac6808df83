#include "src/core/midi/platform/jack_midi_output.h"

namespace Core {

std::unique_ptr<JackMidiOutput> JackMidiOutput::Open(const char* clientName, const char* portName,
                                                     unsigned int destination) {
  std::unique_ptr<JackMidiOutput> output(new JackMidiOutput);
  if (!output->m_link.Open(clientName, portName, JackPortLink::Direction::Output, destination,
                           &JackMidiOutput::Process, output.get()))
    return nullptr;
  return output;
}

JackMidiOutput::~JackMidiOutput() {
  m_link.Close();
}

int JackMidiOutput::Process(jack_nframes_t frames, void* self) {
  auto* output = static_cast<JackMidiOutput*>(self);
  output->m_queue.FillCycle(jack_port_get_buffer(output->m_link.Port(), frames), frames);
  return 0;
}

}  // namespace Core
