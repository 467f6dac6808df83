#pragma once

// A program change makes the synthesizer read the new instrument's samples from the SoundFont,
// which takes milliseconds (longer from a cold disk). The threads that send messages, the timer
// thread that plays questions above all, must not wait for that. A program change is therefore
// applied on a thread of its own, and every message sent after it waits, in order, until it has
// been applied: the note sent right behind a program change already sounds with the new
// instrument, a little later, and no sending thread stalls. A program change that repeats its
// channel's last one (as each question's does) selects nothing new and goes straight through.

#include <array>
#include <condition_variable>
#include <cstddef>
#include <functional>
#include <mutex>
#include <thread>

namespace Core {

// A complete channel message (status and two data bytes; unused data bytes are 0).
struct SynthMessage {
  unsigned char status = 0;
  unsigned char data1 = 0;
  unsigned char data2 = 0;
  int Channel() const { return status & 0x0F; }
  bool IsProgramChange() const { return (status & 0xF0) == 0xC0; }
  bool IsBankSelect() const { return (status & 0xF0) == 0xB0 && (data1 == 0 || data1 == 32); }
  bool operator==(const SynthMessage&) const = default;
};

class ProgramChangeQueue {
 public:
  // `deliver` hands one message to the synthesizer; it is never called for two messages at once.
  explicit ProgramChangeQueue(std::function<void(const SynthMessage&)> deliver);
  // Stops the loading thread after the message it is applying; what still waits is dropped.
  ~ProgramChangeQueue();
  ProgramChangeQueue(const ProgramChangeQueue&) = delete;
  ProgramChangeQueue& operator=(const ProgramChangeQueue&) = delete;

  // Delivers the message at once, unless it selects an instrument or a selection is still being
  // applied. No allocation; waits only when `Capacity` messages are already waiting.
  void Send(const SynthMessage& message);
  // Returns when every message sent before the call has been delivered.
  void WaitUntilDelivered();

  static constexpr std::size_t Capacity = 4096;

 private:
  struct Waiting {
    SynthMessage message;
    bool selects = false;  // applied without the lock, on the loading thread
  };

  // Whether the synthesizer may have to load an instrument for `message`; keeps the record of
  // each channel's program in the order of sending.
  bool SelectsInstrument(const SynthMessage& message);
  void Run();
  void Pop();

  const std::function<void(const SynthMessage&)> m_deliver;
  std::mutex m_mutex;
  std::condition_variable m_queued;     // the loading thread has work or is to stop
  std::condition_variable m_delivered;  // the queue shrank
  std::array<Waiting, Capacity> m_waiting;
  // Each channel's program; -1: not known, or a bank was selected since.
  std::array<int, 16> m_program = [] {
    std::array<int, 16> unknown;
    unknown.fill(-1);
    return unknown;
  }();
  std::size_t m_head = 0;
  std::size_t m_count = 0;
  bool m_stopping = false;
  std::thread m_thread;  // last: it starts once everything above is set up
};

}  // namespace Core
