#pragma once

// MIDI messages on their way from the threads that send them to a JACK output port. Senders
// write into a lock-free ring (one at a time, under a lock of the senders' own); the port's
// process callback reads from it without locking or allocating, since JACK's process thread
// must never wait. The owner closes its JACK client before the queue goes, so no callback can
// still be reading it.

#include <jack/jack.h>
#include <jack/ringbuffer.h>

#include <cstddef>
#include <mutex>

namespace Core {

class JackMidiQueue {
 public:
  static constexpr size_t AllWaiting = static_cast<size_t>(-1);

  JackMidiQueue();
  ~JackMidiQueue();
  JackMidiQueue(const JackMidiQueue&) = delete;
  JackMidiQueue& operator=(const JackMidiQueue&) = delete;

  // Any thread. False, and the message is lost, when it is empty or the queue has no room left.
  bool Push(const unsigned char* bytes, size_t length);

  // Process thread only: clears the port's buffer for this cycle and moves up to `limit` waiting
  // messages into it, in order, the n-th at frame n (or the cycle's last frame). What does not
  // fit waits for the next cycle; a message too long for any cycle is dropped, so that it cannot
  // hold back the rest. Returns how many went into the buffer.
  size_t FillCycle(void* portBuffer, jack_nframes_t frames, size_t limit = AllWaiting);

 private:
  jack_ringbuffer_t* m_ring;
  std::mutex m_senders;
};

}  // namespace Core
