#pragma once

// A MIDI thru: observes one or more named input devices and sends every message they deliver to
// one output device at once, on the delivering thread. The event times are not used.

#include <map>
#include <memory>
#include <string>

#include "src/core/midi/midi_device.h"
#include "src/core/midi/observers.h"

namespace Core {

// The name under which the two-device constructor registers its input.
extern const char* const DEFAULT_MIDI_IN;

class MidiDeviceConnector : public MidiDeviceObserver {
 public:
  MidiDeviceConnector(std::shared_ptr<MidiInDevice> in, std::shared_ptr<MidiOutDevice> MidiOut);
  explicit MidiDeviceConnector(std::shared_ptr<MidiOutDevice> MidiOut);
  // Stops observing every input, so no event reaches a destroyed connector.
  ~MidiDeviceConnector() override;
  MidiDeviceConnector(const MidiDeviceConnector&) = delete;
  MidiDeviceConnector& operator=(const MidiDeviceConnector&) = delete;

  // Replaces whatever was registered under the name. The inputs may only be changed while none
  // of them delivers events.
  void AppendMidiInDevice(const std::string& name, std::shared_ptr<MidiInDevice> device);
  void RemoveMidiInDevice(const std::string& name);
  std::shared_ptr<MidiInDevice> GetMidiInDevice(const std::string& name) const;
  std::shared_ptr<MidiOutDevice> GetMidiOutDevice() const { return m_output; }

  void SetVolume(const std::string& name, double volume);
  // 0.0 when nothing is registered under the name.
  double GetVolume(const std::string& name) const;

  void OnMidiEvent(const MidiEvent& event) override;

 private:
  // Stops observing the device unless another name still maps it.
  void ReleaseInput(const std::shared_ptr<MidiInDevice>& device);

  std::map<std::string, std::shared_ptr<MidiInDevice>> m_inputs;
  const std::shared_ptr<MidiOutDevice> m_output;
};

}  // namespace Core
