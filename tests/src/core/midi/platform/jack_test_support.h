#pragma once

// Helpers for tests that talk to a real JACK server (the dummy back end started by the test
// script). Without a server they skip with a message; they never pass on their own.

#include <gtest/gtest.h>

#include <QtGlobal>

#include <RtMidi.h>
#include <jack/jack.h>
#include <jack/midiport.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>
#include <vector>

#include <unistd.h>

#include "src/core/midi/observers.h"
#include "support/patience.h"
#include "tests/src/core/midi/platform/jack_keyboard.h"

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
  ~JackNoticeCounter() { Close(); }

  // Stops the notices: a counter whose callbacks use members of its own closes first.
  void Close() {
    if (m_client) jack_client_close(m_client);
    m_client = nullptr;
  }

  jack_client_t* m_client;
  std::atomic<int> m_count{0};
};

// Counts the cycles the JACK server missed. A server without real-time scheduling on a busy
// machine misses some, or stalls for a while, and the MIDI of such cycles is lost or late. Tests
// that time or count MIDI therefore repeat an attempt (up to five times) when cycles were missed
// during it or when not everything arrived; a device that really loses messages fails all five.
// The server's notice of a missed cycle reaches this counter some time after the cycle, possibly
// only after an attempt that ended right after the cycle was judged: an attempt that saw
// something wrong catches up with the notices (CaughtUp) before it blames the program.
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
    jack_set_client_registration_callback(m_client, &XrunCounter::OnClient, this);
    jack_activate(m_client);
  }
  ~XrunCounter() { Close(); }

  // Waits until the notices of the cycles missed so far have been counted. The server checks a
  // cycle when it begins the next one and hands its notice to its own request thread, which
  // passes notices on in the order it takes them; a client that opens once a later cycle has
  // begun is announced after them. That client has no ports, so nothing that looks for MIDI ports
  // sees it, and no window of the program rescans for it. False if it was not announced.
  bool CaughtUp() {
    if (!m_client) return false;
    const jack_nframes_t cycle = jack_last_frame_time(m_client);
    if (!Await([&] { return jack_last_frame_time(m_client) != cycle; })) return false;
    const std::string name =
        "melvarin-catch-up-" + std::to_string(getpid()) + "-" + std::to_string(++m_probes);
    {
      std::lock_guard lock(m_mutex);
      m_awaited = name;
      m_announced = false;
    }
    jack_client_t* probe =
        jack_client_open(name.c_str(), JackOptions(JackNoStartServer | JackUseExactName), nullptr);
    if (!probe) return false;
    const bool announced = Await([&] { return m_announced; });
    jack_client_close(probe);
    return announced;
  }

  // Runs `attempt` (which returns whether everything arrived and nothing it saw shows a late
  // cycle) until one is complete and ran without missed cycles, at most five times: a loaded
  // machine may miss cycles in three attempts running. Returns whether one did.
  template <class Attempt>
  bool RunClean(Attempt&& attempt) {
    for (int round = 1; round <= 5; ++round) {
      const int before = Count();
      const bool complete = attempt();
      if (complete && Count() == before) return true;
    }
    return false;
  }

  // Sends with `send` and waits with `arrived`, which tells whether what was sent came within
  // its own bound. Sends again, three times in all, only when nothing came and cycles were missed
  // meanwhile: what is late but not lost is not sent twice. Returns whether it came.
  template <class Send, class Arrived>
  bool SendAgainIfLost(Send&& send, Arrived&& arrived) {
    for (int round = 1; round <= 3; ++round) {
      const int before = Count();
      send();
      if (arrived()) return true;
      if (Count() == before) return false;
    }
    return false;
  }

 private:
  static void OnClient(const char* name, int registered, void* self) {
    auto* counter = static_cast<XrunCounter*>(self);
    {
      std::lock_guard lock(counter->m_mutex);
      if (registered && counter->m_awaited == name) counter->m_announced = true;
    }
    counter->m_changed.notify_all();
  }

  // Waits, with the tests' patience, until `ready` holds under the lock. The server gives no
  // notice of a new cycle, so `ready` is also asked again every millisecond. (The waits of the
  // midi tests are not used here: the screen tests include this file and keep their own waits,
  // which run the event loop.)
  template <class Ready>
  bool Await(Ready ready) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(PatienceMs);
    std::unique_lock lock(m_mutex);
    while (!ready()) {
      if (std::chrono::steady_clock::now() > deadline) return false;
      m_changed.wait_for(lock, std::chrono::milliseconds(1));
    }
    return true;
  }

  std::condition_variable m_changed;
  std::mutex m_mutex;
  std::string m_awaited;  // the name of the client whose announcement CaughtUp waits for
  bool m_announced = false;
  int m_probes = 0;  // test thread only
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

  bool WaitFor(size_t count, std::chrono::milliseconds timeout = std::chrono::seconds(10)) {
    std::unique_lock lock(m_mutex);
    return m_changed.wait_for(lock, timeout, [&] { return m_events.size() >= count; });
  }

  // Waits until the last message delivered has the status byte `status`: a marker sent after
  // everything else.
  bool WaitForLast(unsigned char status) {
    std::unique_lock lock(m_mutex);
    return m_changed.wait_for(lock, std::chrono::seconds(10), [&] {
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
