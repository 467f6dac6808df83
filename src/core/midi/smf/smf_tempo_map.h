#pragma once

// The tempo map of a Standard MIDI File: the tempo in force from each listed pulse on, and the
// time in seconds at which that pulse sounds. Event times in seconds are computed from it.

#include <QtGlobal>

#include <vector>

namespace Core {

class SmfTempoMap {
 public:
  struct Entry {
    quint32 pulses;
    quint32 microsecondsPerQuarter;
    double seconds;
  };

  // 120 beats per minute from the start until the file says otherwise.
  explicit SmfTempoMap(quint32 pulsesPerQuarter);

  // Changes come in time order. A change at the pulse of the last entry replaces its tempo.
  void ChangeTempo(quint32 pulses, quint32 microsecondsPerQuarter);
  // A time signature opens an entry of its own that carries the tempo on, so the map lists every
  // point where the metre or the tempo changes, as readers of the map have always seen it.
  void ChangeTimeSignature(quint32 pulses);

  double Seconds(quint32 pulses) const;
  const std::vector<Entry>& Entries() const { return m_entries; }

 private:
  Entry& EntryAt(quint32 pulses);
  double SecondsPerPulse(const Entry& entry) const;

  quint32 m_pulsesPerQuarter;
  std::vector<Entry> m_entries;
};

}  // namespace Core
