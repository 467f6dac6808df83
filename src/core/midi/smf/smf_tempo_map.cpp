#include "src/core/midi/smf/smf_tempo_map.h"

#include <algorithm>

#include "src/common/assertion.h"

namespace Core {

namespace {
constexpr quint32 DefaultMicrosecondsPerQuarter = 500000;
}  // namespace

SmfTempoMap::SmfTempoMap(quint32 pulsesPerQuarter)
    : m_pulsesPerQuarter(pulsesPerQuarter), m_entries{{0, DefaultMicrosecondsPerQuarter, 0.0}} {
  MELVARIN_ASSERT(pulsesPerQuarter > 0);
}

void SmfTempoMap::ChangeTempo(quint32 pulses, quint32 microsecondsPerQuarter) {
  MELVARIN_ASSERT(microsecondsPerQuarter > 0);
  EntryAt(pulses).microsecondsPerQuarter = microsecondsPerQuarter;
}

void SmfTempoMap::ChangeTimeSignature(quint32 pulses) {
  EntryAt(pulses);
}

SmfTempoMap::Entry& SmfTempoMap::EntryAt(quint32 pulses) {
  const Entry last = m_entries.back();
  MELVARIN_ASSERT(pulses >= last.pulses);
  if (pulses == last.pulses) return m_entries.back();
  m_entries.push_back({pulses, last.microsecondsPerQuarter, Seconds(pulses)});
  return m_entries.back();
}

double SmfTempoMap::Seconds(quint32 pulses) const {
  // The entry in force is the last one that starts strictly before the pulse; an event at the
  // very pulse of a change therefore gets the same time from either side of it.
  const auto after = std::partition_point(m_entries.begin(), m_entries.end(),
                                          [&](const Entry& e) { return e.pulses < pulses; });
  const Entry& entry = after == m_entries.begin() ? m_entries.front() : *(after - 1);
  return entry.seconds + static_cast<double>(pulses - entry.pulses) * SecondsPerPulse(entry);
}

double SmfTempoMap::SecondsPerPulse(const Entry& entry) const {
  return entry.microsecondsPerQuarter / (static_cast<double>(m_pulsesPerQuarter) * 1000000.0);
}

}  // namespace Core
