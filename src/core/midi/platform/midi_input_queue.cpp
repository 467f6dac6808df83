#include "src/core/midi/platform/midi_input_queue.h"

#include <utility>

#include "src/common/assertion.h"

namespace Core {

MidiInputQueue::MidiInputQueue(Deliver deliver, std::size_t capacity)
    : m_deliver(std::move(deliver)), m_ring(capacity) {
  MELVARIN_ASSERT(capacity > 0);
  sem_init(&m_signal, 0, 0);
  m_thread = std::thread([this] { Run(); });
}

MidiInputQueue::~MidiInputQueue() {
  m_stop.store(true);
  sem_post(&m_signal);
  m_thread.join();
  sem_destroy(&m_signal);
}

bool MidiInputQueue::Push(const MidiEvent& event) {
  const std::uint64_t pushed = m_pushed.load(std::memory_order_relaxed);
  if (pushed - m_delivered.load(std::memory_order_acquire) >= m_ring.size()) return false;
  m_ring[pushed % m_ring.size()] = event;
  m_pushed.store(pushed + 1, std::memory_order_release);
  sem_post(&m_signal);
  return true;
}

void MidiInputQueue::Run() {
  std::uint64_t delivered = 0;
  for (;;) {
    const std::uint64_t pushed = m_pushed.load(std::memory_order_acquire);
    while (delivered < pushed) {
      // A copy: the slot is free for the driver once `m_delivered` passes it.
      const MidiEvent event = m_ring[delivered % m_ring.size()];
      m_delivered.store(++delivered, std::memory_order_release);
      m_deliver(event);
    }
    // What was pushed before the stop is still delivered.
    if (m_stop.load() && m_pushed.load(std::memory_order_acquire) == delivered) return;
    // Each push has posted once; a post seen here for an event already delivered only makes
    // one more round.
    while (sem_wait(&m_signal) != 0) {
    }
  }
}

}  // namespace Core
