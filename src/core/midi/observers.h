#pragma once

// Observer interfaces of the MIDI, timing and sound layer.

#include "src/core/midi/midi.h"

namespace Core {

enum TimeLineState { TLS_STOPPED = 0, TLS_PAUSED = 1, TLS_RUNNING = 2 };

class MultimediaTimerObserver {
 public:
  virtual ~MultimediaTimerObserver() = default;
  // `stamp` is the steady clock in whole milliseconds.
  virtual void OnTimer(long long stamp) = 0;
};

class TimeLineObserver {
 public:
  virtual void OnTimeLinePositionChanged(int position) = 0;
  virtual void OnTimeLineStateChanged(TimeLineState previous, TimeLineState current) = 0;
  virtual void OnTimeLineSectionChanged(unsigned long previous, unsigned long current) = 0;
  virtual ~TimeLineObserver() = default;
};

class MidiDeviceObserver {
 public:
  virtual ~MidiDeviceObserver() = default;
  virtual void OnMidiEvent(const MidiEvent& event) = 0;
};

class MidiInStreamDeviceObserver {
 public:
  virtual ~MidiInStreamDeviceObserver() = default;
  virtual void OnPlaybackComplete() = 0;
};

}  // namespace Core
