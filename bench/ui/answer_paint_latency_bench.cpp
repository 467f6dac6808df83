// How long an answer takes to be seen on the exercise screen: from a press on an on-screen key,
// from a note-on sent into a JACK virtual output that the selected MIDI input reads, or from a
// click on a wrong answer button, to the end of the window's paint that shows the verdict. The
// main window runs as the program builds it (offscreen), with an untimed lesson of single notes
// (or of note lengths, for the buttons); each iteration answers one question and then waits for
// the next one. Reports the median and the 99th
// percentile in microseconds. The JACK route needs a JACK server (scripts/jack-service.sh).

#include <benchmark/benchmark.h>

#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

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
constexpr int NoteTrainer = 0;
constexpr int SymbolTrainer = 2;

double Percentile(std::vector<double> values, double fraction) {
  std::sort(values.begin(), values.end());
  return values[static_cast<std::size_t>(fraction * double(values.size() - 1))];
}

// The main window with a running single-notes lesson whose questions wait for their answer.
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
    QTest::qWaitFor([&] { return !console->Fader()->isFading(); }, 5000);
    console->OpenExercise(trainer, false);
    screen = console->GetExerciseControl();
    QTest::qWaitFor([&] { return !console->Fader()->isFading() && screen->isVisible(); }, 5000);
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
    QTest::keyClick(screen, Qt::Key_Space);
  }

  bool NextQuestion() {
    return QTest::qWaitFor(
        [&] { return asking && screen->CurrentExercise()->GetState() == Core::ES_AWAITING_ANSWER; },
        5000);
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
  // The end of the paint: the whole window painted at once.
  void Paint() { console->repaint(); }

  std::unique_ptr<UI::Console> console;
  UI::ConsoleExerciseControl* screen = nullptr;
  int verdicts = 0;
  bool lastRight = false;
  bool asking = false;
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
    QTest::mousePress(lesson.screen->Form().Gkc, Qt::LeftButton, {}, point);
    lesson.Paint();
    const double micros = std::chrono::duration<double, std::micro>(Clock::now() - start).count();
    QTest::mouseRelease(lesson.screen->Form().Gkc, Qt::LeftButton, {}, point);
    if (lesson.verdicts != before + 1 || !lesson.lastRight)
      state.SkipWithError("the verdict was not shown in the press");
    spans.push_back(micros);
    state.SetIterationTime(micros / 1e6);
  }
  Report(state, spans);
}

void BM_WrongButtonToPaint(benchmark::State& state) {
  Lesson lesson(SymbolTrainer);
  std::vector<double> spans;
  for (auto _ : state) {
    if (!lesson.NextQuestion()) state.SkipWithError("no question came");
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
    if (!QTest::qWaitFor([&] { return lesson.verdicts > before; }, 2000))
      state.SkipWithError("the note-on was not judged");
    lesson.Paint();
    const double micros = std::chrono::duration<double, std::micro>(Clock::now() - start).count();
    const std::vector<unsigned char> off{0x80, static_cast<unsigned char>(note), 0};
    keyboard.sendMessage(&off);
    spans.push_back(micros);
    state.SetIterationTime(micros / 1e6);
  }
  Report(state, spans);
}

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
