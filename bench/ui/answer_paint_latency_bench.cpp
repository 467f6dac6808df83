// How long an answer takes to be seen on the exercise screen: from a press on an on-screen key,
// or from a note-on sent into a JACK virtual output that the selected MIDI input reads, to the end
// of the window's paint that shows the verdict. The main window runs as the program builds it
// (offscreen), with a note-trainer lesson of single notes; each iteration answers one question
// with its correct key and then waits for the next question. Reports the median and the 99th
// percentile in microseconds. The JACK route needs a JACK server (scripts/jack-service.sh).

#include <benchmark/benchmark.h>

#include <QEventLoop>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <RtMidi.h>

#include <algorithm>
#include <chrono>
#include <memory>
#include <vector>

#include "src/core/exercise/exercise.h"
#include "src/core/midi/platform/sound_controller.h"
#include "src/core/settings/settings_manager.h"
#include "src/ui/application.h"
#include "src/ui/console.h"
#include "src/ui/controls/console_exercise_control/console_exercise_control.h"
#include "src/ui/fader_widget.h"
#include "src/ui/keyboard.h"
#include "src/ui/screen_geometry.h"

namespace {

using Clock = std::chrono::steady_clock;
constexpr int Answers = 200;

double Percentile(std::vector<double> values, double fraction) {
  std::sort(values.begin(), values.end());
  return values[static_cast<std::size_t>(fraction * double(values.size() - 1))];
}

// The main window with a running single-notes lesson whose questions wait for their answer.
class Lesson {
 public:
  Lesson() {
    Application* app = Application::instance();
    Core::GlobalSettings global = app->GetSettings()->globalSettings;
    global.showDifficultyDialog = false;
    global.hideMidiDialog = true;
    app->SetGlobalSettings(global);
    Core::ExcersisesSettings exercises = app->GetSettings()->GetExcersiseSettings();
    exercises.noteTrainer.singleNotes.duration = {0, 100000};
    exercises.noteTrainer.interval.duration = {0, 0};
    exercises.noteTrainer.chord.duration = {0, 0};
    app->SetExcerciseSettings(exercises);
    console = std::make_unique<UI::Console>(nullptr);
    console->show();
    QTest::qWaitFor([&] { return !console->Fader()->isFading(); }, 5000);
    console->OpenExercise(0, false);
    screen = console->GetExerciseControl();
    QTest::qWaitFor([&] { return !console->Fader()->isFading() && screen->isVisible(); }, 5000);
    QObject::connect(screen, &UI::ConsoleExerciseControl::AnswerProvided, screen,
                     [this](bool right, const Core::Answer&) {
                       ++verdicts;
                       lastRight = right;
                       if (waiting) waiting->quit();
                     });
    // Connected after the screen's own slot, so it runs once the screen has seen the state.
    QObject::connect(screen, &UI::ConsoleExerciseControl::StateChanged, screen,
                     [this] { noticedState = screen->CurrentExercise()->GetState(); });
    QTest::keyClick(screen, Qt::Key_Space);
  }

  // Waits for the next question and for the screen to have handled its notice, which the timer
  // thread queues as it asks the question and which opens the piano.
  bool NextQuestion() {
    const bool asked = QTest::qWaitFor(
        [&] {
          return screen->CurrentExercise()->GetState() == Core::ES_AWAITING_ANSWER &&
                 noticedState == Core::ES_AWAITING_ANSWER;
        },
        5000);
    noticedState = Core::ES_STOPPED;  // the next question's notice is a new one
    return asked;
  }
  int RightNote() const {
    const Core::Question& question = screen->CurrentExercise()->GetCurrentQuestion();
    const auto& events = question.VariantData[question.CorrectVariant].Stream->GetEvents();
    return events.front().GetMessage().GetNote();
  }
  // A point on `key`: low on the piano for a white key, high for a black one.
  QPoint KeyPoint(int key) const {
    Keyboard* piano = screen->Form().Gkc;
    for (int y : {piano->height() * 9 / 10, piano->height() / 4})
      for (int x = 0; x < piano->width(); ++x)
        if (piano->getKeyByPos(x, y) == key) return {x + 2, y};
    return {};
  }
  // Runs the event loop until the next verdict is shown; the queued verdict wakes it at once.
  bool WaitForVerdict(int before) {
    if (verdicts > before) return true;
    QEventLoop loop;
    waiting = &loop;
    QTimer::singleShot(2000, &loop, &QEventLoop::quit);
    loop.exec();
    waiting = nullptr;
    return verdicts > before;
  }
  // The end of the paint: the whole window painted at once.
  void Paint() { console->repaint(); }

  std::unique_ptr<UI::Console> console;
  UI::ConsoleExerciseControl* screen = nullptr;
  int verdicts = 0;
  bool lastRight = false;
  QEventLoop* waiting = nullptr;
  unsigned int noticedState = Core::ES_STOPPED;
};

void Report(benchmark::State& state, const std::vector<double>& spans) {
  if (spans.empty()) return;
  state.counters["median_us"] = Percentile(spans, 0.5);
  state.counters["p99_us"] = Percentile(spans, 0.99);
}

void BM_PianoKeyToPaint(benchmark::State& state) {
  Lesson lesson;
  std::vector<double> spans;
  for (auto _ : state) {
    if (!lesson.NextQuestion()) state.SkipWithError("no question came");
    const QPoint point = lesson.KeyPoint(lesson.RightNote() - 21);
    const int before = lesson.verdicts;
    const Clock::time_point start = Clock::now();
    // A click: the verdict comes with the press; the release only lets the key up again.
    QTest::mouseClick(lesson.screen->Form().Gkc, Qt::LeftButton, {}, point);
    lesson.Paint();
    const double micros = std::chrono::duration<double, std::micro>(Clock::now() - start).count();
    if (lesson.verdicts != before + 1 || !lesson.lastRight)
      state.SkipWithError("the verdict was not shown in the press");
    spans.push_back(micros);
    state.SetIterationTime(micros / 1e6);
  }
  Report(state, spans);
}

void BM_JackNoteToPaint(benchmark::State& state) {
  RtMidiOut keyboard(RtMidi::UNIX_JACK, "Melvarin Latency Keys");
  keyboard.openVirtualPort("out");
  Application* app = Application::instance();
  QTest::qWaitFor(
      [&] {
        app->GetSoundController()->UpdateDevices();
        return app->GetSoundController()->GetInputMidiDeviceCount() > 0;
      },
      5000);
  Core::GlobalSettings global = app->GetSettings()->globalSettings;
  app->SetGlobalSettings(global);  // selects the input by its name, or the first one
  Lesson lesson;
  std::vector<double> spans;
  for (auto _ : state) {
    if (!lesson.NextQuestion()) state.SkipWithError("no question came");
    const int note = lesson.RightNote();
    const int before = lesson.verdicts;
    const Clock::time_point start = Clock::now();
    const std::vector<unsigned char> on{0x90, static_cast<unsigned char>(note), 100};
    keyboard.sendMessage(&on);
    if (!lesson.WaitForVerdict(before)) state.SkipWithError("the note-on was not judged");
    lesson.Paint();
    const double micros = std::chrono::duration<double, std::micro>(Clock::now() - start).count();
    const std::vector<unsigned char> off{0x80, static_cast<unsigned char>(note), 0};
    keyboard.sendMessage(&off);
    spans.push_back(micros);
    state.SetIterationTime(micros / 1e6);
  }
  Report(state, spans);
}

// The paint alone, with nothing new to show: the floor under both spans above.
void BM_WindowPaint(benchmark::State& state) {
  Lesson lesson;
  lesson.NextQuestion();
  std::vector<double> spans;
  for (auto _ : state) {
    const Clock::time_point start = Clock::now();
    lesson.Paint();
    const double micros = std::chrono::duration<double, std::micro>(Clock::now() - start).count();
    spans.push_back(micros);
    state.SetIterationTime(micros / 1e6);
  }
  Report(state, spans);
}

BENCHMARK(BM_WindowPaint)->UseManualTime()->Iterations(Answers)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PianoKeyToPaint)->UseManualTime()->Iterations(Answers)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_JackNoteToPaint)->UseManualTime()->Iterations(Answers)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
  QTemporaryDir home;
  qputenv("XDG_CONFIG_HOME", (home.path() + "/config").toLocal8Bit());
  qputenv("XDG_DATA_HOME", (home.path() + "/data").toLocal8Bit());
  qputenv("QT_QPA_PLATFORM", "offscreen");
  qputenv("MELVARIN_MIDI_API", "jack");
  // A window of the design size: the offscreen platform's full screen is its own 800 x 600.
  std::vector<char*> arguments(argv, argv + argc);
  char windowed[] = "-nofs";
  arguments.push_back(windowed);
  int count = int(arguments.size());
  Application app(count, arguments.data());
  UI::SetScreenGeometries({QRect(0, 0, 1440, 900)});
  app.Init();
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
