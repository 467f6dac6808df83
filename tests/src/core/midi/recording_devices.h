#pragma once

// Test devices: an output that remembers every message with the timer stamp at which it came,
// and an input the test feeds by hand.

#include <QString>

#include <mutex>
#include <vector>

#include "src/core/midi/midi_device.h"
#include "src/core/midi/timer.h"

namespace Testing {

class RecordingOutDevice : public Core::MidiOutDevice {
 public:
  struct Received {
    Core::MidiMessage message;
    long long stamp;
  };

  QString GetName() const override { return "recording"; }
  void Reset() override {}
  void Stop() override {}
  void SendMessage(const Core::MidiMessage& message) override {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_received.push_back({message, Core::Timer::GetStamp()});
  }
  double GetVolume() const override { return 1.0; }
  void SetVolume(double) override {}

  std::vector<Received> GetReceived() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_received;
  }
  std::vector<int> Notes() const {
    std::vector<int> notes;
    for (const Received& r : GetReceived()) notes.push_back(r.message.GetByte(1));
    return notes;
  }
  size_t Count() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_received.size();
  }

 private:
  mutable std::mutex m_mutex;
  std::vector<Received> m_received;
};

class FedInDevice : public Core::MidiInDeviceBase {
 public:
  QString GetName() const override { return "fed"; }
  void Feed(const Core::MidiMessage& message, unsigned int pulses = 0, double seconds = 0.0) {
    ProcessEvent(Core::MidiEvent(message, pulses, seconds));
  }
};

}  // namespace Testing
