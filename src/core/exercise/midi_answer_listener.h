#pragma once

// Connects the selected MIDI input device to a running exercise: every event the device delivers
// on its input thread is handed to the exercise, which judges answers and echoes the note to the
// output. The exercise owns the listener and moves it when the selected device changes.

#include <atomic>
#include <memory>
#include <mutex>
#include <vector>

#include "src/core/midi/midi_device.h"
#include "src/core/midi/observers.h"

namespace Core {

class Exercise;

class MidiAnswerListener : public MidiDeviceObserver {
 public:
  MidiAnswerListener(Exercise* exercise, std::shared_ptr<MidiInDevice> device);
  // Stops listening and waits for deliveries still under way on input threads, also those that
  // began before a device change, so no event reaches the exercise once the listener is gone. The
  // caller must not hold the exercise's lesson lock: that delivery may be waiting for it.
  ~MidiAnswerListener() override;
  MidiAnswerListener(const MidiAnswerListener&) = delete;
  MidiAnswerListener& operator=(const MidiAnswerListener&) = delete;

  // Stops listening to the previous device (when it still exists) and listens to this one.
  void SetDevice(std::shared_ptr<MidiInDevice> device);
  // Stops listening for good and drops events that are already on their way. Does not wait, so
  // it may be called under the lesson lock; the listener is destroyed later.
  void Detach();

  void OnMidiEvent(const MidiEvent& event) override;

 private:
  void StopObserving();

  // Standard mutexes, whose hand-over ThreadSanitizer can follow in the threaded tests.
  std::mutex m_deviceMutex;  // guards the device change
  // Held while an event is handed to the exercise; the destructor takes it to wait for one.
  std::mutex m_deliveryMutex;
  std::atomic<bool> m_detached{false};
  Exercise* const m_exercise;
  std::weak_ptr<MidiInDevice> m_device;
  // Every device listened to, the present one included: a device left behind may still be
  // handing over an event it took before the change.
  std::vector<std::weak_ptr<MidiInDevice>> m_devicesListenedTo;
};

}  // namespace Core
