#include "src/core/midi/platform/program_change_queue.h"

#include <pthread.h>
#include <sched.h>

#include <utility>

namespace Core {

ProgramChangeQueue::ProgramChangeQueue(std::function<void(const SynthMessage&)> deliver)
    : m_deliver(std::move(deliver)), m_thread([this] { Run(); }) {}

ProgramChangeQueue::~ProgramChangeQueue() {
  {
    std::lock_guard lock(m_mutex);
    m_stopping = true;
  }
  m_queued.notify_all();
  m_delivered.notify_all();
  m_thread.join();
}

bool ProgramChangeQueue::SelectsInstrument(const SynthMessage& message) {
  int& program = m_program[message.Channel()];
  if (message.IsBankSelect()) program = -1;
  if (!message.IsProgramChange() || program == message.data1) return false;
  program = message.data1;
  return true;
}

void ProgramChangeQueue::Send(const SynthMessage& message) {
  std::unique_lock lock(m_mutex);
  const bool selects = SelectsInstrument(message);
  // Delivered under the lock, so it cannot overtake a waiting message nor run beside one.
  if (m_count == 0 && !selects) {
    m_deliver(message);
    return;
  }
  m_delivered.wait(lock, [this] { return m_count < Capacity || m_stopping; });
  if (m_stopping) return;
  m_waiting[(m_head + m_count) % Capacity] = {message, selects};
  const bool first = ++m_count == 1;
  lock.unlock();
  if (first) m_queued.notify_one();
}

void ProgramChangeQueue::WaitUntilDelivered() {
  std::unique_lock lock(m_mutex);
  m_delivered.wait(lock, [this] { return m_count == 0 || m_stopping; });
}

void ProgramChangeQueue::Pop() {
  m_head = (m_head + 1) % Capacity;
  --m_count;
}

void ProgramChangeQueue::Run() {
  // Woken by a program change, this thread must not take the processor from the thread that
  // sent it, which goes on playing: a batch thread never preempts on waking.
  const sched_param batch{};
  pthread_setschedparam(pthread_self(), SCHED_BATCH, &batch);
  std::unique_lock lock(m_mutex);
  for (;;) {
    m_queued.wait(lock, [this] { return m_count > 0 || m_stopping; });
    if (m_stopping) return;
    // Only a selection at the head is applied without the lock: it is the slow one, and while
    // it stays at the head everything sent meanwhile queues up behind it.
    if (m_waiting[m_head].selects) {
      const SynthMessage change = m_waiting[m_head].message;
      lock.unlock();
      m_deliver(change);
      lock.lock();
      Pop();
    }
    while (m_count > 0 && !m_waiting[m_head].selects) {
      m_deliver(m_waiting[m_head].message);
      Pop();
    }
    m_delivered.notify_all();
  }
}

}  // namespace Core
