#pragma once

// Helpers for tests that talk to a real JACK server (the dummy back end started by the test
// script). Without a server they skip with a message; they never pass on their own.

#include <gtest/gtest.h>

#include <QtGlobal>

#include <RtMidi.h>
#include <jack/jack.h>
#include <jack/midiport.h>

#include <array>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>
#include <vector>

#include "src/core/midi/observers.h"
#include "src/core/midi/platform/jack_midi_queue.h"

namespace Testing {

inline bool JackServerAnswers() {
  jack_status_t status;
  jack_client_t* client = jack_client_open("melvarin-probe", JackNoStartServer, &status);
  if (!client) return false;
  jack_client_close(client);
  return true;
}

// Uses JACK for the port devices and skips the test when no server answers.
#define MELVARIN_REQUIRE_JACK()                                                          \
  do {                                                                                   \
    qputenv("MELVARIN_MIDI_API", "jack");                                                \
    qputenv("JACK_NO_START_SERVER", "1");                                                \
    if (!::Testing::JackServerAnswers())                                                 \
      GTEST_SKIP() << "No JACK server answers; start one with scripts/jack-service.sh."; \
  } while (0)

// Tests that time or count MIDI passing through JACK. Under ThreadSanitizer the JACK clients of
// the test process miss their cycles and MIDI is lost or repeated inside the library, so these
// tests only run in normal and AddressSanitizer builds.
#if defined(__SANITIZE_THREAD__)
#define MELVARIN_REQUIRE_JACK_DELIVERY()                                                   \
  GTEST_SKIP() << "MIDI delivery through JACK is not tested under ThreadSanitizer; run a " \
                  "normal build."
#else
#define MELVARIN_REQUIRE_JACK_DELIVERY() MELVARIN_REQUIRE_JACK()
#endif

// A client of the test's own that counts one kind of notice from the JACK server.
class JackNoticeCounter {
 public:
  bool IsOpen() const { return m_client; }
  int Count() const { return m_count.load(); }

 protected:
  explicit JackNoticeCounter(const char* name)
      : m_client(jack_client_open(name, JackNoStartServer, nullptr)) {}
  ~JackNoticeCounter() {
    if (m_client) jack_client_close(m_client);
  }

  jack_client_t* m_client;
  std::atomic<int> m_count{0};
};

// Counts the cycles the JACK server missed. A server without real-time scheduling on a busy
// machine misses some, or stalls for a while, and the MIDI of such cycles is lost or late. Tests
// that time or count MIDI therefore repeat an attempt (up to three times) when cycles were missed
// during it or when not everything arrived; a device that really loses messages fails all three.
class XrunCounter : public JackNoticeCounter {
 public:
  XrunCounter() : JackNoticeCounter("melvarin-xrun-counter") {
    if (!m_client) return;
    jack_set_xrun_callback(
        m_client,
        [](void* count) {
          ++*static_cast<std::atomic<int>*>(count);
          return 0;
        },
        &m_count);
    jack_activate(m_client);
  }

  // Runs `attempt` (which returns whether everything arrived) until one is complete and ran
  // without missed cycles, at most three times.
  template <class Attempt>
  void RunClean(Attempt&& attempt) {
    for (int round = 1; round <= 3; ++round) {
      const int before = Count();
      const bool complete = attempt();
      if (complete && Count() == before) return;
    }
  }
};

// Counts the ports that come and go on the server, leaving out the input ports of port devices
// ("RtMidi Input"), which a rescan reopens and which are never MIDI sources. Tests share one
// server, so other programs' ports may come and go at any time, even within a moment.
class ForeignPortChanges : public JackNoticeCounter {
 public:
  ForeignPortChanges() : JackNoticeCounter("melvarin-port-changes") {
    if (!m_client) return;
    jack_set_port_registration_callback(m_client, &ForeignPortChanges::OnPort, this);
    jack_activate(m_client);
  }

 private:
  // A port that has just gone still has its name, so both notices can be told apart.
  static void OnPort(jack_port_id_t id, int, void* self) {
    auto* changes = static_cast<ForeignPortChanges*>(self);
    const jack_port_t* port = jack_port_by_id(changes->m_client, id);
    if (!port || jack_port_short_name(port) != std::string("RtMidi Input")) ++changes->m_count;
  }
};

// Index of the port whose name contains `part`, or -1.
template <class RtMidiPort>
int FindPort(RtMidiPort& midi, const std::string& part) {
  for (unsigned int i = 0; i < midi.getPortCount(); ++i)
    if (midi.getPortName(i).find(part) != std::string::npos) return static_cast<int>(i);
  return -1;
}

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
        m_perCycle(perCycle) {
    if (!m_client) return;
    m_port = jack_port_register(m_client, "out", JACK_DEFAULT_MIDI_TYPE, JackPortIsOutput, 0);
    if (!m_port || jack_set_process_callback(m_client, &JackKeyboard::Process, this) != 0 ||
        jack_activate(m_client) != 0)
      m_port = nullptr;
  }
  ~JackKeyboard() {
    if (m_client) jack_client_close(m_client);
  }
  JackKeyboard(const JackKeyboard&) = delete;
  JackKeyboard& operator=(const JackKeyboard&) = delete;

  bool IsOpen() const { return m_port; }
  // The full port name, "<client>:out" (the server may have changed the client's name).
  std::string Name() const { return jack_port_name(m_port); }
  void Send(const std::vector<unsigned char>& bytes) {
    EXPECT_TRUE(m_queue.Push(bytes.data(), bytes.size())) << "the keyboard's queue is full";
  }
  void Press(int note) { Send({0x90, static_cast<unsigned char>(note), 100}); }
  void Release(int note) { Send({0x80, static_cast<unsigned char>(note), 0}); }

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
    return 0;
  }

  jack_client_t* m_client;
  size_t m_perCycle;
  jack_port_t* m_port = nullptr;
  Core::JackMidiQueue m_queue;
  std::atomic<size_t> m_sentCount{0};
  std::array<std::atomic<jack_time_t>, 4096> m_sentAt{};
};

// Collects delivered events and lets the test thread wait for them.
class EventCollector : public Core::MidiDeviceObserver {
 public:
  void OnMidiEvent(const Core::MidiEvent& event) override {
    {
      std::lock_guard lock(m_mutex);
      m_events.push_back(event);
      m_arrivals.push_back(std::chrono::steady_clock::now());
    }
    m_changed.notify_all();
  }

  bool WaitFor(size_t count, std::chrono::milliseconds timeout = std::chrono::seconds(5)) {
    std::unique_lock lock(m_mutex);
    return m_changed.wait_for(lock, timeout, [&] { return m_events.size() >= count; });
  }

  // Waits until the last message delivered has the status byte `status`: a marker sent after
  // everything else.
  bool WaitForLast(unsigned char status) {
    std::unique_lock lock(m_mutex);
    return m_changed.wait_for(lock, std::chrono::seconds(5), [&] {
      return !m_events.empty() && m_events.back().GetMessage().GetRawData()[0] == status;
    });
  }

  std::vector<Core::MidiEvent> Events() {
    std::lock_guard lock(m_mutex);
    return m_events;
  }
  std::vector<std::chrono::steady_clock::time_point> Arrivals() {
    std::lock_guard lock(m_mutex);
    return m_arrivals;
  }
  void Clear() {
    std::lock_guard lock(m_mutex);
    m_events.clear();
    m_arrivals.clear();
  }

 private:
  std::mutex m_mutex;
  std::condition_variable m_changed;
  std::vector<Core::MidiEvent> m_events;
  std::vector<std::chrono::steady_clock::time_point> m_arrivals;
};

}  // namespace Testing
