// The software synthesizer's start with the system's General MIDI SoundFont (time and resident
// memory), and how long a thread that plays questions is held by a program change to an
// instrument and the note that follows it. Runs offline: no audio output is opened.

#include <benchmark/benchmark.h>

#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <memory>
#include <vector>

#include "src/core/midi/platform/midi_device_synth.h"

namespace {

using Clock = std::chrono::steady_clock;

double Milliseconds(Clock::duration d) {
  return std::chrono::duration<double, std::milli>(d).count();
}

double Microseconds(Clock::duration d) {
  return std::chrono::duration<double, std::micro>(d).count();
}

// Resident memory of this process in megabytes.
double ResidentMegabytes() {
  long pages = 0, resident = 0;
  if (FILE* statm = std::fopen("/proc/self/statm", "r")) {
    if (std::fscanf(statm, "%ld %ld", &pages, &resident) != 2) resident = 0;
    std::fclose(statm);
  }
  return static_cast<double>(resident) * static_cast<double>(sysconf(_SC_PAGESIZE)) / 1e6;
}

double Median(std::vector<double> values) {
  if (values.empty()) return 0.0;
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

Core::SynthOptions Offline() {
  Core::SynthOptions options;
  options.audioOutput = false;
  return options;
}

bool HasGeneralMidiSoundFont(benchmark::State& state) {
  if (!Core::SynthAudioSystem::DefaultSoundFont().isEmpty()) return true;
  state.SkipWithError("No General MIDI SoundFont is installed.");
  return false;
}

void BM_SynthStart(benchmark::State& state) {
  if (!HasGeneralMidiSoundFont(state)) return;
  std::vector<double> growth, times;
  double resident = 0.0;
  for (auto _ : state) {
    const double before = ResidentMegabytes();
    const Clock::time_point start = Clock::now();
    auto synth = std::make_unique<Core::MidiOutSynthDevice>(Offline());
    const Clock::duration took = Clock::now() - start;
    state.SetIterationTime(std::chrono::duration<double>(took).count());
    times.push_back(Milliseconds(took));
    resident = ResidentMegabytes();
    growth.push_back(resident - before);
    state.PauseTiming();
    synth.reset();
    state.ResumeTiming();
  }
  state.counters["start_median_ms"] = Median(times);
  state.counters["resident_growth_MB"] = Median(growth);
  state.counters["process_resident_MB"] = resident;
}
BENCHMARK(BM_SynthStart)->UseManualTime()->Iterations(15)->Unit(benchmark::kMillisecond);

// The time measured is what the sending thread spends in the program change and the note-on;
// "sounding" is the time from the program change until the note plays in the synthesizer.
void BM_NoteOnAfterProgramChange(benchmark::State& state) {
  if (!HasGeneralMidiSoundFont(state)) return;
  const auto program = static_cast<unsigned char>(state.range(0));
  Core::MidiOutSynthDevice synth(Offline());
  std::vector<float> left(64), right(64);
  std::vector<double> held, sounding;
  for (auto _ : state) {
    const Clock::time_point start = Clock::now();
    synth.SendMessage(Core::MidiMessage(Core::MidiProgramChange, 0, program));
    synth.SendMessage(Core::MidiMessage(Core::MidiNoteOn, 0, 67, 100));
    const Clock::duration took = Clock::now() - start;
    state.SetIterationTime(std::chrono::duration<double>(took).count());
    held.push_back(Microseconds(took));
    synth.Render(left.data(), right.data(), 1);
    sounding.push_back(Microseconds(Clock::now() - start));

    // Back to the piano, so the instrument is released and loaded again by the next pass.
    state.PauseTiming();
    synth.SendMessage(Core::MidiMessage(Core::MidiNoteOff, 0, 67, 0));
    synth.SendMessage(Core::MidiMessage(Core::MidiControlChange, 0, 120, 0));
    synth.SendMessage(Core::MidiMessage(Core::MidiProgramChange, 0, 0));
    for (int i = 0; i < 50; ++i) synth.Render(left.data(), right.data(), 64);
    state.ResumeTiming();
  }
  state.counters["held_median_us"] = Median(held);
  state.counters["held_max_us"] = *std::max_element(held.begin(), held.end());
  state.counters["sounding_median_us"] = Median(sounding);
}
// Church organ, violin, trumpet, flute.
BENCHMARK(BM_NoteOnAfterProgramChange)
    ->Arg(19)
    ->Arg(40)
    ->Arg(56)
    ->Arg(73)
    ->UseManualTime()
    ->Iterations(40)
    ->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
