#pragma once

// The value types in which music travels through the system: one short MIDI message, a message
// stamped with its time, an ordered stream of them, and the key state of one channel.
// Plain values: no locks, no virtual functions; each instance has one owner at a time.

#include <QMetaType>
#include <QVector>

#include <array>
#include <cstdint>

#include "src/common/assertion.h"

namespace Core {

// High nibble of a channel-message status byte.
enum MidiCommand : unsigned char {
  MidiNoteOff = 0x80,
  MidiNoteOn = 0x90,
  MidiAftertouch = 0xA0,
  MidiControlChange = 0xB0,
  MidiProgramChange = 0xC0,
  MidiChannelPressure = 0xD0,
  MidiPitchBend = 0xE0,
};

// At most three bytes: longer messages (system exclusive) are dropped by whoever receives them
// before a MidiMessage is built.
class MidiMessage {
 public:
  static constexpr unsigned long MaxLength = 3;

  MidiMessage() = default;
  MidiMessage(unsigned char status, unsigned char d1, unsigned char d2)
      : m_bytes{status, d1, d2}, m_length(3) {}
  MidiMessage(MidiCommand cmd, unsigned char channel)
      : m_bytes{Status(cmd, channel), 0, 0}, m_length(1) {}
  MidiMessage(MidiCommand cmd, unsigned char channel, unsigned char d1)
      : m_bytes{Status(cmd, channel), d1, 0}, m_length(2) {}
  MidiMessage(MidiCommand cmd, unsigned char channel, unsigned char d1, unsigned char d2)
      : m_bytes{Status(cmd, channel), d1, d2}, m_length(3) {}
  MidiMessage(const unsigned char* bytes, unsigned long size);

  unsigned char GetCommand() const { return m_bytes[0] & 0xF0; }
  bool IsStandardMessage() const { return m_bytes[0] < 0xF0; }
  bool IsMeta() const { return m_bytes[0] >= 0xF0; }
  bool IsNoteOn() const { return GetCommand() == MidiNoteOn; }
  bool IsNoteAudible() const { return IsNoteOn() && m_bytes[2] != 0; }
  bool IsNoteOff() const { return GetCommand() == MidiNoteOff; }
  bool IsAftertouch() const { return GetCommand() == MidiAftertouch; }
  bool IsPitchBend() const { return GetCommand() == MidiPitchBend; }
  bool IsChannelPressure() const { return GetCommand() == MidiChannelPressure; }

  unsigned char GetByte(unsigned long index) const;
  unsigned char GetChannel() const;
  unsigned char GetNote() const;
  unsigned char GetVelocity() const;
  unsigned char GetPressure() const;
  void SetVelocity(unsigned char velocity);

  const unsigned char* GetRawData() const { return m_bytes.data(); }
  unsigned char GetLength() const { return m_length; }

  friend bool operator==(const MidiMessage& a, const MidiMessage& b);

 private:
  static unsigned char Status(MidiCommand cmd, unsigned char channel) {
    return static_cast<unsigned char>(cmd | channel);
  }

  std::array<unsigned char, 3> m_bytes{0, 0, 0};
  unsigned char m_length = 0;
};

// A message with its time: pulses (file resolution, 768 per second for live input, 0 for built
// streams) and seconds, by which playback is scheduled.
class MidiEvent {
 public:
  MidiEvent() = default;
  MidiEvent(const MidiMessage& message, unsigned int pulses, double seconds)
      : m_message(message), m_pulses(pulses), m_seconds(seconds) {}

  const MidiMessage& GetMessage() const { return m_message; }
  MidiMessage& GetMessage() { return m_message; }
  double GetTime() const { return m_seconds; }
  unsigned int GetTimePulses() const { return m_pulses; }

 private:
  MidiMessage m_message;
  std::uint32_t m_pulses = 0;
  double m_seconds = 0.0;
};

// Events in playback order, which is their time order: a player sends them in the order they
// stand, so a stream built out of time order would sound out of time. AddEvent puts each event at
// its time, and Normalize sorts events placed by index or through GetEvents() alike. Events of one
// time keep the order they came in, except that a note struck at that time comes after the other
// events there: a note that ends as it is struck again sounds anew. Times compare in seconds, then
// in pulses, for streams that are timed in pulses only.
//
// A record of what arrived (a device's record, the notes of an answer) appends to GetEvents()
// instead, keeping the order of arrival, whatever the events' clocks say.
class MidiStream {
 public:
  QVector<MidiEvent>& GetEvents() { return m_events; }
  const QVector<MidiEvent>& GetEvents() const { return m_events; }

  void Clear() { m_events.clear(); }
  // Puts the event in its place in time order, behind the events already there that it does not
  // play before; at the end at once when events are added in time order.
  void AddEvent(const MidiEvent& event);
  void InsertEvent(unsigned long index, const MidiEvent& event) {
    m_events.insert(static_cast<qsizetype>(index), event);
  }
  void ReplaceEvent(unsigned long index, const MidiEvent& event) {
    m_events[static_cast<qsizetype>(index)] = event;
  }
  void CopyFrom(const MidiStream& other) { m_events = other.m_events; }
  void Normalize();
  unsigned int GetDurationPulses() const {
    return m_events.isEmpty() ? 0 : m_events.constLast().GetTimePulses();
  }

 private:
  QVector<MidiEvent> m_events;
};

constexpr unsigned long MidiKeyCount = 120;

// Last velocity or pressure of each key of one channel; 0 is a key that is up.
class MidiKeyboardState {
 public:
  void Clear() { m_keys.fill(0); }
  const std::array<unsigned char, MidiKeyCount>& GetRaw() const { return m_keys; }
  unsigned char GetKey(unsigned long index) const;
  void SetKey(unsigned long index, unsigned char value);

 private:
  std::array<unsigned char, MidiKeyCount> m_keys{};
};

// True for the black keys of the 88-key piano; defined for notes 21 (A0) to 108 (C8).
bool IsMidiChromatic(unsigned char note);

}  // namespace Core

Q_DECLARE_METATYPE(Core::MidiMessage)
Q_DECLARE_METATYPE(Core::MidiEvent)
Q_DECLARE_METATYPE(Core::MidiStream)
