#include "src/core/midi/platform/sound_controller.h"

#include <QtGlobal>

#include "src/core/midi/error.h"
#include "src/core/midi/platform/midi_device_rt.h"
#include "src/core/midi/platform/midi_device_synth.h"
#include "src/core/midi/platform/midi_setup_watcher.h"

namespace Core {

void (*SoundController::midiDeviceChangedCallback)() = nullptr;

SoundDeviceFactory SoundDeviceFactory::Platform() {
  SoundDeviceFactory factory;
  factory.countInputPorts = [] { return MidiInRtDevice::GetPortCount(); };
  factory.openInput = [](unsigned int port) -> std::shared_ptr<MidiInDevice> {
    return std::make_shared<MidiInRtDevice>(port);
  };
  factory.createSynthesizer = []() -> std::shared_ptr<MidiOutDevice> {
    return std::make_shared<MidiOutSynthDevice>();
  };
  factory.watchSetup = [](std::function<void()> notify) {
    MidiSetupWatcher::Start(std::move(notify));
  };
  return factory;
}

SoundController::SoundController() : SoundController(SoundDeviceFactory::Platform()) {}

SoundController::SoundController(SoundDeviceFactory factory) : m_factory(std::move(factory)) {
  EnumerateDevices();
  if (m_factory.watchSetup) m_factory.watchSetup(&StateChangedHandler);
}

SoundController::~SoundController() = default;

bool SoundController::UpdateDevices() {
  return EnumerateDevices();
}

bool SoundController::EnumerateDevices() {
  // A MIDI system that cannot even count its ports (no ALSA sequencer, no JACK) counts as one
  // without ports: the program still starts, with the synthesizer as its only device.
  unsigned int ports = 0;
  try {
    ports = m_factory.countInputPorts ? m_factory.countInputPorts() : 0;
  } catch (const Error& error) {
    qWarning("MIDI input ports could not be counted (%s); continuing without MIDI input.",
             qPrintable(error.GetMessage()));
  }

  bool changed = !m_inputs.empty();
  m_inputs.clear();
  if (ports > 0) {
    changed = true;
    for (unsigned int port = 0; port < ports; ++port) {
      std::shared_ptr<MidiInDevice> device = m_factory.openInput(port);
      if (device && device->IsOk()) m_inputs.push_back(std::move(device));
    }
  }

  if (m_outputs.empty() && m_factory.createSynthesizer) {
    if (std::shared_ptr<MidiOutDevice> synthesizer = m_factory.createSynthesizer())
      m_outputs.push_back(std::move(synthesizer));
  }

  m_selectedInput = m_inputs.empty() ? NoSelection : m_inputs.size() - 1;
  m_selectedOutput = 0;
  return changed;
}

std::shared_ptr<MidiOutDevice> SoundController::GetOutputMidiDevice() {
  if (m_selectedOutput >= m_outputs.size()) return nullptr;
  return m_outputs[m_selectedOutput];
}

bool SoundController::SelectInputMidiDevice(const QString& name) {
  for (unsigned long i = 0; i < m_inputs.size(); ++i) {
    if (m_inputs[i]->GetName() == name) {
      m_selectedInput = i;
      return true;
    }
  }
  return false;
}

void SoundController::SetMidiDeviceHandler(void (*handler)()) {
  midiDeviceChangedCallback = handler;
}

void StateChangedHandler() {
  if (SoundController::midiDeviceChangedCallback) SoundController::midiDeviceChangedCallback();
}

}  // namespace Core
