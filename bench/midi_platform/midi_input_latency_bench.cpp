// Latency of live MIDI input: from a message leaving another program's JACK MIDI port to the
// input device's observer being called with it. Needs a running JACK server
// (scripts/jack-service.sh start <pidfile>); reports the median and the 99th percentile.

#include <benchmark/benchmark.h>

#include <QtGlobal>

#include <RtMidi.h>
#include <jack/jack.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "src/core/midi/platform/midi_device_rt.h"
#include "tests/src/core/midi/platform/jack_keyboard.h"

namespace {

using Clock = std::chrono::steady_clock;

bool JackServerAnswers() {
  jack_status_t status;
  jack_client_t* client = jack_client_open("melvarin-bench-probe", JackNoStartServer, &status);
  if (!client) return false;
  jack_client_close(client);
  return true;
}

// Arrival time of the last delivery of each note number.
class ArrivalClock : public Core::MidiDeviceObserver {
 public:
  void OnMidiEvent(const Core::MidiEvent& event) override {
    {
      std::lock_guard lock(m_mutex);
      m_arrivals[event.GetMessage().GetNote() & 0x7F] = Clock::now();
    }
    m_arrived.notify_one();
  }
  void Forget(unsigned char note) {
    std::lock_guard lock(m_mutex);
    m_arrivals[note] = Clock::time_point();
  }
  // Waits for `note`; false when it does not come within `timeout`.
  bool Wait(unsigned char note, std::chrono::milliseconds timeout, Clock::time_point& arrival) {
    std::unique_lock lock(m_mutex);
    if (!m_arrived.wait_for(lock, timeout, [&] { return m_arrivals[note] != Clock::time_point(); }))
      return false;
    arrival = m_arrivals[note];
    return true;
  }

 private:
  std::mutex m_mutex;
  std::condition_variable m_arrived;
  Clock::time_point m_arrivals[128];
};

void BM_MidiInputLatency(benchmark::State& state) {
  qputenv("MELVARIN_MIDI_API", "jack");
  if (!JackServerAnswers()) {
    state.SkipWithError("No JACK server answers; start one with scripts/jack-service.sh.");
    return;
  }
  Testing::JackKeyboard keyboard("Melvarin Latency Keyboard");
  if (!keyboard.IsOpen()) {
    state.SkipWithError("The benchmark's keyboard could not open its JACK port.");
    return;
  }
  RtMidiIn lookup(RtMidi::UNIX_JACK, "melvarin-bench-lookup");
  int port = -1;
  for (unsigned int i = 0; i < lookup.getPortCount(); ++i)
    if (lookup.getPortName(i) == keyboard.Name()) port = static_cast<int>(i);
  if (port < 0) {
    state.SkipWithError("The benchmark's own JACK port was not found.");
    return;
  }
  Core::MidiInRtDevice device(static_cast<unsigned int>(port));
  if (!device.IsOk() || device.GetName() != QString::fromStdString(keyboard.Name())) {
    state.SkipWithError("The input device did not open the benchmark's own port.");
    return;
  }
  ArrivalClock observer;
  device.AddObserver(&observer);

  std::vector<double> latencies;
  unsigned long sent = 0;
  unsigned long lost = 0;
  unsigned int phase = 12345;
  for (auto _ : state) {
    // Messages leave at random points of the server's period, as key presses do; sending right
    // after the previous arrival would always hit the same point of the cycle.
    state.PauseTiming();
    phase = phase * 1103515245u + 12345u;
    std::this_thread::sleep_for(std::chrono::microseconds((phase >> 8) % 6000));
    const auto note = static_cast<unsigned char>(36 + sent++ % 60);
    observer.Forget(note);
    state.ResumeTiming();

    const Clock::time_point start = Clock::now();
    keyboard.Press(note);
    Clock::time_point arrival;
    // A server without real-time scheduling on a busy machine misses cycles now and then, and
    // the MIDI of a missed cycle is gone: such messages are counted, not timed.
    if (!observer.Wait(note, std::chrono::milliseconds(250), arrival)) {
      ++lost;
      state.SetIterationTime(0.0);
      continue;
    }
    const double seconds = std::chrono::duration<double>(arrival - start).count();
    latencies.push_back(seconds);
    state.SetIterationTime(seconds);
  }
  device.RemoveObserver(&observer);

  if (!latencies.empty()) {
    std::sort(latencies.begin(), latencies.end());
    auto at = [&](double fraction) {
      return latencies[std::min(latencies.size() - 1,
                                static_cast<size_t>(fraction * (latencies.size() - 1) + 0.5))] *
             1e3;
    };
    state.counters["median_ms"] = at(0.5);
    state.counters["p99_ms"] = at(0.99);
    state.counters["max_ms"] = latencies.back() * 1e3;
  }
  state.counters["lost"] = static_cast<double>(lost);
}
BENCHMARK(BM_MidiInputLatency)->UseManualTime()->Iterations(1500)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
