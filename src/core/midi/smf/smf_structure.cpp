#include "src/core/midi/smf/smf_structure.h"

#include <climits>
#include <cstring>

namespace Core {

namespace {

constexpr unsigned char MetaEvent = 0xFF;
constexpr unsigned char SysExStart = 0xF0;
constexpr unsigned char MetaEndOfTrack = 0x2F;
constexpr unsigned char MetaTempo = 0x51;
constexpr unsigned char MetaTimeSignature = 0x58;

// Reads bytes of one chunk front to back; every read fails once the chunk is used up.
class Reader {
 public:
  Reader(const unsigned char* data, qsizetype size) : m_data(data), m_size(size) {}

  bool AtEnd() const { return m_at >= m_size; }
  bool Byte(unsigned char& out) {
    if (AtEnd()) return false;
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

bool TrackIsWellFormed(Reader track) {
  quint64 time = 0;
  unsigned char runningStatus = 0;
  for (;;) {
    quint32 delta;
    if (!track.VarLen(delta)) return false;
    time += delta;
    if (time > INT_MAX) return false;

    unsigned char status;
    if (!track.Byte(status)) return false;
    // Metadata and system-exclusive events end any running status (the library would otherwise
    // read the data bytes after them as another metadata event).
    if (status == MetaEvent) {
      runningStatus = 0;
      unsigned char type;
      quint32 length;
      if (!track.Byte(type) || type >= 0x80 || !track.VarLen(length)) return false;
      const unsigned char* data = track.Peek();
      if (!track.Skip(length) || !MetaIsWellFormed(type, data, length)) return false;
      if (type == MetaEndOfTrack) return true;  // what follows in the chunk is not read
      continue;
    }
    if (status == SysExStart) {
      quint32 length;
      if (!track.VarLen(length) || !track.Skip(length)) return false;
      runningStatus = 0;
      continue;
    }

    int dataBytes;
    if (status < 0x80) {  // running status: this byte is the first data byte
      if (!runningStatus) return false;
      dataBytes = DataBytesAfter(runningStatus) - 1;
    } else {
      dataBytes = DataBytesAfter(status);
      if (dataBytes < 0) return false;
      runningStatus = status < 0xF0 ? status : 0;
    }
    for (int i = 0; i < dataBytes; ++i) {
      unsigned char data;
      if (!track.Byte(data) || data >= 0x80) return false;
    }
  }
}

}  // namespace

bool IsWellFormedMidiFile(const QByteArray& bytes) {
  const auto* data = reinterpret_cast<const unsigned char*>(bytes.constData());
  const qsizetype size = bytes.size();
  if (size < 14 || std::memcmp(data, "MThd", 4) != 0) return false;
  const quint32 headerLength = BigEndian(data + 4, 4);
  if (headerLength < 6 || headerLength > static_cast<quint64>(size - 8)) return false;
  const quint32 format = BigEndian(data + 8, 2);
  const quint32 announcedTracks = BigEndian(data + 10, 2);
  const quint32 division = BigEndian(data + 12, 2);
  // The library reads formats 0 and 1 only. Time-code divisions are not pulses per quarter note;
  // a division of 0 has no time at all.
  if (format > 1 || division == 0 || (division & 0x8000)) return false;

  // The library counts a chunk of another kind as a track it could not load, so such a chunk
  // would cost the piece a track. Bytes after the last announced track are not read.
  qsizetype at = 8 + static_cast<qsizetype>(headerLength);
  for (quint32 track = 0; track < announcedTracks; ++track) {
    if (size - at < 8 || std::memcmp(data + at, "MTrk", 4) != 0) return false;
    const quint32 length = BigEndian(data + at + 4, 4);
    if (length > static_cast<quint64>(size - at - 8)) return false;
    if (!TrackIsWellFormed(Reader(data + at + 8, length))) return false;
    at += 8 + static_cast<qsizetype>(length);
  }
  return announcedTracks > 0;
}

}  // namespace Core
