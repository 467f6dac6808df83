#pragma once

// Builds Standard MIDI File bytes by hand, so that the reader is checked against the file format
// itself rather than against the writer.

#include <QByteArray>

#include <initializer_list>
#include <utility>

namespace Core {

inline QByteArray Bytes(std::initializer_list<int> bytes) {
  QByteArray out;
  for (int b : bytes) out += static_cast<char>(b);
  return out;
}

inline QByteArray Be32(qsizetype v) {
  return Bytes({int(v >> 24) & 0xFF, int(v >> 16) & 0xFF, int(v >> 8) & 0xFF, int(v) & 0xFF});
}

inline QByteArray VarLen(unsigned v) {
  QByteArray out(1, static_cast<char>(v & 0x7F));
  while (v >>= 7) out.prepend(static_cast<char>(0x80 | (v & 0x7F)));
  return out;
}

// A metadata event without its delta time; the length is written as a variable-length number.
inline QByteArray Meta(int type, const QByteArray& data) {
  return Bytes({0xFF, type}) + VarLen(static_cast<unsigned>(data.size())) + data;
}

inline QByteArray Tempo(int usPerQuarter) {
  return Meta(
      0x51, Bytes({(usPerQuarter >> 16) & 0xFF, (usPerQuarter >> 8) & 0xFF, usPerQuarter & 0xFF}));
}

inline QByteArray TimeSignature() {
  return Meta(0x58, Bytes({3, 2, 24, 8}));
}

class SmfBytes {
 public:
  using Events = std::initializer_list<std::pair<unsigned, QByteArray>>;

  SmfBytes(int format, int ppqn, int headerLength = 6)
      : m_format(format), m_ppqn(ppqn), m_headerLength(headerLength) {}

  // Each event: delta time and raw bytes; an end-of-track event is added.
  SmfBytes& Track(Events events) {
    QByteArray body;
    for (const auto& [delta, bytes] : events) body += VarLen(delta) + bytes;
    return TrackBody(body + VarLen(0) + Meta(0x2F, {}));
  }
  SmfBytes& TrackBody(const QByteArray& body) {
    ++m_trackCount;
    return Chunk("MTrk", body);
  }
  SmfBytes& Chunk(const char* type, const QByteArray& body) {
    m_chunks += type + Be32(body.size()) + body;
    return *this;
  }

  QByteArray Build() const {
    return "MThd" + Be32(m_headerLength) + Be16(m_format) + Be16(m_trackCount) + Be16(m_ppqn) +
           QByteArray(m_headerLength - 6, '\0') + m_chunks;
  }

 private:
  static QByteArray Be16(int v) { return Bytes({(v >> 8) & 0xFF, v & 0xFF}); }

  int m_format;
  int m_ppqn;
  int m_headerLength;
  int m_trackCount = 0;
  QByteArray m_chunks;
};

}  // namespace Core
