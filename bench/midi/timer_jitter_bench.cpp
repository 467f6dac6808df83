// How steadily the real timer thread ticks: an observer notes the steady clock at every call
// and the benchmark reports the gaps between consecutive calls (median, 99th percentile and
// worst, in microseconds) against the nominal period.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <thread>
#include <vector>

#include "src/core/midi/timer.h"

namespace {

class GapRecorder : public Core::MultimediaTimerObserver {
 public:
  explicit GapRecorder(size_t ticks) { m_times.reserve(ticks); }
  void OnTimer(long long) override {
    if (m_times.size() < m_times.capacity()) {
      m_times.push_back(std::chrono::steady_clock::now());
      m_count.store(m_times.size());
    }
  }
  bool Full() const { return m_count.load() == m_times.capacity(); }
  // Only after Full() has been seen: the timer thread writes nothing more then.
  std::vector<double> GapsMicroseconds() const {
    std::vector<double> gaps;
    for (size_t i = 1; i < m_times.size(); ++i)
      gaps.push_back(
          std::chrono::duration<double, std::micro>(m_times[i] - m_times[i - 1]).count());
    return gaps;
  }

 private:
  std::vector<std::chrono::steady_clock::time_point> m_times;
  std::atomic<size_t> m_count{0};
};

double Percentile(std::vector<double> values, double fraction) {
  std::sort(values.begin(), values.end());
  const size_t index = static_cast<size_t>(fraction * static_cast<double>(values.size() - 1));
  return values[index];
}

void BM_TimerThreadPeriod(benchmark::State& state) {
  const size_t ticks = static_cast<size_t>(state.range(0));
  std::vector<double> gaps;
  for (auto _ : state) {
    GapRecorder recorder(ticks + 1);
    Core::Timer::Add(&recorder);
    while (!recorder.Full()) std::this_thread::sleep_for(std::chrono::milliseconds(20));
    Core::Timer::Remove(&recorder);
    const std::vector<double> run = recorder.GapsMicroseconds();
    gaps.insert(gaps.end(), run.begin(), run.end());
  }
  state.counters["period_us"] = Core::Timer::PeriodMs * 1000.0;
  state.counters["median_gap_us"] = Percentile(gaps, 0.5);
  state.counters["p99_gap_us"] = Percentile(gaps, 0.99);
  state.counters["max_gap_us"] = Percentile(gaps, 1.0);
  state.counters["gaps"] = static_cast<double>(gaps.size());
}

BENCHMARK(BM_TimerThreadPeriod)
    ->Arg(2000)
    ->Iterations(1)
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
