#pragma once

// Input devices without hardware: they replay a stream and deliver its events exactly as a MIDI
// keyboard would, so the same connector routes them to the synthesizer. The automatic player is
// clocked by the timer thread and plays the questions; the manual one is advanced by its owner in
// pulses.
//
// Events go to the observers while the device's lock is held (timer lock, then device lock); the
// playback-complete notice goes out after the lock is released, once per finished stream.

#include <cstdint>
#include <memory>
#include <mutex>

#include "src/core/midi/midi_device.h"
#include "src/core/midi/observers.h"
#include "src/core/midi/subject.h"

namespace Core {

class MidiInStreamDeviceBase : public MidiInDeviceBase, public Subject<MidiInStreamDeviceObserver> {
 public:
  explicit MidiInStreamDeviceBase(std::shared_ptr<MidiStream> stream);

  using Subject<MidiDeviceObserver>::AddObserver;
  using Subject<MidiDeviceObserver>::RemoveObserver;
  using Subject<MidiInStreamDeviceObserver>::AddObserver;
  using Subject<MidiInStreamDeviceObserver>::RemoveObserver;

  QString GetName() const override { return QString(); }

  // The stream being replayed; one must be set.
  std::shared_ptr<MidiStream> GetStream() const;
  // Copies the events delivered so far.
  using MidiInDeviceBase::GetStream;
  void SetStream(std::shared_ptr<MidiStream> stream);

  // Nothing left to play; all keys released.
  void Reset() override;
  virtual void Seek(int pulses);
  // From the first event when nothing is left to play.
  virtual void Play();

 protected:
  bool AtEnd() const;
  const MidiEvent& Current() const;
  // Delivers the current event and moves past it. Returns false when an observer reset, re-aimed
  // or stopped the device from inside its callback: the caller must then leave it alone.
  bool DeliverCurrent();
  void NotifyPlaybackComplete();

  // Guards the stream, the position and the fields of the derived devices.
  mutable std::recursive_mutex m_mutex;

 private:
  qsizetype EventCount() const;

  std::shared_ptr<MidiStream> m_stream;
  qsizetype m_current = 0;
  // Changes whenever the position is moved other than by delivery.
  std::uint64_t m_generation = 0;
};

class MidiInStreamDeviceAuto : public MidiInStreamDeviceBase, public MultimediaTimerObserver {
 public:
  explicit MidiInStreamDeviceAuto(std::shared_ptr<MidiStream> stream);
  ~MidiInStreamDeviceAuto() override;

  void Reset() override;
  void Play() override;
  // Freezes the played time; the timer's stamps keep being followed without counting.
  void Pause(bool pause);
  bool IsPlaying() const;

  void OnTimer(long long stamp) override;

 private:
  long long m_lastStamp = 0;
  double m_elapsed = 0.0;  // seconds of stream time played since the last reset
  bool m_playing = false;
};

class MidiInStreamDeviceManual : public MidiInStreamDeviceBase {
 public:
  explicit MidiInStreamDeviceManual(std::shared_ptr<MidiStream> stream);

  void Reset() override;
  void Play() override;
  void Pause(bool pause);
  void Seek(int pulses) override;
  // Moves forward by `pulses`, delivering what falls due; the end of the stream is notified.
  void Advance(double pulses);
  // Moves to an absolute position, delivering what falls due; the end is not notified.
  void AdvanceTo(double pulses);
  double GetPosition() const;

 private:
  double m_position = 0.0;  // in pulses
  bool m_paused = false;
};

}  // namespace Core
