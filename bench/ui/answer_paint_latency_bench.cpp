// How long an answer takes to be seen on the exercise screen: from a press on an on-screen key,
// from a note-on sent into a JACK virtual output that the selected MIDI input reads, or from a
// click on a wrong answer button, to the end of the window's paint that shows the verdict. The
// main window runs as the program builds it (offscreen), with an untimed lesson of single notes
// (or of note lengths, for the buttons); each iteration answers one question and then waits for
// the next one. Waits are the application's own: an event loop that the screen's signal ends,
// never a polling sleep, and the paint is the window's pending update as the event loop delivers
// it. Reports the median and the 99th percentile in microseconds, beside floors measured in the
// same process: the paint of a bare window of the same size, and the JACK transport alone (the
// note reaching the selected input). The JACK route needs a JACK server (scripts/jack-service.sh).

#include <benchmark/benchmark.h>

#include <QEventLoop>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <memory>
#include <vector>

#include "src/core/exercise/exercise.h"
#include "src/core/midi/midi_device.h"
#include "src/core/midi/platform/sound_controller.h"
#include "src/core/settings/settings_manager.h"
#include "src/ui/application.h"
#include "src/ui/console.h"
#include "src/ui/controls/console_exercise_control/console_exercise_control.h"
#include "src/ui/fader_widget.h"
#include "src/ui/keyboard.h"
#include "src/ui/screen_geometry.h"
#include "tests/src/core/midi/platform/jack_keyboard.h"
#include "tests/support/patience.h"

namespace {

using Clock = std::chrono::steady_clock;
constexpr int Answers = 200;
constexpr int NoteTrainer = 0;
constexpr int SymbolTrainer = 2;
using Testing::LostMessageMs;
using Testing::PatienceMs;

double Percentile(std::vector<double> values, double fraction) {
  std::sort(values.begin(), values.end());
  return values[static_cast<std::size_t>(fraction * double(values.size() - 1))];
}

// Runs the event loop until `done` holds, woken by `signal` of `sender`; false after `ms`.
template <class Sender, class Signal, class Done>
bool WaitFor(Sender* sender, Signal signal, Done done, int ms) {
  if (done()) return true;
  QEventLoop loop;
  QTimer timeout;
  timeout.setSingleShot(true);
  QObject::connect(&timeout, &QTimer::timeout, &loop, &QEventLoop::quit);
  const QMetaObject::Connection woken = QObject::connect(sender, signal, &loop, [&] {
    if (done()) loop.quit();
  });
  timeout.start(ms);
  loop.exec();
  QObject::disconnect(woken);
  return done();
}

// What the event loop does next with the window: lays out what changed and paints the window's
// pending update, only where widgets asked for it.
void DeliverPaint() {
  QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
  QCoreApplication::sendPostedEvents(nullptr, QEvent::UpdateRequest);
}

// The main window with a single-notes lesson whose questions wait for their answer; it runs once
// started.
class Lesson {
 public:
  explicit Lesson(int trainer = NoteTrainer) {
    Application* app = Application::instance();
    Core::GlobalSettings global = app->GetSettings()->globalSettings;
    global.showDifficultyDialog = false;
    global.hideMidiDialog = true;
    app->SetGlobalSettings(global);
    Core::ExcersisesSettings exercises = app->GetSettings()->GetExcersiseSettings();
    exercises.noteTrainer.singleNotes.duration = {0, 100000};
    exercises.noteTrainer.interval.duration = {0, 0};
    exercises.noteTrainer.chord.duration = {0, 0};
    exercises.noteTrainer.onWrongAnswer = {true, 50};
    Core::SheetMusicSymbolsSettings& symbols = exercises.sheetMusicSymbols;
    symbols.length.duration = {0, 100000};
    for (Core::ExerciseDuration* d : {&symbols.signatures.duration, &symbols.tempo.duration,
                                      &symbols.loudness.duration, &symbols.noteModifiers.duration})
      d->questions = 0;
    app->SetExcerciseSettings(exercises);
    console = std::make_unique<UI::Console>(nullptr);
    console->show();
    ready = QTest::qWaitFor([&] { return !console->Fader()->isFading(); }, PatienceMs);
    console->OpenExercise(trainer, false);
    screen = console->GetExerciseControl();
    ready = ready &&
            QTest::qWaitFor([&] { return !console->Fader()->isFading() && screen->isVisible(); },
                            PatienceMs);
    DeliverPaint();
    QObject::connect(screen, &UI::ConsoleExerciseControl::AnswerProvided, screen,
                     [this](bool right, const Core::Answer&) {
                       ++verdicts;
                       lastRight = right;
                       asking = false;
                     });
    // The screen opens the piano when it learns of the waiting question, which the timer thread
    // posts for a played one: the question counts as asked once that notice has been handled.
    QObject::connect(screen, &UI::ConsoleExerciseControl::StateChanged, screen, [this] {
      if (screen->CurrentExercise()->GetState() == Core::ES_AWAITING_ANSWER) asking = true;
    });
  }

  // Plays the lesson, as the space bar does.
  void Start() { QTest::keyClick(screen, Qt::Key_Space); }

  bool NextQuestion() {
    const bool asked = WaitFor(
        screen, &UI::ConsoleExerciseControl::StateChanged,
        [&] { return asking && screen->CurrentExercise()->GetState() == Core::ES_AWAITING_ANSWER; },
        PatienceMs);
    // The question's own paint and whatever the last verdict left to do are not measured.
    QCoreApplication::sendPostedEvents();
    DeliverPaint();
    return asked;
  }
  int RightNote() const {
    const Core::Question& question = screen->CurrentExercise()->GetCurrentQuestion();
    const auto& events = question.VariantData[question.CorrectVariant].Stream->GetEvents();
    return events.front().GetMessage().GetNote();
  }
  QToolButton* WrongButton() const {
    const Core::Question& question = screen->CurrentExercise()->GetCurrentQuestion();
    const std::size_t wrong = (question.CorrectVariant + 1) % question.VariantData.size();
    return screen->findChild<QToolButton*>(QString("Answer%1").arg(wrong + 1));
  }
  // The middle of the key where the piano itself finds it: low for a white key, high for a black.
  QPoint KeyPoint(int key) const {
    Keyboard* piano = screen->Form().Gkc;
    for (int y : {piano->height() * 9 / 10, piano->height() / 3}) {
      int first = -1, last = -1;
      for (int x = 0; x < piano->width(); ++x)
        if (piano->getKeyByPos(x, y) == key) {
          if (first < 0) first = x;
          last = x;
        }
      if (first >= 0) return {(first + last) / 2, y};
    }
    return {};
  }
  void Paint() { DeliverPaint(); }

  std::unique_ptr<UI::Console> console;
  UI::ConsoleExerciseControl* screen = nullptr;
  bool ready = false;
  int verdicts = 0;
  bool lastRight = false;
  bool asking = false;
};

// Notes the moment the selected input hands on a note-on, on the MIDI input thread.
class ArrivalClock : public Core::MidiDeviceObserver {
 public:
  void OnMidiEvent(const Core::MidiEvent& event) override {
    if (event.GetMessage().GetCommand() == Core::MidiNoteOn) at = Clock::now();
  }
  std::atomic<Clock::time_point> at{Clock::time_point::min()};
};

void Report(benchmark::State& state, const std::vector<double>& spans) {
  if (spans.empty()) return;
  state.counters["median_us"] = Percentile(spans, 0.5);
  state.counters["p99_us"] = Percentile(spans, 0.99);
}

void BM_PianoKeyToPaint(benchmark::State& state) {
  Lesson lesson;
  lesson.Start();
  std::vector<double> spans;
  std::vector<double> presses;  // the part of the span before the paint
  for (auto _ : state) {
    if (!lesson.ready || !lesson.NextQuestion()) state.SkipWithError("no question came");
    const QPoint point = lesson.KeyPoint(lesson.RightNote() - 21);
    const int before = lesson.verdicts;
    const Clock::time_point start = Clock::now();
    QTest::mousePress(lesson.screen->Form().Gkc, Qt::LeftButton, {}, point);
    presses.push_back(std::chrono::duration<double, std::micro>(Clock::now() - start).count());
    lesson.Paint();
    const double micros = std::chrono::duration<double, std::micro>(Clock::now() - start).count();
    QTest::mouseRelease(lesson.screen->Form().Gkc, Qt::LeftButton, {}, point);
    if (lesson.verdicts != before + 1 || !lesson.lastRight)
      state.SkipWithError("the verdict was not shown in the press");
    spans.push_back(micros);
    state.SetIterationTime(micros / 1e6);
  }
  Report(state, spans);
  if (!presses.empty()) state.counters["press_median_us"] = Percentile(presses, 0.5);
}

void BM_WrongButtonToPaint(benchmark::State& state) {
  Lesson lesson(SymbolTrainer);
  lesson.Start();
  std::vector<double> spans;
  for (auto _ : state) {
    if (!lesson.ready || !lesson.NextQuestion()) state.SkipWithError("no question came");
    QToolButton* button = lesson.WrongButton();
    if (!button || !button->isVisible()) state.SkipWithError("no answer button");
    const int before = lesson.verdicts;
    const Clock::time_point start = Clock::now();
    QTest::mouseClick(button, Qt::LeftButton);
    lesson.Paint();
    const double micros = std::chrono::duration<double, std::micro>(Clock::now() - start).count();
    if (lesson.verdicts != before + 1 || lesson.lastRight)
      state.SkipWithError("the verdict was not shown in the click");
    spans.push_back(micros);
    state.SetIterationTime(micros / 1e6);
  }
  Report(state, spans);
}

// Plugs the keyboard in while the lesson's window runs, as a learner would, and waits until the
// window's rescan has found it: the rescan pauses the lesson, so the lesson starts only then.
// The keyboard's input is selected, and kept selected by name. False when that does not happen.
bool PlugIn(Lesson& lesson, std::unique_ptr<Testing::JackKeyboard>& keyboard) {
  Application* app = Application::instance();
  int found = 0;
  QObject::connect(lesson.console.get(), &UI::Console::deviceChange, lesson.screen,
                   [&found] { ++found; });
  keyboard = std::make_unique<Testing::JackKeyboard>("Melvarin Latency Keys");
  if (!keyboard->IsOpen()) return false;
  const QString port = QString::fromStdString(keyboard->Name());
  Core::GlobalSettings global = app->GetSettings()->globalSettings;
  global.inputDevice = port;
  app->SetGlobalSettings(global);
  if (!WaitFor(
          lesson.console.get(), &UI::Console::deviceChange, [&] { return found > 0; }, PatienceMs))
    return false;
  // A busy server may not have let the keyboard's input in at the rescan: the ports are opened
  // again until it is there, and the window reconnects the lesson to it as after a rescan.
  std::shared_ptr<Core::SoundController> sound = app->GetSoundController();
  if (sound->SelectInputMidiDevice(port)) return true;
  const bool opened = QTest::qWaitFor(
      [&] {
        sound->UpdateDevices();
        return sound->SelectInputMidiDevice(port);
      },
      PatienceMs);
  if (opened) emit lesson.console->deviceChange();
  return opened;
}

void BM_JackNoteToPaint(benchmark::State& state) {
  Lesson lesson;
  std::unique_ptr<Testing::JackKeyboard> keyboard;
  if (!lesson.ready || !PlugIn(lesson, keyboard)) {
    state.SkipWithError("no MIDI input; start a JACK server with scripts/jack-service.sh");
    return;
  }
  std::shared_ptr<Core::SoundController> sound = Application::instance()->GetSoundController();
  std::shared_ptr<Core::MidiInDevice> input =
      sound->GetInputMidiDevice(sound->GetSelectedInputMidiDevice());
  ArrivalClock arrival;
  input->AddObserver(&arrival);
  lesson.Start();

  std::vector<double> spans;
  std::vector<double> transport;
  int lost = 0;
  for (auto _ : state) {
    if (!lesson.NextQuestion()) {
      state.SkipWithError("no question came");
      break;
    }
    const int note = lesson.RightNote();
    const int before = lesson.verdicts;
    const Clock::time_point start = Clock::now();
    arrival.at = Clock::time_point::min();
    keyboard->Press(note);
    const auto judged = [&] {
      return WaitFor(
          lesson.screen, &UI::ConsoleExerciseControl::AnswerProvided,
          [&] { return lesson.verdicts > before; }, LostMessageMs);
    };
    // A server without real-time scheduling on a busy machine misses a cycle now and then, and
    // the MIDI of that cycle is gone: the key is pressed again, and such answers are counted,
    // not timed.
    if (!judged()) {
      ++lost;
      bool delivered = false;
      for (int press = 0; press < 5 && !delivered; ++press) {
        keyboard->Release(note);
        keyboard->Press(note);
        delivered = judged();
      }
      if (!delivered) {
        state.SkipWithError("the keyboard's notes no longer reach the lesson");
        break;
      }
      keyboard->Release(note);
      state.SetIterationTime(0.0);
      continue;
    }
    lesson.Paint();
    const double micros = std::chrono::duration<double, std::micro>(Clock::now() - start).count();
    keyboard->Release(note);
    spans.push_back(micros);
    const Clock::time_point arrived = arrival.at;
    if (arrived != Clock::time_point::min())
      transport.push_back(std::chrono::duration<double, std::micro>(arrived - start).count());
    state.SetIterationTime(micros / 1e6);
  }
  input->RemoveObserver(&arrival);
  Report(state, spans);
  if (!transport.empty()) {
    state.counters["transport_median_us"] = Percentile(transport, 0.5);
    state.counters["transport_p99_us"] = Percentile(transport, 0.99);
  }
  state.counters["answers"] = lesson.verdicts;
  state.counters["lost"] = lost;
}

// The floor of the paint: a bare window of the main window's size painted whole.
void BM_BareWindowPaint(benchmark::State& state) {
  QWidget window;
  window.setFixedSize(1440, 900);
  window.setAutoFillBackground(true);
  window.show();
  if (!QTest::qWaitForWindowExposed(&window)) state.SkipWithError("the window was not shown");
  DeliverPaint();
  std::vector<double> spans;
  for (auto _ : state) {
    const Clock::time_point start = Clock::now();
    window.update();
    DeliverPaint();
    const double micros = std::chrono::duration<double, std::micro>(Clock::now() - start).count();
    spans.push_back(micros);
    state.SetIterationTime(micros / 1e6);
  }
  Report(state, spans);
}

BENCHMARK(BM_BareWindowPaint)->UseManualTime()->Iterations(Answers)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PianoKeyToPaint)->UseManualTime()->Iterations(Answers)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_WrongButtonToPaint)
    ->UseManualTime()
    ->Iterations(Answers)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_JackNoteToPaint)->UseManualTime()->Iterations(Answers)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
  QTemporaryDir home;
  qputenv("XDG_CONFIG_HOME", (home.path() + "/config").toLocal8Bit());
  qputenv("XDG_DATA_HOME", (home.path() + "/data").toLocal8Bit());
  qputenv("QT_QPA_PLATFORM", "offscreen");
  qputenv("MELVARIN_MIDI_API", "jack");
  UI::SetScreenGeometries({QRect(0, 0, 1440, 900)});
  Application app(argc, argv);
  app.Init();
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
