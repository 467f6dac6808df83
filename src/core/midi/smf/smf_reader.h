#pragma once

// Reads the events of a Standard MIDI File from its bytes, in one pass over them. A file is read
// only when every chunk and every event in it is complete and well-formed; anything else is
// refused as a whole, so a damaged file never yields half a piece or a note that is not in it.

#include <QByteArray>
#include <QVector>

#include <optional>
#include <vector>

#include "src/core/midi/midi.h"
#include "src/core/midi/smf/smf_tempo_map.h"

namespace Core {

struct SmfContents {
  // The channel and short system messages of every track (metadata and system-exclusive data
  // left out), merged by time: at equal times the earlier track first, each track in file order.
  // Times are in the file's pulses and, through the tempo map, in seconds.
  QVector<MidiEvent> events;
  std::vector<SmfTempoMap::Entry> tempoMap;
};

// The contents of a format 0 or 1 file with a pulse-based division whose header is followed by
// the tracks it announces (chunks of other kinds are passed over), each a sequence of complete
// events ending with an end-of-track event; nothing when the bytes are anything else.
std::optional<SmfContents> ReadSmf(const QByteArray& bytes);

}  // namespace Core
