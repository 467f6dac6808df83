// How long a played key takes to become a verdict: from a note-on arriving at the selected input
// device (the step every input device takes once the MIDI system hands it a message) through the
// answer listener and the exercise's judgement to the observer's OnAnswerProvided. Each iteration
// asks a note-trainer question, then plays its correct key; the benchmark reports the median and
// the 99th percentile of the measured spans, in microseconds.

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QTemporaryDir>

#include <algorithm>
#include <chrono>
#include <functional>
#include <memory>
#include <vector>

#include "src/core/exercise/note_trainer.h"
#include "src/core/midi/midi_device.h"
#include "src/core/midi/platform/sound_controller.h"
#include "src/core/midi/timer.h"
#include "src/core/settings/settings_manager.h"

namespace {

using Clock = std::chrono::steady_clock;

class Keyboard : public Core::MidiInDeviceBase {
 public:
  QString GetName() const override { return "bench keys"; }
  void Press(int note) {
    ProcessEvent(Core::MidiEvent(
        Core::MidiMessage(Core::MidiNoteOn, 0, static_cast<unsigned char>(note), 100), 0, 0.0));
  }
};

class SilentOutput : public Core::MidiOutDevice {
 public:
  QString GetName() const override { return "silent"; }
  void Reset() override {}
  void Stop() override {}
  void SendMessage(const Core::MidiMessage&) override {}
  double GetVolume() const override { return 1.0; }
  void SetVolume(double) override {}
};

class VerdictClock : public Core::ExerciseObserver {
 public:
  void OnAnswerProvided(bool right, const Core::Answer&) override {
    at = Clock::now();
    this->right = right;
  }
  void OnSectionChanged(unsigned int) override {}
  void OnNoteEvent(bool, int) override {}

  Clock::time_point at;
  bool right = false;
};

double Percentile(std::vector<double> values, double fraction) {
  std::sort(values.begin(), values.end());
  const auto index = static_cast<std::size_t>(fraction * static_cast<double>(values.size() - 1));
  return values[index];
}

void BM_KeyToVerdict(benchmark::State& state) {
  QTemporaryDir settingsFolder;
  qputenv("XDG_CONFIG_HOME", settingsFolder.path().toUtf8());
  Core::ManualTimer timer;  // the player and the timeline advance only when told
  Core::SettingsManager settings([] { return false; });
  Core::ExcersisesSettings trainer = settings.GetExcersiseSettings();
  trainer.noteTrainer.singleNotes.duration = {0, 1000000};
  trainer.noteTrainer.interval.duration = {0, 0};
  trainer.noteTrainer.chord.duration = {0, 0};
  settings.SetExcersiseSettings(trainer);

  auto keys = std::make_shared<Keyboard>();
  Core::SoundDeviceFactory factory;
  factory.countInputPorts = [] { return 1u; };
  factory.openInput = [keys](unsigned int) { return keys; };
  factory.createSynthesizer = [] { return std::make_shared<SilentOutput>(); };
  factory.watchSetup = [](std::function<void()>) {};
  auto controller = std::make_shared<Core::SoundController>(factory);

  Core::ExerciseNoteTrainer exercise;
  exercise.SetSoundController(controller);
  VerdictClock verdict;
  exercise.Core::Subject<Core::ExerciseObserver>::AddObserver(&verdict);
  exercise.SetSettings(&settings);
  exercise.Pause(false);

  std::vector<double> spans;
  for (auto _ : state) {
    exercise.NextQuestion();
    while (exercise.GetState() == Core::ES_PLAYING) timer.Run(Core::Timer::PeriodMs);
    const Core::Question& question = exercise.GetCurrentQuestion();
    const int note = question.VariantData[question.CorrectVariant].Id + 21;
    const Clock::time_point start = Clock::now();
    keys->Press(note);
    const double micros = std::chrono::duration<double, std::micro>(verdict.at - start).count();
    if (!verdict.right) state.SkipWithError("the correct key was judged wrong");
    spans.push_back(micros);
    state.SetIterationTime(micros / 1e6);
  }
  exercise.Core::Subject<Core::ExerciseObserver>::RemoveObserver(&verdict);
  if (!spans.empty()) {
    state.counters["median_us"] = Percentile(spans, 0.5);
    state.counters["p99_us"] = Percentile(spans, 0.99);
  }
}

BENCHMARK(BM_KeyToVerdict)->UseManualTime()->Iterations(5000)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
