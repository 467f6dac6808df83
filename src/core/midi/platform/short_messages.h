#pragma once

// Splits the bytes a MIDI port hands over into the short messages inside them. A port may join a
// system-exclusive message that lacks its closing 0xF7 with the messages after it (RtMidi's ALSA
// input joins it with the next event); a broken system-exclusive message may lose itself, never
// what comes after it. So the bytes are walked: system-exclusive data is skipped, every other
// status byte starts a message of its known length, and real-time bytes stand alone wherever they
// are. A message cut short by the next status byte or by the end is dropped.

#include <array>
#include <cstddef>

namespace Core {

// Length of the message that `status` starts; 0 for system exclusive, its end, the undefined
// system-common bytes and data bytes.
constexpr unsigned int ShortMessageLength(unsigned char status) {
  if (status < 0x80) return 0;
  if (status < 0xF0) {
    const unsigned char command = status & 0xF0;
    return command == 0xC0 || command == 0xD0 ? 2 : 3;
  }
  if (status >= 0xF8) return 1;
  switch (status) {
    case 0xF1:  // time code quarter frame
    case 0xF3:  // song select
      return 2;
    case 0xF2:  // song position
      return 3;
    case 0xF6:  // tune request
      return 1;
    default:
      return 0;
  }
}

// Calls `deliver(const unsigned char* bytes, unsigned int length)` for every complete short
// message in `bytes`, in order.
template <class Deliver>
void ForEachShortMessage(const unsigned char* bytes, std::size_t size, Deliver&& deliver) {
  std::array<unsigned char, 3> pending{};
  unsigned int wanted = 0;  // length of the message being gathered, 0 while none is
  unsigned int have = 0;
  for (std::size_t i = 0; i < size; ++i) {
    const unsigned char byte = bytes[i];
    if (byte >= 0xF8) {
      deliver(&bytes[i], 1u);  // real time may come even between a message's bytes
      continue;
    }
    if (byte & 0x80) {
      wanted = ShortMessageLength(byte);
      pending[0] = byte;
      have = 1;
    } else if (wanted > 0 && have < wanted) {
      pending[have++] = byte;
    } else {
      continue;  // system-exclusive data, or a data byte that belongs to no message
    }
    if (wanted > 0 && have == wanted) {
      deliver(pending.data(), wanted);
      wanted = 0;
    }
  }
}

}  // namespace Core
