// Lessons on the real exercise screen of the main window: starting from the overlay, answers on
// the piano and the buttons with their verdicts, the wrong-answer policy, time-outs, the section
// end, the MIDI warning and the statistics that cannot be saved.

#include <QDir>
#include <QImage>
#include <QKeyEvent>
#include <QLabel>
#include <QPropertyAnimation>
#include <QSlider>
#include <QStandardPaths>
#include <QTimer>
#include <QToolButton>

#include <algorithm>
#include <functional>
#include <ostream>
#include <set>

#include "../../../core/midi/platform/jack_test_support.h"
#include "src/core/catalog/exercise_catalog.h"
#include "src/core/exercise/ex_store/exercise_statistics.h"
#include "src/core/exercise/exercise.h"
#include "src/core/midi/platform/sound_controller.h"
#include "src/core/midi/timeline.h"
#include "src/core/midi/timer.h"
#include "src/core/settings/settings_manager.h"
#include "src/ui/action_hint_dialog.h"
#include "src/ui/block_view_control.h"
#include "src/ui/console.h"
#include "src/ui/controls/console_exercise_control/console_exercise_control.h"
#include "src/ui/controls/settings_ear_control.h"
#include "src/ui/controls/settings_note_control.h"
#include "src/ui/fader_widget.h"
#include "src/ui/keyboard.h"
#include "src/ui/message_dialogs.h"
#include "src/ui/picture_match.h"
#include "src/ui/picture_widget.h"
#include "src/ui/play_dialog.h"
#include "src/ui/score_board/score_board.h"
#include "src/ui/screen_geometry.h"
#include "src/ui/section_end_dialog.h"
#include "src/ui/shell_fixture.h"
#include "src/ui/storage_notice.h"
#include "ui_settings_ear_control.h"

namespace {

using Testing::WaitUntil;
constexpr int NoteTrainer = 0;
constexpr int EarTrainer = 1;
constexpr int SymbolTrainer = 2;
enum class Input { Buttons, ScreenKeys, MidiKeys };
const char* const TrainerNames[] = {"NoteTrainer", "EarTrainer", "SymbolTrainer"};
const char* const InputNames[] = {"OnButtons", "OnScreenKeys", "OnMidiKeysOverJack"};

// Names the way of answering in the listing of parameterised tests, instead of its bytes.
void PrintTo(Input input, std::ostream* out) {
  *out << InputNames[int(input)];
}

class ExerciseRunTest : public Testing::ShellTest {
 protected:
  void SetUp() override {
    ShellTest::SetUp();
    SetGlobal([](Core::GlobalSettings& g) {
      g.hideMidiDialog = true;
      g.showDifficultyDialog = false;
    });
    // One untimed question in the first section: short lessons that end.
    SetTrainers([](Core::ExcersisesSettings& s) {
      s.noteTrainer.singleNotes.duration = {0, 1};
      s.noteTrainer.interval.duration.questions = 0;
      s.noteTrainer.chord.duration.questions = 0;
      auto& symbols = s.sheetMusicSymbols;
      symbols.length.duration = {0, 1};
      for (Core::ExerciseDuration* d :
           {&symbols.signatures.duration, &symbols.tempo.duration, &symbols.loudness.duration,
            &symbols.noteModifiers.duration})
        d->questions = 0;
    });
    StartConsole();
  }
  static void SetGlobal(const std::function<void(Core::GlobalSettings&)>& change) {
    Core::GlobalSettings settings = App()->GetSettings()->globalSettings;
    change(settings);
    App()->SetGlobalSettings(settings);
  }
  static void SetTrainers(const std::function<void(Core::ExcersisesSettings&)>& change) {
    Core::ExcersisesSettings settings = App()->GetSettings()->GetExcersiseSettings();
    change(settings);
    App()->SetExcerciseSettings(settings);
  }
  UI::ConsoleExerciseControl* Screen() const { return m_console->GetExerciseControl(); }
  Core::Exercise* Ex() const { return Screen()->CurrentExercise(); }
  template <typename T = QWidget>
  T* Child(const char* name) const {
    return Screen()->findChild<T*>(name);
  }
  Core::Question Asked() const { return Ex()->GetCurrentQuestion(); }
  QString FrameStyle(const char* property) const {
    return Child("StatisticsWidget")->property(property).toString();
  }
  QString ButtonStyle(const char* property) const {
    return Screen()->property(property).toString();
  }
  // The frame shows the look's border colour along its outer edge only: no pixel away from the
  // edge, over the score and the bar inside, takes it.
  void ExpectFrameLook(const char* name) const {
    QWidget* frame = Child("ProgressFrameInternal");
    const UI::EdgeLook look = UI::EdgeLook::FromStyleSheet(FrameStyle(name));
    const QImage shown = frame->grab().toImage();
    const QRect inside =
        shown.rect().adjusted(look.width + 1, look.width + 1, -look.width - 1, -look.width - 1);
    for (const UI::EdgeLook& other :
         {UI::EdgeLook::FromStyleSheet(FrameStyle("CorrectAnswerBorderStyle")),
          UI::EdgeLook::FromStyleSheet(FrameStyle("WrongAnswerBorderStyle"))}) {
      const QRgb colour = other.colour.rgb();
      const bool shows = look.IsVisible() && other.colour == look.colour;
      int atEdge = 0;
      for (const QPoint& point : {QPoint(0, shown.height() / 2), QPoint(shown.width() / 2, 0),
                                  QPoint(shown.width() - 1, shown.height() / 2),
                                  QPoint(shown.width() / 2, shown.height() - 1)})
        atEdge += shown.pixel(point) == colour;
      EXPECT_EQ(atEdge, shows ? 4 : 0) << name;
      int within = 0;
      for (int y = inside.top(); y <= inside.bottom(); ++y)
        for (int x = inside.left(); x <= inside.right(); ++x) within += shown.pixel(x, y) == colour;
      EXPECT_EQ(within, 0) << name;
    }
  }
  QToolButton* AnswerButton(unsigned long variant) const {
    return Child<QToolButton>(qPrintable(QString("Answer%1").arg(variant + 1)));
  }

  // Starts a lesson as the home screen's Learn does, and plays it as the Play overlay does;
  // waits for the first question.
  void StartLesson(int trainer) {
    emit m_console->GetBlockViewControl()->OpenExercise(trainer, false);
    // The overlay comes up as the cross-fade ends; it takes Play from then on.
    ASSERT_TRUE(WaitUntil([&] {
      return FadeDone() && Screen()->isVisible() && Ex() && Screen()->GetPlayDialog()->isVisible();
    }));
    PlayFromOverlay();
    ASSERT_TRUE(WaitUntil([&] {
      return Ex()->GetState() == Core::ES_AWAITING_ANSWER && Child("rootWidget")->isVisible();
    }));
    // The notice of that state, posted by the timer thread as it changed it, opens the piano.
    QCoreApplication::processEvents();
  }
  // The notes the question expects (the note-ons of the correct variant), in the order they
  // sound, as MIDI note numbers.
  std::vector<int> ExpectedNotes() const {
    const Core::Question q = Asked();
    std::vector<int> notes;
    for (const Core::MidiEvent& e : q.VariantData[q.CorrectVariant].Stream->GetEvents())
      if (e.GetMessage().IsNoteAudible()) notes.push_back(e.GetMessage().GetNote());
    return notes;
  }
  // The first of them as a piano key.
  int ExpectedKey() const {
    const std::vector<int> notes = ExpectedNotes();
    return notes.empty() ? -1 : notes.front() - 21;
  }
  // The space bar as the screen meets it: the shortcut override it raises.
  void PressSpace() const {
    QKeyEvent press(QEvent::ShortcutOverride, Qt::Key_Space, Qt::NoModifier);
    QApplication::sendEvent(Screen(), &press);
  }
  // The Play overlay's own play: its fade-in, if one runs, ends first, as the overlay takes no
  // click meanwhile; the fade-out ends with Play().
  void PlayFromOverlay() const {
    FinishOverlayFade();
    Screen()->GetPlayDialog()->clickAreaClicked();
    FinishOverlayFade();
  }
  // Runs the overlay's fade to its end at once, a step at a time as its timer would.
  void FinishOverlayFade() const {
    UI::PlayDialog* overlay = Screen()->GetPlayDialog();
    for (int step = 0; step <= UI::PlayDialog::LastStep && overlay->animating(); ++step)
      overlay->advance();
  }
  // The screen as a new question has it: no verdict on the frame, the keys or the buttons.
  // The finished lesson's section-end dialog stands alone on top, with no Play overlay or hint,
  // and Escape leads on to the home screen.
  void ExpectEndOnTopAndEscapeLeadsHome(QWidget* end) const {
    EXPECT_FALSE(Screen()->GetPlayDialog()->isVisible());
    EXPECT_FALSE(Screen()->findChild<UI::ActionHintDialog*>()->isVisible());
    QWidget* onTop = Screen()->childAt(Screen()->rect().center());
    EXPECT_TRUE(onTop == end || end->isAncestorOf(onTop));
    QTest::keyClick(end, Qt::Key_Escape);
    EXPECT_TRUE(
        WaitUntil([&] { return FadeDone() && m_console->GetBlockViewControl()->isVisible(); }));
  }
  void ExpectNoVerdictShown() const {
    ExpectFrameLook("RegularBorderStyle");
    for (unsigned long variant = 0; variant < 6; ++variant)
      EXPECT_EQ(AnswerButton(variant)->styleSheet(), ButtonStyle("MultichoiceDefaultStyle"));
    auto* piano = Child<Keyboard>("Gkc");
    for (int k = 0; k < 88; ++k) EXPECT_EQ(piano->keyState(k).highlight, 0) << k;
  }
  // Whether the score frame still shakes or jumps.
  bool FrameMoving() const {
    for (const QPropertyAnimation* animation : Screen()->findChildren<QPropertyAnimation*>())
      if (animation->targetObject() == Child("ProgressFrameInternal") &&
          animation->state() != QAbstractAnimation::Stopped)
        return true;
    return false;
  }
  // Clicks a key of the on-screen piano where the piano itself finds it.
  void ClickKey(int key) const {
    auto* piano = Child<Keyboard>("Gkc");
    for (int y : {piano->height() - 8, piano->height() / 3})
      for (int x = 0; x < piano->width(); ++x)
        if (piano->getKeyByPos(x, y) == key) {
          QTest::mouseClick(piano, Qt::LeftButton, {}, QPoint(x, y));
          return;
        }
    ADD_FAILURE() << "no key " << key;
  }
};

// Right answers at every moment of a question's first three seconds, given on the buttons, the
// on-screen piano and a MIDI keyboard on JACK, in lessons and quizzes. The test drives the
// exercise's clock, so each delay is exact and nothing waits for it to pass.
class AnswerTimingTest : public ExerciseRunTest {
 protected:
  struct Verdict {
    bool right;
    unsigned int kind;
  };

  // Opens a trainer, the note trainer unless told, as the home screen does and starts it from the
  // Play overlay, the first time; later runs start as the section end's Repeat does. The first
  // question is asked, and played once the test lets time go by. Of the note trainer only
  // `section` (single notes, intervals, chords) asks questions.
  void Open(bool quiz, Input input, Core::ExerciseDuration duration = {10, 40}, int section = 0,
            int trainer = NoteTrainer) {
    App()->SetQuizMode(quiz);
    SetGlobal([input](Core::GlobalSettings& g) {
      g.answerGkc = input != Input::Buttons;
      g.answerMultipleChoice = input == Input::Buttons;
    });
    // Ten seconds for each of many questions, the way the levels time them.
    SetTrainers([duration, section](Core::ExcersisesSettings& s) {
      Core::NoteTrainerSettings& notes = s.noteTrainer;
      Core::ExerciseDuration* sections[] = {&notes.singleNotes.duration, &notes.interval.duration,
                                            &notes.chord.duration};
      for (int i = 0; i < 3; ++i) {
        if (i == section)
          *sections[i] = duration;
        else
          sections[i]->questions = 0;
      }
    });
    verdicts.clear();
    watch = std::make_unique<QObject>();
    QObject::connect(Screen(), &UI::ConsoleExerciseControl::AnswerProvided, watch.get(),
                     [this](bool right, const Core::Answer& a) {
                       verdicts.push_back({right, a.Kind});
                     });
    if (Ex()) {
      Screen()->StartExercise(trainer, quiz, false);
      Screen()->Play();
    } else {
      emit m_console->GetBlockViewControl()->OpenExercise(trainer, quiz);
      ASSERT_TRUE(WaitUntil([&] { return Screen()->isVisible() && Ex(); }));
      Screen()->GetPlayDialog()->clickAreaClicked();
    }
    ASSERT_EQ(Screen()->IsQuiz(), quiz);
    // A question that is not heard awaits its answer at once.
    ASSERT_TRUE(WaitUntil([&] {
      return Ex()->GetState() == Core::ES_PLAYING ||
             (trainer == SymbolTrainer && Ex()->GetState() == Core::ES_AWAITING_ANSWER);
    }));
  }
  // Lets the question play to its end, then `delay` ms of its answer time go by.
  void AwaitAnswerFor(int delay) {
    for (int guard = 0; guard < 4000 && Ex()->GetState() != Core::ES_AWAITING_ANSWER; ++guard)
      timer.Run(Core::Timer::PeriodMs);
    ASSERT_EQ(Ex()->GetState(), Core::ES_AWAITING_ANSWER);
    timer.Run(delay);
  }
  void Answer(Input input) {
    const size_t before = verdicts.size();
    switch (input) {
      case Input::Buttons:
        QTest::mouseClick(AnswerButton(Asked().CorrectVariant), Qt::LeftButton);
        break;
      case Input::ScreenKeys:
        ClickKey(ExpectedKey());
        break;
      case Input::MidiKeys: {
        const int note = ExpectedKey() + 21;
        // A JACK server without real-time scheduling on a busy machine can miss the cycle that
        // carries the key; the key is then pressed again, as a learner would, while the
        // question still waits for it. A key lost with no cycle missed still fails below.
        xruns->SendAgainIfLost(
            [&] {
              keyboard->Press(note);
              keyboard->Release(note);
            },
            [&] {
              return WaitUntil([&] { return verdicts.size() > before; }, Testing::LostMessageMs) ||
                     Ex()->GetState() != Core::ES_AWAITING_ANSWER;
            });
        break;
      }
    }
    ASSERT_TRUE(WaitUntil([&] { return verdicts.size() > before; }));
  }
  // Answers right after each delay, from the question's start to three seconds into its ten, and
  // moves on as the auto-next timer does.
  void AnswerAtEveryDelay(Input input) {
    for (bool quiz : {false, true}) {
      Open(quiz, input);
      if (HasFatalFailure()) return;
      std::vector<int> delays;
      // Every tenth of a second, each at another point of the clock's 50 ms tick.
      for (int k = 0; k <= 30; ++k) delays.push_back(k * 100 + (k % 10) * 5);
      for (int delay : delays) {
        AwaitAnswerFor(delay);
        if (HasFatalFailure()) return;
        Answer(input);
        if (HasFatalFailure()) return;
        EXPECT_TRUE(verdicts.back().right && verdicts.back().kind != Core::AK_NONE)
            << "quiz " << quiz << ", answered after " << delay << " ms";
        emit Screen()->NextQuestion();
      }
      EXPECT_EQ(verdicts.size(), delays.size());
    }
  }

  // Plays `notes` (MIDI note numbers) in order, on the on-screen piano or the JACK keyboard,
  // and waits for the verdict.
  void PlayNotes(Input input, const std::vector<int>& notes) {
    const size_t before = verdicts.size();
    if (input == Input::ScreenKeys) {
      for (int note : notes) ClickKey(note - 21);
    } else {
      // A JACK server without real-time scheduling on a busy machine can miss the cycle that
      // carries keys: those the exercise did not hear are played again, as a learner would,
      // while the question still waits. Keys lost with no cycle missed still fail below.
      xrunsBeforeLastKeys = xrunsAtLastKeys;
      xrunsAtLastKeys = xruns->Count();
      std::set<int> heard;
      QObject listening;
      QObject::connect(Screen(), &UI::ConsoleExerciseControl::NoteEntered, &listening,
                       [&heard](bool on, int note) {
                         if (on) heard.insert(note);
                       });
      for (int press = 1; press <= 3; ++press) {
        const int missed = xruns->Count();
        std::vector<int> left;
        for (int note : notes)
          if (!heard.count(note)) left.push_back(note);
        for (int note : left) jackKeys->Send({0x90, static_cast<unsigned char>(note), 100});
        for (int note : left) jackKeys->Send({0x80, static_cast<unsigned char>(note), 0});
        if (WaitUntil([&] { return verdicts.size() > before; }, 2000)) break;
        if (xruns->Count() == missed) break;
      }
    }
    ASSERT_TRUE(WaitUntil([&] { return verdicts.size() > before; }));
  }
  // Whether the server missed cycles since the keys before the last ones were played. The
  // program may then read a keyboard's cycle twice, and a key heard twice spoils the answer it
  // falls into, or the next question's.
  bool CyclesMissedAroundTheLastKeys() {
    xruns->CaughtUp();
    return xruns->Count() != xrunsBeforeLastKeys;
  }
  // Right answers while the question still sounds, 0 to 450 ms after it shows, to single notes,
  // intervals (one note after the other) and chords, in a lesson and a quiz. Each is judged at
  // once; none waits for its time to run out.
  void AnswerWhileSounding(Input input) {
    const char* const sections[] = {"single notes", "intervals", "chords"};
    const int delays[] = {0, 50, 150, 300, 450};
    for (bool quiz : {false, true}) {
      for (int section = 0; section < 3; ++section) {
        Open(quiz, input, {10, 40}, section);
        if (HasFatalFailure()) return;
        for (int delay : delays) {
          const std::string where = std::string(sections[section]) + (quiz ? " quiz" : " lesson") +
                                    ", " + std::to_string(delay) + " ms";
          timer.Run(delay);
          // A single note is a held note-on: its playback ends at the clock's first pass.
          if (delay == 0 || section > 0) {
            ASSERT_EQ(Ex()->GetState(), Core::ES_PLAYING) << where;
          }
          PlayNotes(input, ExpectedNotes());
          if (HasFatalFailure()) return;
          EXPECT_TRUE(verdicts.back().right ||
                      (input == Input::MidiKeys && CyclesMissedAroundTheLastKeys()))
              << where;
          EXPECT_EQ(verdicts.back().kind, Core::AK_NOTES) << where;
          emit Screen()->NextQuestion();
        }
        EXPECT_EQ(verdicts.size(), std::size(delays)) << sections[section];
      }
    }
  }
  // Makes a JACK keyboard the MIDI input of a new run of the program, which starts at home.
  void ListenToJackKeyboard(const QString& client) {
    Restart();  // the sound controller on JACK, with the keyboard as a MIDI input
    auto sound = App()->GetSoundController();
    const int port = [&] {
      for (unsigned long i = 0; i < sound->GetInputMidiDeviceCount(); ++i)
        if (sound->GetInputMidiDevice(i)->GetName().contains(client)) return int(i);
      return -1;
    }();
    ASSERT_GE(port, 0);
    keysDevice = sound->GetInputMidiDevice(static_cast<unsigned long>(port));
    SetGlobal([&](Core::GlobalSettings& g) { g.inputDevice = keysDevice->GetName(); });
    StartConsole();
  }
  void UseJackKeys() {
    xruns = std::make_unique<Testing::XrunCounter>();
    jackKeys = std::make_unique<Testing::JackKeyboard>("melvarin-sounding-keys", 64);
    ASSERT_TRUE(jackKeys->IsOpen());
    ListenToJackKeyboard("melvarin-sounding-keys");
  }

  Core::ManualTimer timer;
  std::unique_ptr<Testing::JackKeyboard> keyboard;
  std::unique_ptr<Testing::JackKeyboard> jackKeys;
  std::shared_ptr<Core::MidiInDevice> keysDevice;  // the input the JACK keyboard reaches
  std::unique_ptr<Testing::XrunCounter> xruns;     // made by the tests that answer over JACK
  int xrunsAtLastKeys = 0;         // the count when the last keys were played on the JACK keyboard
  int xrunsBeforeLastKeys = 0;     // the count when the keys before them were
  std::unique_ptr<QObject> watch;  // the verdicts are watched while it lives
  std::vector<Verdict> verdicts;
};

TEST_F(AnswerTimingTest, ButtonsAndScreenKeysAreJudgedAtEveryDelay) {
  AnswerAtEveryDelay(Input::Buttons);
  AnswerAtEveryDelay(Input::ScreenKeys);
}

TEST_F(AnswerTimingTest, MidiKeysOverJackAreJudgedAtEveryDelay) {
  MELVARIN_REQUIRE_JACK_DELIVERY();
  xruns = std::make_unique<Testing::XrunCounter>();
  Restart();  // the sound controller on JACK
  StartConsole();
  // The lesson starts once the window's rescan has found the keyboard, which would otherwise
  // pause it a second or more into the run.
  ASSERT_TRUE(PlugInWhileRunning(keyboard, "Melvarin Answer Keys"));
  SetGlobal(
      [&](Core::GlobalSettings& g) { g.inputDevice = QString::fromStdString(keyboard->Name()); });
  AnswerAtEveryDelay(Input::MidiKeys);
}

TEST_F(AnswerTimingTest, ScreenKeysAnswerWhileTheQuestionStillSounds) {
  AnswerWhileSounding(Input::ScreenKeys);
}

TEST_F(AnswerTimingTest, MidiKeysOverJackAnswerWhileTheQuestionStillSounds) {
  MELVARIN_REQUIRE_JACK_DELIVERY();
  UseJackKeys();
  if (HasFatalFailure()) return;
  AnswerWhileSounding(Input::MidiKeys);
}

// A long quiz answered at every moment, while the question sounds and after it: right on a MIDI
// keyboard, wrong on the screen keys, by time-outs, and with keys played while it is paused. It
// counts exactly the verdicts it showed, none of them behind the Play overlay.
TEST_F(AnswerTimingTest, ALongQuizCountsExactlyTheVerdictsItShows) {
  MELVARIN_REQUIRE_JACK_DELIVERY();
  UseJackKeys();
  if (HasFatalFailure()) return;
  // The test asks each next question itself; after a wrong answer nothing else does.
  SetTrainers([](Core::ExcersisesSettings& s) { s.noteTrainer.onWrongAnswer = {true, 60000}; });
  Open(true, Input::MidiKeys, {10, 60}, 1);  // sixty intervals
  if (HasFatalFailure()) return;
  int overlaid = 0;
  QObject::connect(Screen(), &UI::ConsoleExerciseControl::AnswerProvided, watch.get(),
                   [&] { overlaid += Screen()->GetPlayDialog()->isVisible(); });
  Testing::EventCollector heard;  // told of each key after the exercise
  keysDevice->AddObserver(&heard);
  int spoiled = 0;  // right keys judged wrong as a missed cycle was read twice
  for (int i = 0; i < 60; ++i) {
    const size_t before = verdicts.size();
    const std::vector<int> notes = ExpectedNotes();
    timer.Run((i * 97) % 451);
    if (i % 4 == 0) {
      PlayNotes(Input::MidiKeys, notes);
      if (verdicts.size() > before && !verdicts.back().right && CyclesMissedAroundTheLastKeys())
        ++spoiled;
    }
    if (i % 4 == 1) PlayNotes(Input::ScreenKeys, {notes.front() > 21 ? 21 : notes.back() + 1});
    for (int t = 0; i % 4 == 2 && t < 15000 && verdicts.size() == before; t += 50) timer.Run(50);
    if (i % 4 == 3) {
      PressSpace();
      heard.Clear();
      for (int note : notes) jackKeys->Send({0x90, static_cast<unsigned char>(note), 100});
      // A cycle the server missed may lose them; then there is nothing to judge either.
      heard.WaitFor(notes.size(), std::chrono::seconds(10));
      QCoreApplication::processEvents();
      EXPECT_EQ(verdicts.size(), before) << i;
      PlayFromOverlay();  // leaves the question behind and asks the next
      continue;
    }
    if (HasFatalFailure()) return;
    ASSERT_EQ(verdicts.size(), before + 1) << i;
    emit Screen()->NextQuestion();
  }
  keysDevice->RemoveObserver(&heard);

  EXPECT_EQ(overlaid, 0);
  ASSERT_EQ(verdicts.size(), 45u);
  const auto right =
      std::count_if(verdicts.begin(), verdicts.end(), [](auto& v) { return v.right; });
  EXPECT_EQ(right + spoiled, 15);
  EXPECT_EQ(Ex()->GetProgress().Answered, 45);
  EXPECT_EQ(Ex()->GetProgress().RightAnswers, right);
  std::vector<Core::ExStat> records;  // the lesson's statistics
  App()->GetExerciseCatalog()->GetExerciseStatistics()->GetLocalSummary(NoteTrainer, records);
  int recorded = 0;
  for (const Core::ExStat& record : records) recorded += record.Correct + record.Wrong;
  EXPECT_EQ(recorded, 45);
}

// A dialog that comes up over a running timed lesson stops its clock: the notice that Help could
// not be opened, the About dialog, a notice about the learner's files and a notice of the screen's
// own. No question runs out of time behind it while the learner reads; once it has gone the
// lesson waits behind the Play overlay, and Play asks a new question.
TEST_F(AnswerTimingTest, ADialogOverARunningLessonStopsItsClock) {
  const QByteArray service = qgetenv("MELVARIN_SERVICE_URL");
  qputenv("MELVARIN_SERVICE_URL", "http://127.0.0.1:9");
  Application::SetLinkOpener([](const QUrl&) { return false; });
  Core::StorageProblem problem;
  problem.kind = Core::StorageProblem::Unwritable;
  problem.path = "/nowhere/stats.xml";
  const std::pair<const char*, std::function<QDialog*()>> dialogs[] = {
      {"help",
       [&] {
         Click(m_console->form().Help);
         return m_console->findChild<UI::NoticeDialog*>("helpNotice");
       }},
      {"about",
       [&] {
         Click(m_console->form().About);
         return m_console->findChild<UI::AboutDialog*>();
       }},
      {"files", [&] { return UI::TellStorageProblems(m_console.get(), {problem}); }},
      {"screen's notice",
       [&] { return UI::ShowNotice(Screen(), "lessonNotice", "A notice", {"Its words."}); }},
  };
  Open(false, Input::Buttons, {1, 50});  // twenty ticks to a question
  if (HasFatalFailure()) return;
  for (const auto& [name, show] : dialogs) {
    AwaitAnswerFor(300);
    if (HasFatalFailure()) return;
    QDialog* dialog = show();
    ASSERT_TRUE(dialog && dialog->isVisible()) << name;
    timer.Run(5000);  // two questions' time and more
    QCoreApplication::processEvents();
    EXPECT_TRUE(verdicts.empty()) << name;
    EXPECT_TRUE(Screen()->IsPaused()) << name;
    dialog->done(0);
    ASSERT_TRUE(WaitUntil([&] { return !dialog->isVisible(); })) << name;
    EXPECT_TRUE(Screen()->GetPlayDialog()->isVisible()) << name;
    const int asked = Ex()->GetProgress().QuestionsAsked;
    PlayFromOverlay();
    ASSERT_TRUE(WaitUntil([&] { return Ex()->GetProgress().QuestionsAsked == asked + 1; })) << name;
  }
  EXPECT_EQ(Ex()->GetProgress().Answered, 0);
  Application::SetLinkOpener({});
  qputenv("MELVARIN_SERVICE_URL", service);
}

// Play after a pause leaves the interrupted question behind, uncounted, even when its time would
// run out while the exercise resumes (the timer thread may tick then).
TEST_F(AnswerTimingTest, PlayLeavesThePausedQuestionBehindEvenAtTheEndOfItsTime) {
  Open(false, Input::Buttons, {1, 5});  // twenty ticks to a question
  AwaitAnswerFor(0);
  const Core::TimeLine& timeline = Ex()->GetTimeline();
  const int end = (timeline.GetPosition() / 20 + 1) * 20;
  for (int guard = 0; guard < 400 && timeline.GetPosition() < end - 1; ++guard)
    timer.Run(Core::Timer::PeriodMs);
  ASSERT_EQ(timeline.GetPosition(), end - 1);
  ASSERT_EQ(Ex()->GetState(), Core::ES_AWAITING_ANSWER);
  Screen()->PauseExercise(true, true);

  QMetaObject::Connection tick =
      QObject::connect(Screen(), &UI::ConsoleExerciseControl::PlayStateChanged, watch.get(), [&] {
        QObject::disconnect(tick);
        timer.Run(100);
      });
  Screen()->PauseExercise(false, false);
  EXPECT_TRUE(verdicts.empty());
  EXPECT_EQ(Ex()->GetProgress().Answered, 0);
  EXPECT_EQ(Ex()->GetProgress().QuestionsAsked, 2);
  EXPECT_NE(Child<QLabel>("StatisticsHeaderLbl")->text(), "Out of time.");
}

// The window's rescan finds a plugged-in keyboard a second or more after the notice, later on a
// busy machine: it may come while the first question plays or waits for its answer. The lesson
// then waits behind the Play overlay, and the overlay's Play leaves that question behind,
// uncounted, and asks the next.
TEST_F(AnswerTimingTest, AKeyboardFoundDuringTheFirstQuestionPausesTheLessonUntilPlay) {
  for (const bool played : {false, true}) {
    Open(false, Input::Buttons);
    if (played) AwaitAnswerFor(0);
    emit m_console->deviceChange();
    UI::PlayDialog* overlay = Screen()->GetPlayDialog();
    EXPECT_TRUE(Screen()->IsPaused()) << played;
    EXPECT_TRUE(overlay->isVisible()) << played;
    timer.Run(1000);
    EXPECT_NE(Ex()->GetState(), Core::ES_AWAITING_ANSWER) << played;

    overlay->clickAreaClicked();
    for (int step = 0; step < UI::PlayDialog::LastStep; ++step) overlay->advance();
    EXPECT_FALSE(Screen()->IsPaused()) << played;
    AwaitAnswerFor(0);
    EXPECT_EQ(Ex()->GetProgress().QuestionsAsked, 2) << played;
    EXPECT_TRUE(verdicts.empty()) << played;
  }
}

// The time-out notice belongs to its question: it is gone when the next one shows, however soon.
TEST_F(AnswerTimingTest, TheTimeOutNoticeLeavesWithItsQuestion) {
  SetTrainers([](Core::ExcersisesSettings& s) { s.noteTrainer.onWrongAnswer = {true, 0}; });
  Open(false, Input::Buttons);
  AwaitAnswerFor(10000);
  ASSERT_EQ(verdicts.size(), 1u);
  ASSERT_EQ(verdicts.back().kind, Core::AK_NONE);
  auto* header = Child<QLabel>("StatisticsHeaderLbl");
  EXPECT_EQ(header->text(), "Out of time.");
  emit Screen()->NextQuestion();  // the auto-next timer, at once
  EXPECT_EQ(header->text(), "Your total score so far.");
  EXPECT_EQ(header->styleSheet(), header->property("RegularStyle").toString());
}

// Every kind of verdict in turn in a lesson of each trainer, answered on the on-screen piano, a
// MIDI keyboard over JACK or the buttons: at each next question the score frame, the question area
// and the keyboard area (the piano or the buttons) look as the window drawn afresh.
class NextQuestionTest : public AnswerTimingTest,
                         public ::testing::WithParamInterface<std::pair<int, Input>> {};

TEST_P(NextQuestionTest, ShowsNothingOfTheLastVerdict) {
  const auto [trainer, input] = GetParam();
  if (input == Input::MidiKeys) {
    MELVARIN_REQUIRE_JACK_DELIVERY();
    UseJackKeys();
    if (HasFatalFailure()) return;
  }
  // The first section of each trainer, timed so that a question can run out of time.
  SetTrainers([](Core::ExcersisesSettings& s) {
    auto& ear = s.earTrainer;
    for (Core::ExerciseDuration* d :
         {&ear.interval.duration, &ear.chord.duration, &ear.tempo.duration})
      d->questions = 0;
    ear.singleNotes.duration = s.sheetMusicSymbols.length.duration = {5, 10};
  });
  Open(false, input, {5, 10}, 0, trainer);
  if (HasFatalFailure()) return;
  auto* questionArea = Screen()->findChild<UI::FaderWidget*>();
  AwaitAnswerFor(0);
  const struct {
    const char* what;
    bool right, timedOut, goOn;  // after a mistake: the next question after a second, or a pause
  } steps[] = {{"a right answer", true, false, true},
               {"a wrong answer and a pause", false, false, false},
               {"a time-out", false, true, true},
               {"a wrong answer the lesson went on after", false, false, true},
               {"a right answer after a wrong one", true, false, true}};
  for (const auto& step : steps) {
    SCOPED_TRACE(step.what);
    SetTrainers([&](Core::ExcersisesSettings& s) {
      s.noteTrainer.onWrongAnswer = {step.goOn, 1000};
    });
    const size_t before = verdicts.size();
    const int asked = Ex()->GetProgress().QuestionsAsked;
    const unsigned long variant = Asked().CorrectVariant;
    const int note = input == Input::Buttons ? 0 : ExpectedNotes().front();
    if (step.timedOut)
      for (int ms = 0; ms < 15000 && verdicts.size() == before; ms += 50) timer.Run(50);
    else if (input == Input::Buttons)
      QTest::mouseClick(AnswerButton(step.right ? variant : (variant + 1) % 6), Qt::LeftButton);
    else  // a semitone away is wrong in any octave
      PlayNotes(input, step.right ? ExpectedNotes() : std::vector{note < 108 ? note + 1 : 107});
    ASSERT_TRUE(WaitUntil([&] { return verdicts.size() > before; }));
    ASSERT_EQ(verdicts.back().right, step.right);
    if (!step.goOn) {  // the learner reads the verdict until the frame stands still, and goes on
      ASSERT_TRUE(WaitUntil([&] { return !FrameMoving(); }));
      PressSpace();
    }
    ASSERT_TRUE(WaitUntil([&] { return Ex()->GetProgress().QuestionsAsked > asked; }));
    AwaitAnswerFor(0);
    ASSERT_TRUE(WaitUntil([&] { return !questionArea->isFading() && !FrameMoving(); }));
    const QImage shown = Testing::ShownWindow(Screen()), fresh = Testing::FreshWindow(Screen());
    for (const char* name : {"ProgressFrameWidget", "NotestavePictureWidget", "GkcLayoutWidget"}) {
      const QRect place(Child(name)->mapTo(m_console.get(), QPoint()), Child(name)->size());
      EXPECT_EQ(Testing::PixelsOff(shown, fresh, place), 0) << name << " differs when drawn afresh";
    }
  }
}

INSTANTIATE_TEST_SUITE_P(, NextQuestionTest,
                         ::testing::Values(std::pair{NoteTrainer, Input::ScreenKeys},
                                           std::pair{NoteTrainer, Input::Buttons},
                                           std::pair{EarTrainer, Input::ScreenKeys},
                                           std::pair{EarTrainer, Input::Buttons},
                                           std::pair{SymbolTrainer, Input::Buttons},
                                           std::pair{NoteTrainer, Input::MidiKeys},
                                           std::pair{EarTrainer, Input::MidiKeys}),
                         [](const auto& test) {
                           return std::string(TrainerNames[test.param.first]) +
                                  InputNames[int(test.param.second)];
                         });

// A scale is answered once it has been heard whole: until then its answer buttons take no click,
// and they look faded into the keyboard area.
TEST_F(AnswerTimingTest, AScalesAnswerButtonsLookDisabledWhileItIsHeard) {
  SetTrainers([](Core::ExcersisesSettings& s) {
    auto& ear = s.earTrainer;
    for (Core::ExerciseDuration* d :
         {&ear.singleNotes.duration, &ear.interval.duration, &ear.chord.duration})
      d->questions = 0;
  });
  Open(false, Input::Buttons, {10, 40}, 0, EarTrainer);
  timer.Run(200);
  ASSERT_EQ(Ex()->GetCurrentSection(), 3u);
  ASSERT_EQ(Ex()->GetState(), Core::ES_PLAYING);
  QToolButton* button = AnswerButton(0);
  ASSERT_FALSE(button->isEnabled());
  const auto lightness = [&] {  // the mean of the button as shown
    const QRect place(button->mapTo(m_console.get(), QPoint()), button->size());
    const QImage shown = Testing::ShownWindow(button).copy(place);
    return shown.scaled(1, 1, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
        .pixelColor(0, 0)
        .lightnessF();
  };
  const double heard = lightness();
  AwaitAnswerFor(0);
  ASSERT_TRUE(WaitUntil([&] { return button->isEnabled(); }));
  EXPECT_LT(heard, lightness() * 0.85);
}

TEST_F(ExerciseRunTest, ARightKeyTurnsTheFrameGreenAndTheLessonEndsWithItsScore) {
  // A timed question: the lesson ends when its time is up.
  SetTrainers([](Core::ExcersisesSettings& s) { s.noteTrainer.singleNotes.duration = {1, 1}; });
  StartLesson(NoteTrainer);
  ClickKey(ExpectedKey());
  ExpectFrameLook("CorrectAnswerBorderStyle");
  EXPECT_EQ(AnswerButton(Asked().CorrectVariant)->styleSheet(),
            ButtonStyle("MultichoiceCorrectStyle"));
  ASSERT_TRUE(WaitUntil([&] { return Ex()->GetState() == Core::ES_FINISHED; }));
  UI::SectionEndDialog* end = Screen()->GetSectionEndDialog();
  ASSERT_TRUE(WaitUntil([&] { return end->isVisible(); }));
  EXPECT_EQ(Ex()->GetProgress().RightAnswers, 1);
  // It covers the whole screen, the score panel at its top included; its title lies below that
  // panel, which shows through it dimmed.
  EXPECT_EQ(end->geometry(), Screen()->rect());
  QWidget* frame = Child("ProgressFrameInternal");
  const int frameBottom = frame->mapTo(Screen(), QPoint(0, frame->height())).y();
  const QWidget* title = end->findChild<QLabel*>("label");
  EXPECT_TRUE(WaitUntil([&] { return title->mapTo(Screen(), QPoint()).y() > frameBottom; }))
      << title->mapTo(Screen(), QPoint()).y() << " over " << frameBottom;

  // Repeat starts the lesson again at once, with empty lesson statistics.
  end->on_Repeat_released();
  EXPECT_TRUE(WaitUntil([&] { return !end->isVisible(); }));
  EXPECT_EQ(Ex()->GetPlaybackState(), Core::PS_PLAYING);
  EXPECT_EQ(Ex()->GetProgress().Answered, 0);
}

// Back from the settings, a finished lesson's section-end dialog is on top with the keys: no Play
// overlay or spacebar hint stands over it, the space bar plays nothing, and Escape continues.
TEST_F(ExerciseRunTest, BackFromTheSettingsAFinishedLessonsSectionEndIsOnTopWithTheKeys) {
  SetTrainers([](Core::ExcersisesSettings& s) { s.noteTrainer.singleNotes.duration = {1, 1}; });
  StartLesson(NoteTrainer);
  ClickKey(ExpectedKey());
  UI::SectionEndDialog* end = Screen()->GetSectionEndDialog();
  ASSERT_TRUE(WaitUntil([&] { return end->isVisible() && !end->countingUp(); }));
  m_console->showSettings();
  ASSERT_TRUE(
      WaitUntil([&] { return FadeDone() && m_console->GetSettingsNoteControl(0)->isVisible(); }));
  m_console->showExercise();
  ASSERT_TRUE(WaitUntil([&] { return FadeDone() && end->isVisible() && end->hasFocus(); }));
  QTest::keyClick(end, Qt::Key_Space);
  ExpectEndOnTopAndEscapeLeadsHome(end);
}

// An untimed last section ends on its last answer as a timed one ends: the section-end dialog
// with the score, over a screen that invites no answer and no pause, and nothing kept to resume.
TEST_F(ExerciseRunTest, AnUntimedLessonEndsWithTheSectionEndDialog) {
  // The seconds of the sections before the last: untimed (0) or timed.
  for (const auto& [trainer, earlierSeconds] :
       {std::pair{NoteTrainer, 0}, std::pair{NoteTrainer, 60}, std::pair{SymbolTrainer, 0}}) {
    SCOPED_TRACE(testing::Message() << trainer << " " << earlierSeconds);
    SetTrainers([earlierSeconds](Core::ExcersisesSettings& s) {
      s.noteTrainer.singleNotes.duration = s.noteTrainer.interval.duration = {earlierSeconds, 1};
      s.noteTrainer.chord.duration = {0, 1};
    });
    StartLesson(trainer);
    const bool notes = trainer == NoteTrainer;
    const int questions = notes ? 3 : 1;
    for (int asked = 1; asked <= questions; ++asked) {
      ASSERT_TRUE(WaitUntil([&] {
        return Ex()->GetProgress().QuestionsAsked == asked &&
               (Ex()->GetState() == Core::ES_PLAYING ||
                Ex()->GetState() == Core::ES_AWAITING_ANSWER);
      }));
      if (notes)
        for (int note : ExpectedNotes()) ClickKey(note - 21);
      else
        QTest::mouseClick(AnswerButton(Asked().CorrectVariant), Qt::LeftButton);
    }
    UI::SectionEndDialog* end = Screen()->GetSectionEndDialog();
    ASSERT_TRUE(WaitUntil([&] {
      return Ex()->GetState() == Core::ES_STOPPED && end->isVisible() && !end->countingUp();
    }));
    EXPECT_EQ(end->findChild<QLabel*>("CountDown")->text(), "100%");
    Core::VAvaroState resume;
    EXPECT_FALSE(Screen()->SaveState(resume));
    // The space bar, a click on the question area and an answer play nothing and count nothing.
    PressSpace();
    QTest::mouseClick(Screen()->findChild<UI::FaderWidget*>(), Qt::LeftButton);
    notes ? ClickKey(39) : QTest::mouseClick(AnswerButton(0), Qt::LeftButton);
    EXPECT_EQ(Ex()->GetPlaybackState(), Core::PS_STOPPED);
    EXPECT_EQ(Ex()->GetProgress().Answered, questions);
    EXPECT_FALSE(Screen()->findChild<UI::FaderWidget*>()->currentWidget()) << "a question shows";
    ExpectEndOnTopAndEscapeLeadsHome(end);
  }
}

TEST_F(ExerciseRunTest, AWrongKeyWithContinueOffPausesWithTheHintUntilTheLearnerGoesOn) {
  SetTrainers([](Core::ExcersisesSettings& s) {
    s.noteTrainer.onWrongAnswer.autoContinue = false;
    s.noteTrainer.singleNotes.duration = {0, 2};  // a question follows the wrong answer
  });
  StartLesson(NoteTrainer);
  // A MIDI keyboard's notes light their keys; notes beyond the piano light nothing.
  auto* piano = Child<Keyboard>("Gkc");
  for (int note : {20, 109, 127, -3, 108})
    QMetaObject::invokeMethod(Screen(), "HighlightNote", Q_ARG(bool, true), Q_ARG(int, note));
  for (int key = 0; key < 88; ++key)
    EXPECT_EQ(piano->keyState(key).highlight, key == 87 ? KeyState::Green : 0) << key;

  const int key = ExpectedKey();
  auto* board = Screen()->findChild<UI::ScoreBoard*>();
  ASSERT_NE(board, nullptr);
  const Core::ScoresDescription* question = board->GetScore(0);
  ClickKey(key == 40 ? 41 : 40);
  ExpectFrameLook("WrongAnswerBorderStyle");
  // The answer score, with the wrong and the missed note, follows the painted verdict.
  EXPECT_EQ(board->GetScore(0), question);
  struct PaintWatch : QObject {
    const UI::ScoreBoard* board = nullptr;
    std::vector<const Core::ScoresDescription*> scoresAtPaint;
    bool eventFilter(QObject*, QEvent* event) override {
      if (event->type() == QEvent::UpdateRequest)
        scoresAtPaint.push_back(const_cast<UI::ScoreBoard*>(board)->GetScore(0));
      return false;
    }
  } watch;
  watch.board = board;
  m_console->installEventFilter(&watch);
  QCoreApplication::processEvents();
  m_console->removeEventFilter(&watch);
  ASSERT_FALSE(watch.scoresAtPaint.empty());
  EXPECT_EQ(watch.scoresAtPaint.front(), question) << "the verdict is painted first";
  EXPECT_NE(board->GetScore(0), question);
  EXPECT_NE(board->GetScore(0), nullptr);
  EXPECT_EQ(piano->keyState(key).highlight, KeyState::Blue);
  EXPECT_EQ(Ex()->GetPlaybackState(), Core::PS_PAUSED);
  auto* hint = Screen()->findChild<UI::ActionHintDialog*>();
  EXPECT_TRUE(hint->isVisible());
  EXPECT_TRUE(hint->label()->text().startsWith("Press spacebar for next question,"));

  // Going on leaves the question behind for the next, with the regular hint.
  EXPECT_TRUE(Screen()->PauseExercise(false, false));
  EXPECT_NE(Ex()->GetPlaybackState(), Core::PS_PAUSED);
  EXPECT_TRUE(hint->label()->text().startsWith("Press spacebar to pause"));
}

// The shake of a wrong answer and the jump of a right one start and end at the frame's own place,
// also when one comes while the other still moves the frame.
TEST_F(ExerciseRunTest, TheFrameComesBackToItsPlaceAfterEveryVerdict) {
  SetTrainers([](Core::ExcersisesSettings& s) {
    s.noteTrainer.singleNotes.duration = {0, 5};
    s.noteTrainer.onWrongAnswer = {true, 0};
  });
  StartLesson(NoteTrainer);
  QWidget* frame = Child("ProgressFrameInternal");
  const QRect place = frame->geometry();
  const int key = ExpectedKey();
  ClickKey(key == 40 ? 41 : 40);
  ASSERT_TRUE(WaitUntil(
      [&] { return frame->x() != place.x() && Ex()->GetState() == Core::ES_AWAITING_ANSWER; }));
  ClickKey(ExpectedKey());  // while the frame shakes
  ASSERT_TRUE(WaitUntil([&] { return !FrameMoving(); }));
  EXPECT_EQ(frame->geometry(), place);
}

// A heard scale answered on the keys is played whole, one note after the other: the question says
// so under its mark. On the buttons, whose names tell what to choose, the mark stands alone.
TEST_F(ExerciseRunTest, AScaleToPlayOnTheKeysSaysSo) {
  SetTrainers([](Core::ExcersisesSettings& s) {
    auto& ear = s.earTrainer;
    for (Core::ExerciseDuration* d : {&ear.singleNotes.duration, &ear.interval.duration,
                                      &ear.chord.duration, &ear.tempo.duration})
      d->questions = 0;
    ear.scales.duration = {0, 2};
  });
  const auto caption = [&] {
    QStringList captions;
    for (const UI::PictureWidget* picture : Screen()->findChildren<UI::PictureWidget*>())
      if (!picture->caption().isEmpty() && picture->isVisible()) captions << picture->caption();
    return captions.join('|');
  };
  for (const bool buttons : {false, true}) {
    SCOPED_TRACE(buttons ? "buttons" : "keys");
    SetGlobal([buttons](Core::GlobalSettings& g) {
      g.answerGkc = !buttons;
      g.answerMultipleChoice = buttons;
    });
    StartLesson(EarTrainer);
    ASSERT_EQ(Ex()->GetCurrentSection(), 3u);
    if (buttons) {
      EXPECT_EQ(caption(), "");
    } else {
      EXPECT_TRUE(WaitUntil([&] { return caption() == "Play the scale you heard, note by note"; }))
          << caption().toStdString();
    }
    m_console->NavigateHome();
    ASSERT_TRUE(WaitUntil([&] { return FadeDone() && !Screen()->isVisible(); }));
  }
}

// An interval played top note first, on the on-screen piano or struck on a MIDI keyboard with its
// top note arriving first, is counted right and shown right: both keys green, and no frame round a
// wrong note on the answer score. In the note and the ear trainer alike.
TEST_F(ExerciseRunTest, AnIntervalPlayedTopNoteFirstShowsEveryNoteRight) {
  SetTrainers([](Core::ExcersisesSettings& s) {
    s.noteTrainer.singleNotes.duration.questions = 0;
    auto& ear = s.earTrainer;
    for (Core::ExerciseDuration* d : {&ear.singleNotes.duration, &ear.chord.duration,
                                      &ear.scales.duration, &ear.tempo.duration})
      d->questions = 0;
    for (Core::IntervalSettings* interval : {&s.noteTrainer.interval, &ear.interval}) {
      interval->duration = {0, 4};
      interval->intervalStart = 1;  // a unison has no top note
    }
  });
  for (const int trainer : {NoteTrainer, EarTrainer}) {
    StartLesson(trainer);
    for (const bool midi : {false, true}) {
      SCOPED_TRACE((trainer == NoteTrainer ? "note trainer" : "ear trainer") +
                   std::string(midi ? ", MIDI keys" : ", screen keys"));
      ASSERT_TRUE(WaitUntil([&] { return Ex()->GetState() == Core::ES_AWAITING_ANSWER; }));
      std::vector<int> notes = ExpectedNotes();
      std::sort(notes.begin(), notes.end(), std::greater<>());
      ASSERT_EQ(notes.size(), 2u);
      for (int note : notes)
        if (midi)
          Ex()->InternalMidiEvent(Core::MidiEvent(
              Core::MidiMessage(Core::MidiNoteOn, 0, static_cast<unsigned char>(note), 90), 0, 0));
        else
          ClickKey(note - 21);
      EXPECT_EQ(Ex()->GetProgress().RightAnswers, midi ? 2 : 1);
      QCoreApplication::sendPostedEvents(Screen());  // the answer score, after the verdict
      for (int note : notes)
        EXPECT_EQ(Child<Keyboard>("Gkc")->keyState(note - 21).highlight, KeyState::Green);
      // The answer score, drawn from the same analysis as the keys, frames no wrong note.
      const Core::ScoresDescription* score = Screen()->findChild<UI::ScoreBoard*>()->GetScore(0);
      ASSERT_NE(score, nullptr);
      EXPECT_EQ(score->highlightIndex, -1);
      emit Screen()->NextQuestion();  // the auto-next timer, at once
    }
    m_console->NavigateHome();
    ASSERT_TRUE(WaitUntil([&] { return FadeDone() && !Screen()->isVisible(); }));
  }
}

TEST_F(ExerciseRunTest, AWrongButtonTurnsRedTheRightOneGreenBeforeTheClickReturns) {
  StartLesson(SymbolTrainer);
  const unsigned long right = Asked().CorrectVariant;
  const unsigned long wrong = (right + 1) % 6;
  ASSERT_TRUE(AnswerButton(wrong)->isVisible());
  QTest::mouseClick(AnswerButton(wrong), Qt::LeftButton);
  EXPECT_EQ(AnswerButton(wrong)->styleSheet(), ButtonStyle("MultichoiceIncorrectStyle"));
  EXPECT_EQ(AnswerButton(right)->styleSheet(), ButtonStyle("MultichoiceCorrectStyle"));
}

TEST_F(ExerciseRunTest, ATimeOutShowsItsNoticeInTheHeader) {
  SetTrainers([](Core::ExcersisesSettings& s) { s.sheetMusicSymbols.length.duration = {1, 1}; });
  StartLesson(SymbolTrainer);
  auto* header = Child<QLabel>("StatisticsHeaderLbl");
  ASSERT_TRUE(WaitUntil([&] { return header->text() == "Out of time."; }));
  EXPECT_EQ(header->styleSheet(), header->property("TimeoutStyle").toString());
}

TEST_F(ExerciseRunTest, ASeekGoesToItsPlaceInTheSectionOrPastTheButtonsToTheLastTick) {
  SetTrainers([](Core::ExcersisesSettings& s) { s.sheetMusicSymbols.length.duration = {30, 2}; });
  StartLesson(SymbolTrainer);
  auto* slider = Child<QSlider>("TimeSlider");
  const UI::ConsoleExerciseControl::TimelineButtonInfo first = Screen()->TimelineButtons()[0];
  const UI::ConsoleExerciseControl::TimelineButtonInfo last = Screen()->TimelineButtons().back();
  ASSERT_LE(last.left + last.width, slider->maximum());
  const Core::TimeLine& timeline = Ex()->GetTimeline();
  const struct {
    int value, position;
  } seeks[] = {{first.left + first.width / 2, int(first.duration * 0.5)},
               {slider->maximum(), timeline.GetTotalDuration() - 1}};
  for (const auto& seek : seeks) {
    QMetaObject::invokeMethod(Screen(), "BeginSeekSlider");
    slider->setValue(seek.value);
    QMetaObject::invokeMethod(Screen(), "EndSeekSlider");
    EXPECT_NEAR(timeline.GetPosition(), seek.position, 2) << seek.value;
  }
}

TEST_F(ExerciseRunTest, TheMidiWarningShowsOncePerRunAndNeverForMusicSymbols) {
  if (App()->GetSoundController()->GetInputMidiDeviceCount() > 0)
    GTEST_SKIP() << "A MIDI input is present.";
  SetGlobal([](Core::GlobalSettings& g) { g.hideMidiDialog = false; });
  // A desktop whose first screen does not start at (0, 0): the warning still covers the screen.
  struct Screens {
    Screens() { UI::SetScreenGeometries({QRect(1440, 0, 1280, 800)}); }
    ~Screens() { UI::SetScreenGeometries({QRect(0, 0, 1440, 900)}); }
  } screens;
  int shown = 0;
  bool up = false;
  QRect covered;
  // The dialog runs modally: each warning is counted once and closed by its own button.
  QTimer closer;
  QObject::connect(&closer, &QTimer::timeout, [&] {
    auto* dialog = Screen()->findChild<UI::WarningDialog*>();
    const bool visible = dialog && dialog->isVisible();
    if (visible && !up) ++shown;
    up = visible;
    if (visible) {
      covered = dialog->geometry();
      Click(dialog->findChild<QAbstractButton*>("Close"));
    }
  });
  closer.start(50);
  StartLesson(NoteTrainer);
  EXPECT_EQ(shown, 1);
  EXPECT_EQ(covered, Screen()->rect());
  Screen()->PauseExercise(true, true);
  Screen()->Play();
  EXPECT_EQ(Ex()->GetPlaybackState(), Core::PS_PLAYING);
  StartLesson(SymbolTrainer);
  EXPECT_EQ(shown, 1);
}

TEST_F(ExerciseRunTest, StatisticsThatCannotBeSavedAreToldAndTheLessonGoesOn) {
  const QString local = QDir(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation))
                            .filePath("statsLocal.xml");
  QFile::remove(local);
  ASSERT_TRUE(QDir().mkpath(local + "/blocked"));
  StartLesson(NoteTrainer);
  EXPECT_TRUE(Child<QLabel>("StatisticsHeaderLbl")
                  ->text()
                  .contains("The lesson's file, statsLocal.xml, cannot be saved."));
}

// Wrong answers with no delay, two hundred in a row: each shows its verdict (the longest: shake,
// sound) as the click returns, and the next question follows at once. How long the verdict takes
// to be painted is measured by the benchmark (bench/ui), not here.
TEST_F(ExerciseRunTest, WrongAnswersInARowEachShowTheirVerdictAndTheNextQuestionFollows) {
  SetTrainers([](Core::ExcersisesSettings& s) {
    s.sheetMusicSymbols.length.duration = {0, 200};
    s.noteTrainer.onWrongAnswer = {true, 0};
  });
  StartLesson(SymbolTrainer);
  for (int i = 0; i < 200; ++i) {
    ASSERT_TRUE(WaitUntil([&] { return Ex()->GetState() == Core::ES_AWAITING_ANSWER; })) << i;
    QToolButton* wrong = AnswerButton((Asked().CorrectVariant + 1) % 6);
    QTest::mouseClick(wrong, Qt::LeftButton);
    Screen()->repaint();
    ASSERT_EQ(wrong->styleSheet(), ButtonStyle("MultichoiceIncorrectStyle")) << i;
  }
}

}  // namespace

// Settings open on the page of the running section, and what the learner changes there reaches
// the running lesson when they come back to it.
TEST_F(ExerciseRunTest, SettingsOpenOnTheRunningSectionsPageAndItsEditsReachTheLesson) {
  constexpr int EarTrainer = 1;
  constexpr int ScalesSection = 3;
  StartLesson(EarTrainer);
  QMetaObject::invokeMethod(Screen(), "SwitchToSection4");  // its section button
  ASSERT_EQ(Screen()->GetExerciseSectionIndex(), ScalesSection);

  m_console->showSettings();  // the toolbar's Settings
  auto* panel = m_console->GetSettingsEarControl(ScalesSection);
  ASSERT_TRUE(WaitUntil([&] { return panel->isVisible(); }));
  EXPECT_EQ(panel->form().earStackedTabs->currentWidget(), panel->form().exEarScales);
  const unsigned int asked = Ex()->GetCommonSettings().Sections[ScalesSection].QuestionCount;
  const int edited = static_cast<int>(asked) + 3;
  ASSERT_TRUE(panel->form().earExScalesDuration->scrollToQuestionValue(edited));

  m_console->showExercise();  // the toolbar's Exercise
  ASSERT_TRUE(WaitUntil([&] { return Screen()->isVisible(); }));
  EXPECT_EQ(Ex()->GetCommonSettings().Sections[ScalesSection].QuestionCount,
            static_cast<unsigned int>(edited));
}

// The Single Notes page opened from a lesson and left unchanged keeps the learner's key range,
// also a range whose ends are black keys or white keys above black ones.
TEST_F(ExerciseRunTest, AKeyRangeLeftUnchangedInTheSettingsStaysAsItWas) {
  emit m_console->GetBlockViewControl()->OpenExercise(NoteTrainer, false);
  ASSERT_TRUE(WaitUntil([&] { return FadeDone() && Screen()->isVisible(); }));
  for (const auto& [low, high] : {std::pair{15, 55}, std::pair{16, 62}}) {
    SetTrainers([low, high](Core::ExcersisesSettings& s) {
      s.noteTrainer.singleNotes.diapason.minimum = low;
      s.noteTrainer.singleNotes.diapason.maximum = high;
    });
    m_console->showSettings();
    ASSERT_TRUE(
        WaitUntil([&] { return FadeDone() && m_console->GetSettingsNoteControl(0)->isVisible(); }));
    m_console->showExercise();
    ASSERT_TRUE(WaitUntil([&] { return FadeDone() && Screen()->isVisible(); }));
    const Core::NotesDiapason& kept =
        App()->GetSettings()->GetExcersiseSettings().noteTrainer.singleNotes.diapason;
    EXPECT_EQ(std::make_pair(kept.minimum, kept.maximum), std::make_pair(low, high));
  }
}

// Back from the settings to a lesson paused after a wrong answer, the Play overlay stands over a
// screen without that verdict: Play goes on with the next question.
TEST_F(ExerciseRunTest, BackFromTheSettingsTheOverlayCoversNoOldVerdict) {
  SetTrainers(
      [](Core::ExcersisesSettings& s) { s.noteTrainer.onWrongAnswer.autoContinue = false; });
  StartLesson(NoteTrainer);
  const int key = ExpectedKey();
  ClickKey(key == 40 ? 41 : 40);
  ExpectFrameLook("WrongAnswerBorderStyle");
  auto* piano = Child<Keyboard>("Gkc");
  ASSERT_EQ(piano->keyState(key).highlight, KeyState::Blue);

  m_console->showSettings();
  ASSERT_TRUE(WaitUntil([&] { return m_console->GetSettingsNoteControl(0)->isVisible(); }));
  m_console->showExercise();
  ASSERT_TRUE(WaitUntil([&] { return FadeDone() && Screen()->isVisible(); }));
  EXPECT_TRUE(Screen()->GetPlayDialog()->isVisible());
  ExpectNoVerdictShown();
}

// Space or a click that pauses right after a verdict: the Play overlay covers a screen without
// it, as the question it answered is over, and Play asks the next one.
TEST_F(ExerciseRunTest, APauseRightAfterAVerdictCoversAScreenWithoutIt) {
  SetTrainers([](Core::ExcersisesSettings& s) {
    s.noteTrainer.singleNotes.duration = {0, 5};
    s.noteTrainer.onWrongAnswer = {true, 60000};
  });
  StartLesson(NoteTrainer);
  for (const bool bySpace : {true, false}) {
    const int key = ExpectedKey();
    ClickKey(key == 40 ? 41 : 40);
    ExpectFrameLook("WrongAnswerBorderStyle");
    ASSERT_EQ(Child<Keyboard>("Gkc")->keyState(key).highlight, KeyState::Blue);
    if (bySpace)
      PressSpace();
    else
      QTest::mouseClick(Child("ProgressFrameWidget"), Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_TRUE(Screen()->IsPaused()) << bySpace;
    EXPECT_TRUE(Screen()->GetPlayDialog()->isVisible()) << bySpace;
    ExpectNoVerdictShown();
    const int asked = Ex()->GetProgress().QuestionsAsked;
    PlayFromOverlay();
    ASSERT_TRUE(WaitUntil([&] { return Ex()->GetState() == Core::ES_AWAITING_ANSWER; }));
    EXPECT_EQ(Ex()->GetProgress().QuestionsAsked, asked + 1) << bySpace;
  }
}

// A press on a section button in the Play overlay's picture plays that section, at the start of
// a lesson and in place of the paused question; a press beside the buttons plays on where the
// lesson stands.
TEST_F(ExerciseRunTest, ASectionButtonUnderThePlayOverlayPlaysItsSection) {
  SetTrainers([](Core::ExcersisesSettings& s) {
    s.noteTrainer.singleNotes.duration = {0, 3};
    s.noteTrainer.interval.duration = {0, 3};
    s.noteTrainer.chord.duration = {0, 3};
  });
  emit m_console->GetBlockViewControl()->OpenExercise(NoteTrainer, false);
  ASSERT_TRUE(WaitUntil([&] { return Screen()->isVisible() && Ex(); }));
  UI::PlayDialog* overlay = Screen()->GetPlayDialog();
  ASSERT_TRUE(overlay->isVisible());
  // The buttons lie under the slider, at the same places.
  auto pressSection = [&](int button) {
    auto* section = Child<QToolButton>(qPrintable(QString("TimelineButton%1").arg(button + 1)));
    const QPoint centre = Child("TimeSlider")->mapTo(Screen(), section->geometry().center());
    QTest::mouseClick(overlay, Qt::LeftButton, {}, overlay->mapFrom(Screen(), centre));
    FinishOverlayFade();
  };
  ASSERT_EQ(Child<QToolButton>("TimelineButton2")->text(), "Intervals");
  pressSection(1);
  ASSERT_TRUE(WaitUntil([&] { return Ex()->GetState() == Core::ES_AWAITING_ANSWER; }));
  EXPECT_FALSE(overlay->isVisible());
  EXPECT_EQ(Ex()->GetCurrentSection(), 1u);
  EXPECT_EQ(Ex()->GetProgress().QuestionsAsked, 1);  // none of the first section before it

  Screen()->PauseExercise(true, true);
  pressSection(2);
  ASSERT_TRUE(WaitUntil([&] { return Ex()->GetState() == Core::ES_AWAITING_ANSWER; }));
  EXPECT_EQ(Ex()->GetCurrentSection(), 2u);
  EXPECT_EQ(Ex()->GetPlaybackState(), Core::PS_PLAYING);
  EXPECT_EQ(Ex()->GetProgress().Answered, 0);

  Screen()->PauseExercise(true, true);
  QTest::mouseClick(overlay, Qt::LeftButton, {}, overlay->rect().center());
  FinishOverlayFade();
  ASSERT_TRUE(WaitUntil([&] { return Ex()->GetState() == Core::ES_AWAITING_ANSWER; }));
  EXPECT_EQ(Ex()->GetCurrentSection(), 2u);
  EXPECT_EQ(Ex()->GetPlaybackState(), Core::PS_PLAYING);
}

// Help that no browser opens is told, and the lesson waits behind the notice and then behind the
// Play overlay; Help that opens pauses the lesson behind the Play overlay, where the learner comes
// back to it.
TEST_F(ExerciseRunTest, HelpWithoutABrowserIsToldAndHelpThatOpensPausesVisibly) {
  const QByteArray service = qgetenv("MELVARIN_SERVICE_URL");
  bool browser = false;
  QStringList opened;
  Application::SetLinkOpener([&](const QUrl& url) {
    opened << url.toString();
    return browser;
  });
  SetTrainers([](Core::ExcersisesSettings& s) { s.noteTrainer.singleNotes.duration = {60, 5}; });
  StartLesson(NoteTrainer);
  auto notice = [&](const char* words) {
    auto* dialog = m_console->findChild<UI::NoticeDialog*>("helpNotice");
    if (!dialog || !dialog->isVisible()) return false;
    const bool told = dialog->findChild<QLabel*>("Loading_5")->text().contains(words);
    dialog->hide();
    return told && WaitUntil([&] { return !dialog->isVisible(); });  // its fade has ended
  };
  auto runsOn = [&] {
    return Ex()->GetPlaybackState() == Core::PS_PLAYING &&
           !Screen()->GetPlayDialog()->isVisible() && !m_console->isMinimized();
  };
  for (const char* address : {"http://127.0.0.1:9", ""}) {
    qputenv("MELVARIN_SERVICE_URL", address);
    Click(m_console->form().Help);
    EXPECT_TRUE(notice(*address ? "No web browser" : "no address")) << address;
    EXPECT_TRUE(Screen()->IsPaused()) << address;
    EXPECT_TRUE(Screen()->GetPlayDialog()->isVisible()) << address;
    PlayFromOverlay();
    EXPECT_TRUE(WaitUntil(runsOn)) << address;
  }
  EXPECT_EQ(opened, QStringList{"http://127.0.0.1:9/Home/Help"});

  qputenv("MELVARIN_SERVICE_URL", "http://127.0.0.1:9");
  browser = true;
  Click(m_console->form().Help);
  EXPECT_EQ(opened.size(), 2);
  EXPECT_TRUE(Screen()->IsPaused());
  // The window system confirms each change of the window's state later, as an event.
  QCoreApplication::processEvents();
  EXPECT_TRUE(m_console->isMinimized());
  m_console->showNormal();  // back from the browser
  QCoreApplication::processEvents();
  EXPECT_TRUE(WaitUntil([&] {
    return Screen()->testAttribute(Qt::WA_Mapped) && Screen()->GetPlayDialog()->isVisible();
  }));
  EXPECT_TRUE(Screen()->IsPaused());
  PlayFromOverlay();
  EXPECT_TRUE(WaitUntil(runsOn));

  Application::SetLinkOpener({});
  qputenv("MELVARIN_SERVICE_URL", service);
}
