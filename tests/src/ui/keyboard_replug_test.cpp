// A MIDI keyboard unplugged and plugged in again under the same name, as a learner pulls a USB
// cable and puts it back: the keyboard is a JACK client in a process of its own, and the whole
// program notices each change by itself.

#include <QProcess>
#include <QSignalSpy>

#include "../core/midi/platform/jack_test_support.h"
#include "shell_fixture.h"
#include "shown_text.h"
#include "src/core/exercise/exercise.h"
#include "src/core/midi/platform/sound_controller.h"
#include "src/core/settings/settings_manager.h"
#include "src/ui/controls/console_exercise_control/console_exercise_control.h"
#include "src/ui/controls/device_box_view.h"
#include "src/ui/controls/settings_note_control.h"

namespace {

using Testing::WaitUntil;

// The keyboard's process, driven line by line (tests/support/jack_keyboard_process.cpp).
class KeyboardProcess {
 public:
  explicit KeyboardProcess(const QString& client) {
    m_process.start(QStringLiteral(MELVARIN_JACK_KEYBOARD), {client});
  }
  ~KeyboardProcess() {
    m_process.closeWriteChannel();  // the end of its input closes its client
    if (!m_process.waitForFinished(Testing::PatienceMs)) m_process.kill();
  }
  KeyboardProcess(const KeyboardProcess&) = delete;
  KeyboardProcess& operator=(const KeyboardProcess&) = delete;

  // Sends one command and returns the process's answer; empty when none came.
  QString Command(const QString& command) {
    m_process.write((command + '\n').toUtf8());
    if (!WaitUntil([&] {
          m_process.waitForReadyRead(10);
          return m_process.canReadLine();
        }))
      return {};
    return QString::fromUtf8(m_process.readLine()).trimmed();
  }
  // Plugs the keyboard in; its port's full name, or empty when it failed.
  QString Plug() {
    const QString answer = Command("plug");
    return answer.startsWith("plugged ") ? answer.mid(8) : QString();
  }
  bool Unplug() { return Command("unplug") == "unplugged"; }
  bool Press(int note) { return Command(QStringLiteral("press %1").arg(note)) == "sent"; }

 private:
  QProcess m_process;
};

class KeyboardReplugTest : public Testing::ShellTest {
 protected:
  // The program on JACK with its window up; the keyboard not yet plugged in.
  void StartOnJack() {
    MELVARIN_REQUIRE_JACK_DELIVERY();
    Restart();
    StartConsole();
    screen = m_console->GetExerciseControl();
    QObject::connect(screen, &UI::ConsoleExerciseControl::AnswerProvided, screen,
                     [this](bool right, const Core::Answer&) { verdicts.push_back(right); });
    const QString client =
        QStringLiteral("Melvarin Replug %1").arg(QCoreApplication::applicationPid());
    keyboard = std::make_unique<KeyboardProcess>(client);
    ChooseKeyboard(client + ":out");
  }
  // What the general settings page of the note trainer's panel says of the MIDI keyboard.
  QString PageSays() {
    return Testing::ShownIn(m_console->GetSettingsNoteControl(0)
                                ->findChild<UI::DeviceBoxView*>()
                                ->findChild<QLabel*>("lblMidiDevice"))
        .all;
  }
  bool PageNames(const QString& port) {
    return PageSays() == "Using the " + port + " keyboard device.";
  }
  // The selected input device, when it is the keyboard's port.
  std::shared_ptr<Core::MidiInDevice> SelectedKeyboard(const QString& port) {
    auto sound = App()->GetSoundController();
    const unsigned long selected = sound->GetSelectedInputMidiDevice();
    if (selected >= sound->GetInputMidiDeviceCount()) return nullptr;
    auto device = sound->GetInputMidiDevice(selected);
    return device->GetName() == port ? device : nullptr;
  }
  // The keyboard is the input the learner chose, so that other sources on the server are not
  // picked in its place.
  void ChooseKeyboard(const QString& port) {
    Core::GlobalSettings global = App()->GetSettings()->globalSettings;
    global.inputDevice = port;
    App()->SetGlobalSettings(global);
  }
  // Whether the device the program selects hears the keyboard's keys.
  bool Hears(const QString& port, int note) {
    auto device = SelectedKeyboard(port);
    if (!device) return false;
    Testing::EventCollector heard;
    device->AddObserver(&heard);
    const bool came = Testing::XrunCounter().SendAgainIfLost(
        [&] { keyboard->Press(note); },
        [&] { return WaitUntil([&] { return !heard.Events().empty(); }, Testing::LostMessageMs); });
    device->RemoveObserver(&heard);
    return came;
  }

  // The note the question asked waits for.
  int ExpectedNote() {
    const Core::Question question = screen->CurrentExercise()->GetCurrentQuestion();
    return question.VariantData[question.CorrectVariant]
        .Stream->GetEvents()
        .front()
        .GetMessage()
        .GetNote();
  }

  UI::ConsoleExerciseControl* screen = nullptr;
  std::vector<bool> verdicts;
  std::unique_ptr<KeyboardProcess> keyboard;
};

TEST_F(KeyboardReplugTest, AtHomeTheSettingsPageFollowsAKeyboardUnpluggedAndPluggedInAgain) {
  StartOnJack();
  if (IsSkipped()) return;
  m_console->Show(m_console->GetSettingsNoteControl(4), false);

  const QString port = keyboard->Plug();
  ASSERT_FALSE(port.isEmpty());
  ASSERT_TRUE(WaitUntil([&] { return PageNames(port); })) << PageSays().toStdString();

  ASSERT_TRUE(keyboard->Unplug());
  ASSERT_TRUE(WaitUntil([&] { return !PageSays().contains(port); })) << PageSays().toStdString();
  if (App()->GetSoundController()->GetInputMidiDeviceCount() == 0) {
    EXPECT_EQ(PageSays(), "No MIDI device plugged in.");
  }

  ASSERT_EQ(keyboard->Plug(), port) << "the same name again";
  ASSERT_TRUE(WaitUntil([&] { return PageNames(port); })) << PageSays().toStdString();
  EXPECT_TRUE(Hears(port, 60));
}

TEST_F(KeyboardReplugTest, DuringALessonAKeyPlayedOnTheReturnedKeyboardIsJudged) {
  StartOnJack();
  if (IsSkipped()) return;
  QSignalSpy changes(m_console.get(), &UI::Console::deviceChange);
  const QString port = keyboard->Plug();
  ASSERT_FALSE(port.isEmpty());
  ASSERT_TRUE(WaitUntil([&] { return SelectedKeyboard(port) != nullptr; }));
  m_console->OpenExercise(0, false);
  ASSERT_TRUE(WaitUntil([&] { return FadeDone(); }));
  screen->PauseExercise(false, false);

  changes.clear();
  ASSERT_TRUE(keyboard->Unplug());
  ASSERT_TRUE(WaitUntil([&] { return !changes.isEmpty() && !SelectedKeyboard(port); }));
  EXPECT_TRUE(screen->IsPaused());
  ASSERT_EQ(keyboard->Plug(), port);
  ASSERT_TRUE(WaitUntil([&] { return SelectedKeyboard(port) != nullptr; }));

  // The lesson waits behind the Play overlay; Play asks the next question.
  screen->PauseExercise(false, false);
  Core::Exercise* exercise = screen->CurrentExercise();
  ASSERT_TRUE(WaitUntil([&] { return exercise->GetState() == Core::ES_AWAITING_ANSWER; }));
  const int note = ExpectedNote();
  Testing::XrunCounter().SendAgainIfLost(
      [&] { keyboard->Press(note); },
      [&] { return WaitUntil([&] { return !verdicts.empty(); }, Testing::LostMessageMs); });
  ASSERT_TRUE(WaitUntil([&] { return !verdicts.empty(); }));
  EXPECT_EQ(verdicts, std::vector<bool>{true});
}

}  // namespace
