#include "src/core/exercise/midi_answer_listener.h"

#include "src/core/exercise/exercise.h"

namespace Core {

MidiAnswerListener::MidiAnswerListener(Exercise* exercise, std::shared_ptr<MidiInDevice> device)
    : m_exercise(exercise) {
  SetDevice(std::move(device));
}

MidiAnswerListener::~MidiAnswerListener() {
  Detach();
  std::vector<std::weak_ptr<MidiInDevice>> devices;
  {
    std::lock_guard lock(m_deviceMutex);
    devices.swap(m_devicesListenedTo);
  }
  // A device copies its observers before calling them, so one may call this listener after it
  // stopped observing.
  for (const std::weak_ptr<MidiInDevice>& listenedTo : devices)
    if (std::shared_ptr<MidiInDevice> device = listenedTo.lock()) device->WaitForNoticesUnderWay();
  std::lock_guard wait(m_deliveryMutex);
}

void MidiAnswerListener::SetDevice(std::shared_ptr<MidiInDevice> device) {
  std::lock_guard lock(m_deviceMutex);
  StopObserving();
  m_device = device;
  if (!device || m_detached.load()) return;
  std::erase_if(m_devicesListenedTo,
                [](const std::weak_ptr<MidiInDevice>& listenedTo) { return listenedTo.expired(); });
  m_devicesListenedTo.push_back(device);
  device->AddObserver(this);
}

void MidiAnswerListener::Detach() {
  std::lock_guard lock(m_deviceMutex);
  m_detached.store(true);
  StopObserving();
  m_device.reset();
}

void MidiAnswerListener::StopObserving() {
  if (std::shared_ptr<MidiInDevice> previous = m_device.lock()) previous->RemoveObserver(this);
}

void MidiAnswerListener::OnMidiEvent(const MidiEvent& event) {
  std::lock_guard delivering(m_deliveryMutex);
  if (m_detached.load()) return;
  m_exercise->InternalMidiEvent(event);
}

}  // namespace Core
