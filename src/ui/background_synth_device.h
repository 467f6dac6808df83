#pragma once

// The software synthesizer, created on a worker thread. Creating it reads the SoundFont's
// instrument list and opens the audio output, which takes tens of milliseconds; made this way the
// main window appears first. Every use waits until the synthesizer exists, so nothing is lost.

#include <future>
#include <memory>
#include <mutex>

#include "src/core/midi/midi_device.h"

namespace UI {

class BackgroundSynthDevice : public Core::MidiOutDevice {
 public:
  BackgroundSynthDevice();
  ~BackgroundSynthDevice() override;

  QString GetName() const override { return Device().GetName(); }
  void Reset() override { Device().Reset(); }
  void Stop() override { Device().Stop(); }
  void SendMessage(const Core::MidiMessage& message) override { Device().SendMessage(message); }
  double GetVolume() const override { return Device().GetVolume(); }
  void SetVolume(double volume) override { Device().SetVolume(volume); }

 private:
  // Waits for the synthesizer the first time; safe from any thread.
  Core::MidiOutDevice& Device() const;

  mutable std::future<std::shared_ptr<Core::MidiOutDevice>> m_creation;
  mutable std::once_flag m_created;
  mutable std::shared_ptr<Core::MidiOutDevice> m_device;
};

}  // namespace UI
