#pragma once

// The hand-over of MIDI input from the driver's thread to the device's observers. The driver's
// thread must never wait: JACK's process thread that waits misses its cycles, and the keys of
// those cycles are gone for good. The observers may wait, though: the exercise judges a key under
// its lock, which the screen or the timer may hold for a while. So the driver's thread only
// stamps each message and puts it here, without locking or allocating, and a thread of the
// queue's own delivers the messages in order. A wait of the observers then makes the keys late,
// never lost.

#include <semaphore.h>

#include <atomic>
#include <cstdint>
#include <functional>
#include <thread>
#include <vector>

#include "src/core/midi/midi.h"

namespace Core {

class MidiInputQueue {
 public:
  // Far more messages than a keyboard sends while an observer waits for a lock.
  static constexpr std::size_t DefaultCapacity = 8192;

  using Deliver = std::function<void(const MidiEvent&)>;

  // Starts the delivering thread, which calls `deliver` for each message.
  explicit MidiInputQueue(Deliver deliver, std::size_t capacity = DefaultCapacity);
  // Delivers what is still queued, then stops the thread. The driver must have stopped adding;
  // the caller must not hold a lock that an observer takes.
  ~MidiInputQueue();
  MidiInputQueue(const MidiInputQueue&) = delete;
  MidiInputQueue& operator=(const MidiInputQueue&) = delete;

  // The driver's thread, one at a time: queues the event and wakes the delivering thread. False,
  // and the event is dropped, only when the queue is full.
  bool Push(const MidiEvent& event);

 private:
  void Run();

  Deliver m_deliver;
  std::vector<MidiEvent> m_ring;              // sized once; slot i % size
  std::atomic<std::uint64_t> m_pushed{0};     // written by the driver's thread
  std::atomic<std::uint64_t> m_delivered{0};  // written by the delivering thread
  std::atomic<bool> m_stop{false};
  // Posted at every push and at the stop; the delivering thread sleeps on it. A POSIX semaphore:
  // posting one never waits, as the driver's thread must not.
  sem_t m_signal;
  std::thread m_thread;  // started once everything above is in place
};

}  // namespace Core
