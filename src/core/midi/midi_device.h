#pragma once

// The two faces of every MIDI source and sink: sources (input ports, the question player) deliver
// stamped events to their observers, sinks (the synthesizer, output ports) accept messages.
// MidiInDeviceBase is what every source shares: a record of the music it delivered, the pressed
// keys of the 16 channels and a volume applied to note-on velocities on the way out.

#include <QMutex>
#include <QString>

#include <array>
#include <atomic>

#include "src/core/midi/midi.h"
#include "src/core/midi/observers.h"
#include "src/core/midi/subject.h"

namespace Core {

constexpr unsigned long MidiChannelCount = 16;

class MidiInDevice : public Subject<MidiDeviceObserver> {
 public:
  ~MidiInDevice() override = default;

  virtual QString GetName() const = 0;
  virtual void GetKeybardState(unsigned long channel, MidiKeyboardState& state) const = 0;
  virtual void Reset() = 0;
  virtual void Close() = 0;
  // Copies every event the device has delivered so far, system real-time messages left out.
  virtual void GetStream(MidiStream& stream) const = 0;
  virtual double GetVolume() const = 0;
  virtual void SetVolume(double volume) = 0;
  virtual bool IsOk() const { return true; }
};

// A sink. It is a subject only so that all devices share one shape; it raises no notices.
class MidiOutDevice : public Subject<MidiDeviceObserver> {
 public:
  ~MidiOutDevice() override = default;

  virtual QString GetName() const = 0;
  virtual void Reset() = 0;
  // Silences everything that sounds.
  virtual void Stop() = 0;
  virtual void SendMessage(const MidiMessage& message) = 0;
  virtual double GetVolume() const = 0;
  virtual void SetVolume(double volume) = 0;
};

class MidiInDeviceBase : public MidiInDevice {
 public:
  MidiInDeviceBase() = default;

  void GetKeybardState(unsigned long channel, MidiKeyboardState& state) const override;
  // Releases every key; the recorded events stay.
  void Reset() override;
  void Close() override {}
  void GetStream(MidiStream& stream) const override;
  double GetVolume() const override { return m_volume.load(); }
  // Stores the volume clamped to 0.0 .. 1.0.
  void SetVolume(double volume) override;

 protected:
  // Records the event as it came (unless it is a system real-time message), updates the key state
  // of its channel, and hands observers a copy whose note-on velocity is scaled by the volume. Runs
  // on the thread that delivers the device's events (a port device's own, away from the MIDI
  // driver's); the record lock is released before any observer is called.
  void ProcessEvent(const MidiEvent& event);

 private:
  void UpdateKeys(const MidiMessage& message);

  // Guards the record and the key states against readers on other threads (the GUI thread
  // reads the recorded answer while the input thread may still deliver). Nothing else is taken
  // under it.
  mutable QMutex m_recordMutex;
  std::array<MidiKeyboardState, MidiChannelCount> m_keys;
  MidiStream m_recorded;
  std::atomic<double> m_volume{1.0};
};

// A source without a driver behind it: it delivers nothing and is never created by the program.
class MidiInWaveDevice : public MidiInDeviceBase {
 public:
  QString GetName() const override;
  void Reset() override {}
};

}  // namespace Core
