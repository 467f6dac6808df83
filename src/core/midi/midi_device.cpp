#include "src/core/midi/midi_device.h"

#include <QCoreApplication>
#include <QMutexLocker>

#include <algorithm>

namespace Core {

namespace {

// System real-time messages (clock, start, stop, active sensing, ...) carry no music. A keyboard
// sends clock and active sensing all the time, whether anyone plays or not, so recording them
// would grow the record without bound on an idle device.
bool IsSystemRealTime(const MidiMessage& message) {
  return message.GetRawData()[0] >= 0xF8;
}

}  // namespace

void MidiInDeviceBase::GetKeybardState(unsigned long channel, MidiKeyboardState& state) const {
  MELVARIN_ASSERT(channel < MidiChannelCount);
  QMutexLocker lock(&m_recordMutex);
  state = m_keys[channel];
}

void MidiInDeviceBase::Reset() {
  QMutexLocker lock(&m_recordMutex);
  for (MidiKeyboardState& keys : m_keys) keys.Clear();
}

void MidiInDeviceBase::GetStream(MidiStream& stream) const {
  // A deep copy: a copy sharing the buffer would leave the producing thread to decide on its
  // own, with a relaxed read of the share count, whether it may append in place.
  QMutexLocker lock(&m_recordMutex);
  const QVector<MidiEvent>& events = m_recorded.GetEvents();
  stream.GetEvents() = QVector<MidiEvent>(events.cbegin(), events.cend());
}

void MidiInDeviceBase::SetVolume(double volume) {
  // The comparisons also turn NaN into silence rather than letting it reach the scaling.
  m_volume.store(volume >= 1.0 ? 1.0 : (volume > 0.0 ? volume : 0.0));
}

void MidiInDeviceBase::UpdateKeys(const MidiMessage& message) {
  if (!message.IsNoteOn() && !message.IsNoteOff() && !message.IsAftertouch()) return;
  // A key state holds notes 0 to 119 only; a keyboard may still send 120 to 127, and input from
  // the outside must not reach the key state's range check.
  const unsigned char note = message.GetNote();
  if (note >= MidiKeyCount) return;
  MidiKeyboardState& keys = m_keys[message.GetChannel()];
  if (message.IsNoteOn())
    keys.SetKey(note, message.GetVelocity());
  else if (message.IsAftertouch())
    keys.SetKey(note, message.GetPressure());
  else
    keys.SetKey(note, 0);
}

void MidiInDeviceBase::ProcessEvent(const MidiEvent& event) {
  {
    QMutexLocker lock(&m_recordMutex);
    // In the order of arrival: a stream player's times start again with every replay.
    if (!IsSystemRealTime(event.GetMessage())) m_recorded.GetEvents().append(event);
    UpdateKeys(event.GetMessage());
  }
  MidiMessage delivered = event.GetMessage();
  if (delivered.IsNoteOn()) {
    const double scaled = delivered.GetVelocity() * m_volume.load();
    delivered.SetVelocity(static_cast<unsigned char>(scaled));
  }
  const MidiEvent out(delivered, event.GetTimePulses(), event.GetTime());
  Notify([&out](MidiDeviceObserver* observer) { observer->OnMidiEvent(out); });
}

QString MidiInWaveDevice::GetName() const {
  return QCoreApplication::translate("QApplication", "Microphone");
}

}  // namespace Core
