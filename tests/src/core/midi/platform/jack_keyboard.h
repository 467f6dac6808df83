#pragma once

// The keyboard of the tests and benchmarks that play MIDI through a JACK server.

#include <jack/jack.h>
#include <jack/midiport.h>
#include <jack/ringbuffer.h>

#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "src/common/assertion.h"
#include "src/core/midi/platform/jack_midi_queue.h"

namespace Testing {

// How long a test waits for MIDI its keyboard sent before it sends again: a server without
// real-time scheduling on a busy machine misses a cycle now and then, and the MIDI of that cycle
// is gone. Whatever is only late is still waited for with the test's whole patience.
constexpr int LostMessageMs = 2000;

// A keyboard on the server, as a USB keyboard's driver would make it: a JACK client of its own
// named `client` with one MIDI output port, "<client>:out". Each message goes out in the next
// cycle as an event of its own; at most `perCycle` of them share a cycle, as when a keyboard is
// played, or all that wait (a burst, as RtMidi's own output sends it). Its client closes before
// its queue goes, so no cycle of its client reads a queue that is gone.
class JackKeyboard {
 public:
  static constexpr size_t AllAtOnce = Core::JackMidiQueue::AllWaiting;

  explicit JackKeyboard(const std::string& client, size_t perCycle = AllAtOnce)
      : m_client(jack_client_open(client.c_str(), JackNoStartServer, nullptr)),
        m_perCycle(perCycle),
        m_timed(jack_ringbuffer_create(TimedRingBytes)) {
    if (!m_client) return;
    m_port = jack_port_register(m_client, "out", JACK_DEFAULT_MIDI_TYPE, JackPortIsOutput, 0);
    if (!m_port || jack_set_process_callback(m_client, &JackKeyboard::Process, this) != 0 ||
        jack_activate(m_client) != 0)
      m_port = nullptr;
  }
  ~JackKeyboard() {
    if (m_client) jack_client_close(m_client);
    jack_ringbuffer_free(m_timed);
  }
  JackKeyboard(const JackKeyboard&) = delete;
  JackKeyboard& operator=(const JackKeyboard&) = delete;

  bool IsOpen() const { return m_port; }
  // The full port name, "<client>:out" (the server may have changed the client's name).
  std::string Name() const { return jack_port_name(m_port); }
  // Far more than any test or benchmark sends at once fits in the queue.
  void Send(const std::vector<unsigned char>& bytes) {
    const bool queued = m_queue.Push(bytes.data(), bytes.size());
    MELVARIN_ASSERT(queued);
  }
  void Press(int note) { Send({0x90, static_cast<unsigned char>(note), 100}); }
  void Release(int note) { Send({0x80, static_cast<unsigned char>(note), 0}); }

  // Plays short messages as a hand does, each a number of milliseconds after the one before it
  // (the first that long after the cycle that takes it up), timed by the server's own frames.
  // Not to be mixed with Send in one cycle.
  void PlaySpaced(const std::vector<std::pair<int, std::vector<unsigned char>>>& messages) {
    const jack_nframes_t rate = m_client ? jack_get_sample_rate(m_client) : 48000;
    for (const auto& [gapMs, bytes] : messages) {
      MELVARIN_ASSERT(!bytes.empty() && bytes.size() <= 3);
      TimedMessage message;
      message.gap = static_cast<uint32_t>(static_cast<uint64_t>(gapMs) * rate / 1000);
      message.length = static_cast<uint8_t>(bytes.size());
      for (size_t i = 0; i < bytes.size(); ++i) message.bytes[i] = bytes[i];
      MELVARIN_ASSERT(jack_ringbuffer_write_space(m_timed) >= sizeof message);
      jack_ringbuffer_write(m_timed, reinterpret_cast<const char*>(&message), sizeof message);
    }
  }

  // The length of the server's cycle, in seconds.
  double CycleSeconds() const {
    return static_cast<double>(jack_get_buffer_size(m_client)) / jack_get_sample_rate(m_client);
  }

  // How many messages went out so far, and the server's time in microseconds (the clock of
  // jack_frames_to_time) at which the n-th of them did, counted from 0; 0 when not recorded.
  size_t SentCount() const { return m_sentCount.load(); }
  jack_time_t SentAt(size_t n) const { return n < m_sentAt.size() ? m_sentAt[n].load() : 0; }

 private:
  static int Process(jack_nframes_t frames, void* self) {
    auto* keyboard = static_cast<JackKeyboard*>(self);
    const size_t sent = keyboard->m_queue.FillCycle(jack_port_get_buffer(keyboard->m_port, frames),
                                                    frames, keyboard->m_perCycle);
    const jack_nframes_t cycleStart = jack_last_frame_time(keyboard->m_client);
    const size_t before = keyboard->m_sentCount.load();
    for (size_t i = 0; i < sent && before + i < keyboard->m_sentAt.size(); ++i) {
      const auto frame = static_cast<jack_nframes_t>(i < frames ? i : frames - 1);
      keyboard->m_sentAt[before + i] = jack_frames_to_time(keyboard->m_client, cycleStart + frame);
    }
    keyboard->m_sentCount.store(before + sent);
    keyboard->PlayTimed(frames);
    return 0;
  }

  struct TimedMessage {
    uint32_t gap = 0;  // frames after the message before it
    uint8_t length = 0;
    std::array<unsigned char, 3> bytes{};
  };
  static constexpr size_t TimedRingBytes = 4096 * sizeof(TimedMessage);

  // Process thread: places the spaced messages that fall due in this cycle at their frames.
  void PlayTimed(jack_nframes_t frames) {
    void* buffer = jack_port_get_buffer(m_port, frames);
    jack_nframes_t frame = 0;
    for (;;) {
      if (!m_hasTimed) {
        if (jack_ringbuffer_read_space(m_timed) < sizeof m_nextTimed) return;
        jack_ringbuffer_read(m_timed, reinterpret_cast<char*>(&m_nextTimed), sizeof m_nextTimed);
        m_hasTimed = true;
        m_waitFrames = m_nextTimed.gap;
      }
      if (m_waitFrames >= frames - frame) {
        m_waitFrames -= frames - frame;
        return;
      }
      frame += m_waitFrames;
      m_waitFrames = 0;
      jack_midi_event_write(buffer, frame, m_nextTimed.bytes.data(), m_nextTimed.length);
      m_hasTimed = false;
    }
  }

  jack_client_t* m_client;
  size_t m_perCycle;
  jack_port_t* m_port = nullptr;
  Core::JackMidiQueue m_queue;
  std::atomic<size_t> m_sentCount{0};
  std::array<std::atomic<jack_time_t>, 4096> m_sentAt{};
  // Spaced messages: written by the test, read by the process thread.
  jack_ringbuffer_t* m_timed;
  TimedMessage m_nextTimed;  // process thread only, as the two below
  bool m_hasTimed = false;
  jack_nframes_t m_waitFrames = 0;
};

}  // namespace Testing
