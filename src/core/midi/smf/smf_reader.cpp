#include "src/core/midi/smf/smf_reader.h"

#include <algorithm>
#include <array>
#include <climits>
#include <cstring>

namespace Core {

namespace {

constexpr unsigned char MetaEvent = 0xFF;
constexpr unsigned char SysExStart = 0xF0;
constexpr unsigned char SysExContinuation = 0xF7;
constexpr unsigned char MetaEndOfTrack = 0x2F;
constexpr unsigned char MetaTempo = 0x51;
constexpr unsigned char MetaTimeSignature = 0x58;

// Reads bytes of one chunk front to back; every read fails once the chunk is used up.
class ChunkReader {
 public:
  ChunkReader(const unsigned char* data, qsizetype size) : m_data(data), m_size(size) {}

  bool Byte(unsigned char& out) {
    if (m_at >= m_size) return false;
    out = m_data[m_at++];
    return true;
  }
  const unsigned char* Peek() const { return m_data + m_at; }
  bool Skip(quint32 count) {
    if (count > static_cast<quint64>(m_size - m_at)) return false;
    m_at += count;
    return true;
  }
  // A variable-length quantity: at most four bytes of seven bits each.
  bool VarLen(quint32& out) {
    out = 0;
    for (int i = 0; i < 4; ++i) {
      unsigned char byte;
      if (!Byte(byte)) return false;
      out = (out << 7) | (byte & 0x7F);
      if (!(byte & 0x80)) return true;
    }
    return false;
  }

 private:
  const unsigned char* m_data;
  qsizetype m_size;
  qsizetype m_at = 0;
};

quint32 BigEndian(const unsigned char* p, int bytes) {
  quint32 value = 0;
  for (int i = 0; i < bytes; ++i) value = (value << 8) | p[i];
  return value;
}

// Data bytes that follow a status byte; -1 for a status that has no place in a file.
int DataBytesAfter(unsigned char status) {
  switch (status & 0xF0) {
    case 0xC0:
    case 0xD0:
      return 1;
    case 0xF0:
      break;
    default:
      return 2;
  }
  switch (status) {
    case 0xF1:
    case 0xF3:
      return 1;
    case 0xF2:
      return 2;
    case 0xF6:
    case 0xF8:
    case 0xFA:
    case 0xFB:
    case 0xFC:
    case 0xFE:
      return 0;
    default:
      return -1;
  }
}

bool MetaIsWellFormed(unsigned char type, const unsigned char* data, quint32 length) {
  switch (type) {
    case MetaEndOfTrack:
      return length == 0;
    case MetaTempo:
      return length == 3 && BigEndian(data, 3) > 0;
    case MetaTimeSignature:
      return length == 4;
    default:
      return true;
  }
}

struct TimedMessage {
  quint32 pulses;
  MidiMessage message;
};

// A tempo or time-signature event; a tempo of 0 stands for a time signature.
struct TempoMark {
  quint32 pulses;
  quint32 microsecondsPerQuarter;
};

// What the tracks hold, each track's events appended after the previous track's.
struct TrackEvents {
  std::vector<TimedMessage> messages;
  std::vector<TempoMark> tempoMarks;
};

bool ReadTrack(ChunkReader track, TrackEvents& out) {
  quint64 time = 0;
  unsigned char runningStatus = 0;
  for (;;) {
    quint32 delta;
    if (!track.VarLen(delta)) return false;
    time += delta;
    // Times stay within the signed range the writer and the players count in.
    if (time > INT_MAX) return false;
    const auto pulses = static_cast<quint32>(time);

    unsigned char status;
    if (!track.Byte(status)) return false;
    // Metadata and system-exclusive events end any running status.
    if (status == MetaEvent) {
      runningStatus = 0;
      unsigned char type;
      quint32 length;
      if (!track.Byte(type) || type >= 0x80 || !track.VarLen(length)) return false;
      const unsigned char* data = track.Peek();
      if (!track.Skip(length) || !MetaIsWellFormed(type, data, length)) return false;
      if (type == MetaEndOfTrack) return true;  // what follows in the chunk is not read
      if (type == MetaTempo) out.tempoMarks.push_back({pulses, BigEndian(data, 3)});
      if (type == MetaTimeSignature) out.tempoMarks.push_back({pulses, 0});
      continue;
    }
    // System-exclusive data does not fit a short message; it is passed over whole.
    if (status == SysExStart || status == SysExContinuation) {
      quint32 length;
      if (!track.VarLen(length) || !track.Skip(length)) return false;
      runningStatus = 0;
      continue;
    }

    std::array<unsigned char, MidiMessage::MaxLength> bytes{status};
    unsigned long length = 1;
    int dataBytes;
    if (status < 0x80) {  // running status: this byte is the first data byte
      if (!runningStatus) return false;
      bytes = {runningStatus, status};
      length = 2;
      dataBytes = DataBytesAfter(runningStatus) - 1;
    } else {
      dataBytes = DataBytesAfter(status);
      if (dataBytes < 0) return false;
      runningStatus = status < 0xF0 ? status : 0;
    }
    for (int i = 0; i < dataBytes; ++i) {
      if (!track.Byte(bytes[length]) || bytes[length] >= 0x80) return false;
      ++length;
    }
    out.messages.push_back({pulses, MidiMessage(bytes.data(), length)});
  }
}

// Reads the announced tracks after the header; false when one is missing or damaged.
bool ReadTracks(const unsigned char* data, qsizetype size, qsizetype at, quint32 trackCount,
                TrackEvents& out) {
  for (quint32 track = 0; track < trackCount;) {
    if (size - at < 8) return false;
    const quint32 length = BigEndian(data + at + 4, 4);
    if (length > static_cast<quint64>(size - at - 8)) return false;
    const bool isTrack = std::memcmp(data + at, "MTrk", 4) == 0;
    const ChunkReader body(data + at + 8, length);
    at += 8 + static_cast<qsizetype>(length);
    if (!isTrack) continue;  // a chunk of another kind is not meant for this reader
    if (!ReadTrack(body, out)) return false;
    ++track;
  }
  return true;
}

// Each track is in time order already; a stable sort by time merges them with ties going to the
// earlier track.
template <typename Timed>
void MergeByTime(std::vector<Timed>& items) {
  std::stable_sort(items.begin(), items.end(),
                   [](const Timed& a, const Timed& b) { return a.pulses < b.pulses; });
}

}  // namespace

std::optional<SmfContents> ReadSmf(const QByteArray& bytes) {
  const auto* data = reinterpret_cast<const unsigned char*>(bytes.constData());
  const qsizetype size = bytes.size();
  if (size < 14 || std::memcmp(data, "MThd", 4) != 0) return std::nullopt;
  // A longer header may carry fields of a later revision of the format; they are passed over.
  const quint32 headerLength = BigEndian(data + 4, 4);
  if (headerLength < 6 || headerLength > static_cast<quint64>(size - 8)) return std::nullopt;
  const quint32 format = BigEndian(data + 8, 2);
  const quint32 trackCount = BigEndian(data + 10, 2);
  const quint32 division = BigEndian(data + 12, 2);
  // Format 2 holds independent sequences, not one piece. Time-code divisions are not pulses per
  // quarter note; a division of 0 has no time at all. Bytes after the last track are not read.
  if (format > 1 || trackCount == 0 || division == 0 || (division & 0x8000)) return std::nullopt;

  TrackEvents tracks;
  if (!ReadTracks(data, size, 8 + static_cast<qsizetype>(headerLength), trackCount, tracks))
    return std::nullopt;
  MergeByTime(tracks.messages);
  MergeByTime(tracks.tempoMarks);

  SmfTempoMap tempoMap(division);
  for (const TempoMark& mark : tracks.tempoMarks) {
    if (mark.microsecondsPerQuarter)
      tempoMap.ChangeTempo(mark.pulses, mark.microsecondsPerQuarter);
    else
      tempoMap.ChangeTimeSignature(mark.pulses);
  }

  SmfContents contents;
  contents.events.reserve(static_cast<qsizetype>(tracks.messages.size()));
  for (const TimedMessage& timed : tracks.messages)
    contents.events.append(MidiEvent(timed.message, timed.pulses, tempoMap.Seconds(timed.pulses)));
  contents.tempoMap = tempoMap.Entries();
  return contents;
}

}  // namespace Core
