#include "src/core/midi/midi_connector.h"

#include <algorithm>

#include "src/common/assertion.h"

namespace Core {

const char* const DEFAULT_MIDI_IN = "DEFAULT_MIDI_IN_DEVICE";

MidiDeviceConnector::MidiDeviceConnector(std::shared_ptr<MidiInDevice> in,
                                         std::shared_ptr<MidiOutDevice> MidiOut)
    : m_output(MidiOut) {
  MELVARIN_ASSERT(in.get() && MidiOut.get());
  AppendMidiInDevice(DEFAULT_MIDI_IN, std::move(in));
}

MidiDeviceConnector::MidiDeviceConnector(std::shared_ptr<MidiOutDevice> MidiOut)
    : m_output(MidiOut) {
  MELVARIN_ASSERT(MidiOut.get());
}

MidiDeviceConnector::~MidiDeviceConnector() {
  for (const auto& [name, device] : m_inputs) device->RemoveObserver(this);
}

void MidiDeviceConnector::ReleaseInput(const std::shared_ptr<MidiInDevice>& device) {
  const bool stillMapped = std::any_of(m_inputs.begin(), m_inputs.end(),
                                       [&](const auto& entry) { return entry.second == device; });
  if (!stillMapped) device->RemoveObserver(this);
}

void MidiDeviceConnector::AppendMidiInDevice(const std::string& name,
                                             std::shared_ptr<MidiInDevice> device) {
  MELVARIN_ASSERT(device.get());
  const auto found = m_inputs.find(name);
  if (found != m_inputs.end()) {
    const std::shared_ptr<MidiInDevice> previous = found->second;
    m_inputs.erase(found);
    ReleaseInput(previous);
  }
  device->AddObserver(this);
  m_inputs.emplace(name, std::move(device));
}

void MidiDeviceConnector::RemoveMidiInDevice(const std::string& name) {
  const auto found = m_inputs.find(name);
  if (found == m_inputs.end()) return;
  const std::shared_ptr<MidiInDevice> device = found->second;
  m_inputs.erase(found);
  ReleaseInput(device);
}

std::shared_ptr<MidiInDevice> MidiDeviceConnector::GetMidiInDevice(const std::string& name) const {
  const auto found = m_inputs.find(name);
  return found == m_inputs.end() ? nullptr : found->second;
}

void MidiDeviceConnector::SetVolume(const std::string& name, double volume) {
  if (const std::shared_ptr<MidiInDevice> device = GetMidiInDevice(name)) device->SetVolume(volume);
}

double MidiDeviceConnector::GetVolume(const std::string& name) const {
  const std::shared_ptr<MidiInDevice> device = GetMidiInDevice(name);
  return device ? device->GetVolume() : 0.0;
}

void MidiDeviceConnector::OnMidiEvent(const MidiEvent& event) {
  m_output->SendMessage(event.GetMessage());
}

}  // namespace Core
