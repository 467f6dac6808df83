#include "src/core/midi/midi_stream_device.h"

#include <cmath>

#include "src/common/assertion.h"
#include "src/core/midi/timer.h"

namespace Core {

// ---- MidiInStreamDeviceBase ----

MidiInStreamDeviceBase::MidiInStreamDeviceBase(std::shared_ptr<MidiStream> stream)
    : m_stream(std::move(stream)) {
  m_current = EventCount();
}

qsizetype MidiInStreamDeviceBase::EventCount() const {
  return m_stream ? m_stream->GetEvents().size() : 0;
}

bool MidiInStreamDeviceBase::AtEnd() const {
  return m_current >= EventCount();
}

const MidiEvent& MidiInStreamDeviceBase::Current() const {
  return m_stream->GetEvents().at(m_current);
}

std::shared_ptr<MidiStream> MidiInStreamDeviceBase::GetStream() const {
  std::lock_guard<std::recursive_mutex> lock(m_mutex);
  MELVARIN_ASSERT(m_stream.get());
  return m_stream;
}

void MidiInStreamDeviceBase::SetStream(std::shared_ptr<MidiStream> stream) {
  std::lock_guard<std::recursive_mutex> lock(m_mutex);
  m_stream = std::move(stream);
  Reset();
}

void MidiInStreamDeviceBase::Reset() {
  std::lock_guard<std::recursive_mutex> lock(m_mutex);
  m_current = EventCount();
  ++m_generation;
  MidiInDeviceBase::Reset();
}

void MidiInStreamDeviceBase::Play() {
  std::lock_guard<std::recursive_mutex> lock(m_mutex);
  if (AtEnd()) {
    m_current = 0;
    ++m_generation;
  }
}

void MidiInStreamDeviceBase::Seek(int pulses) {
  std::lock_guard<std::recursive_mutex> lock(m_mutex);
  const qsizetype count = EventCount();
  qsizetype index = 0;
  while (index < count &&
         static_cast<int>(m_stream->GetEvents().at(index).GetTimePulses()) < pulses)
    ++index;
  m_current = index;
  ++m_generation;
}

bool MidiInStreamDeviceBase::DeliverCurrent() {
  // Copied: an observer may replace the stream from inside its callback.
  const MidiEvent event = Current();
  ++m_current;
  const std::uint64_t generation = m_generation;
  ProcessEvent(event);
  return generation == m_generation;
}

void MidiInStreamDeviceBase::NotifyPlaybackComplete() {
  Subject<MidiInStreamDeviceObserver>::Notify(
      [](MidiInStreamDeviceObserver* observer) { observer->OnPlaybackComplete(); });
}

// ---- MidiInStreamDeviceAuto ----

MidiInStreamDeviceAuto::MidiInStreamDeviceAuto(std::shared_ptr<MidiStream> stream)
    : MidiInStreamDeviceBase(std::move(stream)) {
  {
    std::lock_guard<std::recursive_mutex> lock(m_mutex);
    MidiInStreamDeviceBase::Reset();
    m_elapsed = 0.0;
    m_playing = false;
  }
  // Not under our lock: the timer's lock comes first in the lock order. An idle device ignores
  // any pass that comes before the stamp is stored.
  const long long stamp = Timer::Add(this);
  std::lock_guard<std::recursive_mutex> lock(m_mutex);
  m_lastStamp = stamp;
}

MidiInStreamDeviceAuto::~MidiInStreamDeviceAuto() {
  Timer::Remove(this);
}

void MidiInStreamDeviceAuto::Reset() {
  std::lock_guard<std::recursive_mutex> lock(m_mutex);
  MidiInStreamDeviceBase::Reset();
  m_elapsed = 0.0;
  m_playing = false;
}

void MidiInStreamDeviceAuto::Play() {
  std::lock_guard<std::recursive_mutex> lock(m_mutex);
  MidiInStreamDeviceBase::Play();
  m_playing = true;
}

void MidiInStreamDeviceAuto::Pause(bool pause) {
  std::lock_guard<std::recursive_mutex> lock(m_mutex);
  m_playing = !pause;
}

bool MidiInStreamDeviceAuto::IsPlaying() const {
  std::lock_guard<std::recursive_mutex> lock(m_mutex);
  return m_playing;
}

void MidiInStreamDeviceAuto::OnTimer(long long stamp) {
  {
    std::lock_guard<std::recursive_mutex> lock(m_mutex);
    if (!m_playing || AtEnd()) {
      m_lastStamp = stamp;
      return;
    }
    m_elapsed += static_cast<double>(stamp - m_lastStamp) / 1000.0;
    m_lastStamp = stamp;
    // A pause asked for from inside an event notice takes effect at the next pass: what is due
    // now still goes out, so a pause on the last event cannot swallow the end of the stream.
    while (!AtEnd() && Current().GetTime() <= m_elapsed) {
      if (!DeliverCurrent()) return;
    }
    if (!AtEnd()) return;
    Reset();
  }
  // Reset before the notice, and the lock released, so an observer may replay from it.
  NotifyPlaybackComplete();
}

// ---- MidiInStreamDeviceManual ----

MidiInStreamDeviceManual::MidiInStreamDeviceManual(std::shared_ptr<MidiStream> stream)
    : MidiInStreamDeviceBase(std::move(stream)) {
  std::lock_guard<std::recursive_mutex> lock(m_mutex);
  MidiInStreamDeviceBase::Reset();
}

void MidiInStreamDeviceManual::Reset() {
  std::lock_guard<std::recursive_mutex> lock(m_mutex);
  m_position = 0.0;
  m_paused = false;
  MidiInStreamDeviceBase::Reset();
}

void MidiInStreamDeviceManual::Play() {
  {
    std::lock_guard<std::recursive_mutex> lock(m_mutex);
    MidiInStreamDeviceBase::Play();
    m_paused = false;
  }
  // Outside the lock: playing may reach the end at once, and that notice goes out unlocked.
  Advance(0.0);
}

void MidiInStreamDeviceManual::Pause(bool pause) {
  std::lock_guard<std::recursive_mutex> lock(m_mutex);
  m_paused = pause;
}

void MidiInStreamDeviceManual::Seek(int pulses) {
  std::lock_guard<std::recursive_mutex> lock(m_mutex);
  MidiInStreamDeviceBase::Seek(pulses);
  m_position = pulses;
}

double MidiInStreamDeviceManual::GetPosition() const {
  std::lock_guard<std::recursive_mutex> lock(m_mutex);
  return m_position;
}

void MidiInStreamDeviceManual::Advance(double pulses) {
  {
    std::lock_guard<std::recursive_mutex> lock(m_mutex);
    if (m_paused || AtEnd()) return;
    m_position += pulses;
    const double due = std::trunc(m_position);
    while (!AtEnd() && Current().GetTimePulses() <= due) {
      if (!DeliverCurrent()) return;
    }
    if (!AtEnd()) {
      m_position += 1.0;
      return;
    }
    Reset();
  }
  NotifyPlaybackComplete();
}

void MidiInStreamDeviceManual::AdvanceTo(double pulses) {
  std::lock_guard<std::recursive_mutex> lock(m_mutex);
  if (m_paused || AtEnd()) return;
  m_position = pulses;
  const double due = std::trunc(m_position);
  while (!AtEnd() && Current().GetTimePulses() <= due) {
    if (!DeliverCurrent()) return;
  }
}

}  // namespace Core
