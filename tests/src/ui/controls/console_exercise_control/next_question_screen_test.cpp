// What the exercise screen shows is what it would draw afresh. At every new question the score
// frame, the question area and the keys or the answer buttons keep nothing of the verdict before,
// whichever trainer asks, however the learner answered (keys on the screen, a MIDI keyboard over
// JACK, the buttons) and whatever the verdict was (right, wrong, out of time, wrong with the lesson
// going on and then right). And buttons that take no click, while a scale is heard, look it.

#include <QDir>
#include <QImage>
#include <QRegularExpression>
#include <QToolButton>

#include <memory>
#include <string>
#include <vector>

#include "../../../core/midi/platform/jack_test_support.h"
#include "../../picture_match.h"
#include "screen_fixture.h"
#include "src/core/midi/timer.h"
#include "src/core/settings/settings_manager.h"
#include "src/ui/fader_widget.h"
#include "src/ui/gkc_initializer.h"
#include "src/ui/keyboard.h"
#include "src/ui/play_dialog.h"

namespace {

using Testing::WaitUntil;
constexpr int NoteTrainer = 0;
constexpr int EarTrainer = 1;
constexpr int SymbolTrainer = 2;
constexpr int LowestMidiKey = 21;  // A0, piano key 0
constexpr unsigned long ScalesSection = 3;

enum class Input { ScreenKeys, MidiKeys, Buttons };
enum class Verdict { Right, Wrong, TimedOut };

// What follows a wrong answer: the next question after a second, or a pause that the learner
// ends with the space bar once the verdict has been read.
enum class AfterMistake { GoOn, Pause };

constexpr int GoOnDelayMs = 1000;  // longer than the frame's shake, as the settings' own delays

class NextQuestionScreen : public Testing::ScreenTest {
 protected:
  void SetUp() override {
    ScreenTest::SetUp();
    Core::GlobalSettings global = App()->GetSettings()->globalSettings;
    global.hideMidiDialog = true;
    global.showDifficultyDialog = false;
    App()->SetGlobalSettings(global);
    // Each trainer asks only its first section (single notes, heard single notes, note lengths),
    // timed so that a question can run out of time.
    Core::ExcersisesSettings settings = App()->GetSettings()->GetExcersiseSettings();
    settings.noteTrainer.singleNotes.duration = {5, 10};
    settings.noteTrainer.interval.duration.questions = 0;
    settings.noteTrainer.chord.duration.questions = 0;
    settings.earTrainer.singleNotes.duration = {5, 10};
    settings.earTrainer.scales.duration = {30, 5};
    for (Core::ExerciseDuration* skipped :
         {&settings.earTrainer.interval.duration, &settings.earTrainer.chord.duration,
          &settings.earTrainer.tempo.duration, &settings.sheetMusicSymbols.signatures.duration,
          &settings.sheetMusicSymbols.tempo.duration, &settings.sheetMusicSymbols.loudness.duration,
          &settings.sheetMusicSymbols.noteModifiers.duration})
      skipped->questions = 0;
    settings.sheetMusicSymbols.length.duration = {5, 10};
    App()->SetExcerciseSettings(settings);
    WatchVerdicts();
  }

  void WatchVerdicts() {
    watch = std::make_unique<QObject>();
    QObject::connect(screen, &UI::ConsoleExerciseControl::AnswerProvided, watch.get(),
                     [this](bool right, const Core::Answer&) {
                       ++verdicts;
                       lastRight = right;
                     });
  }

  Core::Exercise* Ex() const { return screen->CurrentExercise(); }
  int Asked() const { return Ex()->GetProgress().QuestionsAsked; }

  // Gives every kind of verdict in turn in one lesson, and compares the screen at each next
  // question.
  void Walk(int trainer, Input input) {
    const std::string lesson = std::string(trainer == NoteTrainer  ? "note trainer"
                                           : trainer == EarTrainer ? "ear trainer"
                                                                   : "music symbols") +
                               (input == Input::ScreenKeys ? " on the screen keys"
                                : input == Input::MidiKeys ? " on a MIDI keyboard"
                                                           : " on the buttons");
    StartLesson(trainer, input);
    if (HasFatalFailure()) return;
    AwaitAnswerTime();
    if (HasFatalFailure()) return;
    const struct {
      const char* verdict;
      Verdict kind;
      AfterMistake after;
    } steps[] = {{"a right answer", Verdict::Right, AfterMistake::GoOn},
                 {"a wrong answer and a pause", Verdict::Wrong, AfterMistake::Pause},
                 {"a time-out", Verdict::TimedOut, AfterMistake::GoOn},
                 {"a wrong answer the lesson went on after", Verdict::Wrong, AfterMistake::GoOn},
                 {"a right answer after a wrong one", Verdict::Right, AfterMistake::GoOn}};
    for (const auto& step : steps) {
      const std::string when = lesson + ", after " + step.verdict;
      Core::ExcersisesSettings settings = App()->GetSettings()->GetExcersiseSettings();
      settings.noteTrainer.onWrongAnswer = {step.after == AfterMistake::GoOn, GoOnDelayMs};
      App()->SetExcerciseSettings(settings);
      const int asked = Asked();
      Answer(step.kind, input);
      if (HasFatalFailure()) return;
      ASSERT_EQ(lastRight, step.kind == Verdict::Right) << when;
      if (!lastRight && step.after == AfterMistake::Pause) {
        // The learner reads the verdict until the frame stands still, then goes on.
        ASSERT_TRUE(WaitUntil([&] { return !probe.frameMoving(); })) << when;
        ASSERT_TRUE(SendShortcutOverride(Qt::Key_Space)) << when;
      }
      ASSERT_TRUE(WaitUntil([&] { return Asked() > asked; })) << when;
      AwaitAnswerTime();
      if (HasFatalFailure()) return;
      ExpectShownAsDrawnAfresh(when);
    }
  }

  // Opens the lesson as the main window does and plays it; the first one of a test starts from
  // the Play overlay. Its first question is asked.
  void StartLesson(int trainer, Input input) {
    Core::GlobalSettings global = App()->GetSettings()->globalSettings;
    global.answerGkc = input != Input::Buttons;
    global.answerMultipleChoice = input == Input::Buttons;
    App()->SetGlobalSettings(global);
    if (screen->HasExercise()) {
      screen->StartExercise(trainer, false, false);
      screen->Play();
    } else {
      m_console->OpenExercise(trainer, false);
      ASSERT_TRUE(WaitUntil([&] { return FadeDone() && screen->isVisible(); }));
      screen->GetPlayDialog()->clickAreaClicked();
    }
    ASSERT_TRUE(WaitUntil([&] {
      return Ex()->GetPlaybackState() == Core::PS_PLAYING && !screen->GetPlayDialog()->isVisible();
    }));
  }

  // Lets the question sound to its end, on the lesson's own clock, and waits until the question
  // area has faded to what it shows while the answer is awaited.
  void AwaitAnswerTime() {
    for (int pass = 0; pass < 4000 && Ex()->GetState() != Core::ES_AWAITING_ANSWER; ++pass)
      timer.Run(Core::Timer::PeriodMs);
    ASSERT_EQ(Ex()->GetState(), Core::ES_AWAITING_ANSWER);
    ASSERT_TRUE(WaitUntil([&] { return !probe.fader()->isFading(); }));
  }

  void Answer(Verdict kind, Input input) {
    const int before = verdicts;
    const Core::Question question = Ex()->GetCurrentQuestion();
    if (kind == Verdict::TimedOut) {
      for (int ms = 0; ms < 60000 && verdicts == before; ms += Core::Timer::PeriodMs)
        timer.Run(Core::Timer::PeriodMs);
    } else if (input == Input::Buttons) {
      const unsigned long chosen =
          kind == Verdict::Right ? question.CorrectVariant : (question.CorrectVariant + 1) % 6;
      QTest::mouseClick(AnswerButtons()[chosen], Qt::LeftButton);
    } else {
      std::vector<int> notes;
      for (const Core::MidiEvent& e :
           question.VariantData[question.CorrectVariant].Stream->GetEvents())
        if (e.GetMessage().IsNoteAudible()) notes.push_back(e.GetMessage().GetNote());
      ASSERT_FALSE(notes.empty());
      // A semitone away is wrong in any octave.
      if (kind == Verdict::Wrong) notes = {notes.front() < 108 ? notes.front() + 1 : 107};
      if (input == Input::ScreenKeys) {
        for (int note : notes) ClickKey(note - LowestMidiKey);
      } else {
        PlayOnJack(notes);
      }
    }
    ASSERT_TRUE(WaitUntil([&] { return verdicts > before; }));
  }

  std::vector<QToolButton*> AnswerButtons() {
    Ui_console_exercise_control& ui = probe.ui();
    return {ui.Answer1, ui.Answer2, ui.Answer3, ui.Answer4, ui.Answer5, ui.Answer6};
  }

  void ClickKey(int key) {
    Keyboard* piano = probe.ui().Gkc;
    const QPoint at = piano->scaleKeyRect(GKCinitializer::Keys()[size_t(key)].upper).center();
    ASSERT_EQ(piano->getKeyByPos(at.x(), at.y()), key);
    QTest::mouseClick(piano, Qt::LeftButton, {}, at);
  }

  // Plays the notes together on the JACK keyboard. A server without real-time scheduling on a
  // busy machine can miss the cycle that carries them: they are played again, as a learner would,
  // only when nothing came and cycles were missed.
  void PlayOnJack(const std::vector<int>& notes) {
    const int before = verdicts;
    xruns->SendAgainIfLost(
        [&] {
          for (int note : notes) keyboard->Press(note);
          for (int note : notes) keyboard->Release(note);
        },
        [&] { return WaitUntil([&] { return verdicts > before; }, Testing::LostMessageMs); });
  }

  QImage Shown() {
    // Every paint asked for is delivered first.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::UpdateRequest);
    return Testing::ShownWindow(screen);
  }
  QRect PlaceOf(const QWidget* widget) const {
    return QRect(widget->mapTo(m_console.get(), QPoint(0, 0)), widget->size());
  }

  // The screen as the window shows it beside the same window drawn afresh: the score frame, the
  // question area and the keyboard area (the piano or the buttons) look the same.
  void ExpectShownAsDrawnAfresh(const std::string& when) {
    const QImage shown = Shown();
    const QImage fresh = Testing::FreshWindow(screen);
    ASSERT_EQ(shown.size(), fresh.size()) << when;
    Ui_console_exercise_control& ui = probe.ui();
    for (QWidget* area : {ui.ProgressFrameWidget, ui.NotestavePictureWidget, ui.GkcLayoutWidget}) {
      const QRect place = PlaceOf(area);
      const int off = Testing::PixelsOff(shown, fresh, place);
      EXPECT_EQ(off, 0) << when << ": the " << area->objectName().toStdString()
                        << " shown differs from its fresh drawing";
      if (off)
        KeepPictures(when + " " + area->objectName().toStdString(), shown.copy(place),
                     fresh.copy(place));
    }
  }

  // Keeps both pictures of an area for review, beside the test program.
  static void KeepPictures(const std::string& what, const QImage& shown, const QImage& fresh) {
    const QString folder = QCoreApplication::applicationDirPath() + "/screenshots/stale";
    QDir().mkpath(folder);
    const QString name =
        QString::fromStdString(what).replace(QRegularExpression("[^A-Za-z0-9]+"), "_");
    shown.save(folder + "/" + name + "_shown.png");
    fresh.save(folder + "/" + name + "_fresh.png");
  }

  // The mean lightness of the six buttons as the window shows them.
  double ButtonsLightness() {
    const QImage shown = Shown();
    double sum = 0;
    int pixels = 0;
    for (QToolButton* button : AnswerButtons()) {
      const QRect place = PlaceOf(button);
      for (int y = place.top(); y <= place.bottom(); ++y)
        for (int x = place.left(); x <= place.right(); ++x)
          sum += QColor(shown.pixel(x, y)).lightnessF();
      pixels += place.width() * place.height();
    }
    return sum / pixels;
  }

  Core::ManualTimer timer;
  std::unique_ptr<QObject> watch;  // the verdicts are counted while it lives
  int verdicts = 0;
  bool lastRight = false;
  std::unique_ptr<Testing::XrunCounter> xruns;
  std::unique_ptr<Testing::JackKeyboard> keyboard;
};

TEST_F(NextQuestionScreen, ShowsNothingOfTheLastVerdictAfterMidiKeysOverJack) {
  MELVARIN_REQUIRE_JACK_DELIVERY();
  xruns = std::make_unique<Testing::XrunCounter>();
  Restart();  // the sound controller on JACK
  StartConsole();
  screen = m_console->GetExerciseControl();
  probe = UI::ConsoleExerciseControlProbe(screen);
  WatchVerdicts();
  // The lessons start once the window's rescan has found the keyboard, which would otherwise
  // pause them.
  ASSERT_TRUE(PlugInWhileRunning(keyboard, "Melvarin Next Question Keys"));
  Core::GlobalSettings global = App()->GetSettings()->globalSettings;
  global.inputDevice = QString::fromStdString(keyboard->Name());
  App()->SetGlobalSettings(global);
  Walk(NoteTrainer, Input::MidiKeys);
  Walk(EarTrainer, Input::MidiKeys);
}

// Answers given on the screen need no MIDI: no keyboard of another program can pause the lessons.
class NextQuestionScreenTest : public NextQuestionScreen {
  Testing::NoMidiSources noMidi;
};

TEST_F(NextQuestionScreenTest, ShowsNothingOfTheLastVerdictAfterScreenKeys) {
  Walk(NoteTrainer, Input::ScreenKeys);
  Walk(EarTrainer, Input::ScreenKeys);
}

TEST_F(NextQuestionScreenTest, ShowsNothingOfTheLastVerdictAfterButtons) {
  Walk(NoteTrainer, Input::Buttons);
  Walk(EarTrainer, Input::Buttons);
  Walk(SymbolTrainer, Input::Buttons);
}

// A scale is answered once it has been heard whole: until then its buttons take no click, and
// they look faded into the keyboard area until the answer is awaited.
TEST_F(NextQuestionScreenTest, AScalesButtonsLookDisabledWhileItIsHeard) {
  Core::ExcersisesSettings settings = App()->GetSettings()->GetExcersiseSettings();
  settings.earTrainer.singleNotes.duration.questions = 0;
  App()->SetExcerciseSettings(settings);
  StartLesson(EarTrainer, Input::Buttons);
  if (HasFatalFailure()) return;
  ASSERT_EQ(Ex()->GetCurrentSection(), ScalesSection);
  timer.Run(200);
  ASSERT_EQ(Ex()->GetState(), Core::ES_PLAYING);
  for (QToolButton* button : AnswerButtons()) ASSERT_FALSE(button->isEnabled());
  ExpectShownAsDrawnAfresh("while the scale is heard");
  const double heard = ButtonsLightness();

  AwaitAnswerTime();
  if (HasFatalFailure()) return;
  for (QToolButton* button : AnswerButtons()) ASSERT_TRUE(button->isEnabled());
  const double awaited = ButtonsLightness();
  EXPECT_LT(heard, awaited * 0.85) << "while heard " << heard << ", awaited " << awaited;
  ExpectShownAsDrawnAfresh("once the scale has been heard");
}

}  // namespace
