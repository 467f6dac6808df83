#include "src/ui/background_synth_device.h"

#include "src/core/midi/platform/midi_device_synth.h"

namespace UI {

BackgroundSynthDevice::BackgroundSynthDevice()
    : m_creation(std::async(std::launch::async, []() -> std::shared_ptr<Core::MidiOutDevice> {
        return std::make_shared<Core::MidiOutSynthDevice>();
      })) {}

BackgroundSynthDevice::~BackgroundSynthDevice() {
  // The synthesizer is closed here, not on the worker, whether or not it was ever used.
  Device();
}

Core::MidiOutDevice& BackgroundSynthDevice::Device() const {
  std::call_once(m_created, [this] { m_device = m_creation.get(); });
  return *m_device;
}

}  // namespace UI
