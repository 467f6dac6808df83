#include "src/core/midi/platform/jack_midi_queue.h"

#include <jack/midiport.h>

#include <cstdint>

namespace Core {

namespace {

// Room for a burst of a few thousand short messages, or some long system-exclusive ones.
constexpr size_t RingBytes = 64 * 1024;

// Each message is stored as its length followed by its bytes.
using Length = uint32_t;

}  // namespace

JackMidiQueue::JackMidiQueue() : m_ring(jack_ringbuffer_create(RingBytes)) {}

JackMidiQueue::~JackMidiQueue() {
  jack_ringbuffer_free(m_ring);
}

bool JackMidiQueue::Push(const unsigned char* bytes, size_t length) {
  if (length == 0 || length > RingBytes) return false;
  std::lock_guard lock(m_senders);
  if (jack_ringbuffer_write_space(m_ring) < sizeof(Length) + length) return false;
  const auto stored = static_cast<Length>(length);
  jack_ringbuffer_write(m_ring, reinterpret_cast<const char*>(&stored), sizeof stored);
  jack_ringbuffer_write(m_ring, reinterpret_cast<const char*>(bytes), length);
  return true;
}

size_t JackMidiQueue::FillCycle(void* portBuffer, jack_nframes_t frames, size_t limit) {
  jack_midi_clear_buffer(portBuffer);
  size_t placed = 0;
  if (frames == 0) return placed;
  for (size_t taken = 0; taken < limit; ++taken) {
    Length length = 0;
    // The length is written before the bytes: a message counts once all of it is in.
    if (jack_ringbuffer_peek(m_ring, reinterpret_cast<char*>(&length), sizeof length) !=
            sizeof length ||
        jack_ringbuffer_read_space(m_ring) < sizeof length + length)
      break;
    const auto frame = static_cast<jack_nframes_t>(placed < frames ? placed : frames - 1);
    jack_midi_data_t* data = jack_midi_event_reserve(portBuffer, frame, length);
    if (!data && placed > 0) break;  // the buffer is full: the rest go in the next cycle
    jack_ringbuffer_read_advance(m_ring, sizeof length);
    if (data) {
      jack_ringbuffer_read(m_ring, reinterpret_cast<char*>(data), length);
      ++placed;
    } else {
      jack_ringbuffer_read_advance(m_ring, length);  // more than an empty buffer holds
    }
  }
  return placed;
}

}  // namespace Core
