#include "src/core/midi/midi.h"

#include <algorithm>
#include <tuple>

namespace Core {

MidiMessage::MidiMessage(const unsigned char* bytes, unsigned long size) {
  MELVARIN_ASSERT(size > 0);
  MELVARIN_ASSERT(size <= MaxLength);
  m_bytes[0] = bytes[0];
  if (size >= 2) m_bytes[1] = bytes[1];
  if (size >= 3) m_bytes[2] = bytes[2];
  m_length = static_cast<unsigned char>(size);
}

unsigned char MidiMessage::GetByte(unsigned long index) const {
  const unsigned long Length = m_length;
  MELVARIN_ASSERT(index < Length);
  return m_bytes[index];
}

unsigned char MidiMessage::GetChannel() const {
  MELVARIN_ASSERT(!IsMeta());
  return m_bytes[0] & 0x0F;
}

unsigned char MidiMessage::GetNote() const {
  MELVARIN_ASSERT(IsNoteOn() || IsNoteOff() || IsAftertouch());
  return m_bytes[1];
}

unsigned char MidiMessage::GetVelocity() const {
  MELVARIN_ASSERT(IsNoteOn() || IsNoteOff());
  return m_bytes[2];
}

unsigned char MidiMessage::GetPressure() const {
  if (IsChannelPressure()) return m_bytes[1];
  if (IsAftertouch()) return m_bytes[2];
  MELVARIN_ASSERT(false);
}

void MidiMessage::SetVelocity(unsigned char velocity) {
  MELVARIN_ASSERT(IsNoteOn() || IsNoteOff());
  m_bytes[2] = velocity;
}

bool operator==(const MidiMessage& a, const MidiMessage& b) {
  if (a.m_length != b.m_length) return false;
  return std::equal(a.m_bytes.begin(), a.m_bytes.begin() + a.m_length, b.m_bytes.begin());
}

namespace {

// Where an event stands in a stream: by its time, and at one time a strike after everything else,
// so that a note released and struck again at one moment sounds anew.
bool PlaysBefore(const MidiEvent& a, const MidiEvent& b) {
  const auto place = [](const MidiEvent& event) {
    return std::tuple(event.GetTime(), event.GetTimePulses(),
                      event.GetMessage().IsNoteAudible() ? 1 : 0);
  };
  return place(a) < place(b);
}

}  // namespace

void MidiStream::AddEvent(const MidiEvent& event) {
  // From the end: streams are mostly built in time order.
  qsizetype at = m_events.size();
  while (at > 0 && PlaysBefore(event, m_events[at - 1])) --at;
  m_events.insert(at, event);
}

void MidiStream::Normalize() {
  std::stable_sort(m_events.begin(), m_events.end(), PlaysBefore);
}

unsigned char MidiKeyboardState::GetKey(unsigned long index) const {
  MELVARIN_ASSERT(index < MidiKeyCount);
  return m_keys[index];
}

void MidiKeyboardState::SetKey(unsigned long index, unsigned char value) {
  MELVARIN_ASSERT(index < MidiKeyCount);
  m_keys[index] = value;
}

bool IsMidiChromatic(unsigned char note) {
  const int key = note - 21;
  if (key == 87) return false;   // C8
  if (key < 3) return key == 1;  // A0, A#0, B0 below the first full octave
  // By pitch class from C: C#, D#, F#, G# and A# are the black keys.
  constexpr bool Black[12] = {false, true,  false, true,  false, false,
                              true,  false, true,  false, true,  false};
  return Black[(note - 24) % 12];
}

}  // namespace Core
