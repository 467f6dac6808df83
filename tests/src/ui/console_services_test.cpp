// The main window's work with the outside: MIDI devices plugged in while it runs (real JACK
// ports) and news from the service (an HTTP server in the test).

#include <QElapsedTimer>
#include <QSignalSpy>
#include <QTimer>
#include <QWindow>

#include "../core/midi/platform/jack_test_support.h"
#include "shell_fixture.h"
#include "src/core/midi/platform/sound_controller.h"
#include "src/core/news/news_client.h"
#include "src/ui/app_rating.h"
#include "src/ui/controls/console_exercise_control/console_exercise_control.h"
#include "src/ui/message_dialogs.h"
#include "support/http_test_server.h"

namespace {

using Testing::WaitUntil;

class ConsoleServicesTest : public Testing::ShellTest {
 protected:
  int Countdown() const { return m_console->deviceDetectionCountdown(); }
  void OpenLesson() {
    m_console->OpenExercise(0, false);
    ASSERT_TRUE(WaitUntil([&] { return FadeDone(); }));
  }
  void RequireNoMidiInput() {
    MELVARIN_REQUIRE_JACK();
    Restart();  // the sound controller on JACK
    // A port closed by the test before goes with its client, which can take a moment.
    auto controller = App()->GetSoundController();
    if (!WaitUntil([&] { return !controller->UpdateDevices(); }, Testing::PatienceMs))
      GTEST_SKIP() << "The JACK server has MIDI sources of other programs.";
  }
  // Other test programs on the same JACK server may add a MIDI source, and take it away again,
  // while a test waits for none: any change before the test plugs its own keyboard is theirs, and
  // such a run says nothing about the rescan.
  static bool Disturbed(const QSignalSpy& changes) { return !changes.isEmpty(); }
  // Waits for the countdown to reach `value`, or for a change that ends the rescan early.
  bool CountdownReaches(int value, const QSignalSpy& changes) const {
    return WaitUntil([&] { return Countdown() == value || Disturbed(changes); });
  }
  // Nine rescans a second apart, each of which a busy machine may make much slower.
  static constexpr int WholeDetectionMs = 60000;

  // Starts the detection as a notice would, once a notice of an earlier change has run its course.
  void Notice(QElapsedTimer& clock) {
    ASSERT_TRUE(WaitUntil([&] { return Countdown() == 0; }, WholeDetectionMs));
    clock.start();
    UI::ConsoleMidiDeviceChangedHandler();
  }
};

TEST_F(ConsoleServicesTest, APluggedInKeyboardIsFoundByTheSecondlyRescan) {
  RequireNoMidiInput();
  if (IsSkipped()) return;
  StartConsole();
  OpenLesson();
  QSignalSpy changes(m_console.get(), &UI::Console::deviceChange);
  QElapsedTimer clock;
  Notice(clock);
  UI::ConsoleMidiDeviceChangedHandler();  // ignored while a detection is pending
  EXPECT_EQ(Countdown(), UI::Console::DeviceScanCountdown);
  for (int tick = 1; tick <= 2; ++tick) {
    ASSERT_TRUE(CountdownReaches(UI::Console::DeviceScanCountdown - tick, changes));
    if (Disturbed(changes)) GTEST_SKIP() << "A MIDI source of another program came or went.";
    EXPECT_GE(clock.elapsed(), tick * UI::Console::DeviceScanIntervalMs);
  }
  EXPECT_FALSE(m_console->GetExerciseControl()->IsPaused());

  Testing::JackKeyboard keyboard("Melvarin Hot Plug");
  ASSERT_TRUE(keyboard.IsOpen());
  ASSERT_TRUE(changes.wait(Testing::PatienceMs));
  EXPECT_EQ(Countdown(), 0);
  EXPECT_EQ(App()->GetSoundController()->GetInputMidiDeviceCount(), 1u);
  EXPECT_EQ(App()->GetSoundController()->GetSelectedInputMidiDevice(), 0u);
  EXPECT_TRUE(m_console->GetExerciseControl()->IsPaused());
}

TEST_F(ConsoleServicesTest, TheRescanGivesUpAfterNineTries) {
  RequireNoMidiInput();
  if (IsSkipped()) return;
  StartConsole();
  QSignalSpy changes(m_console.get(), &UI::Console::deviceChange);
  QElapsedTimer clock;
  Notice(clock);
  ASSERT_TRUE(WaitUntil([&] { return Countdown() == 0; }, WholeDetectionMs));
  if (Disturbed(changes)) GTEST_SKIP() << "A MIDI source of another program came or went.";
  EXPECT_GE(clock.elapsed(), UI::Console::DeviceScanCountdown * UI::Console::DeviceScanIntervalMs);
}

TEST_F(ConsoleServicesTest, DevicesLeftForLaterOpenOnceTheWindowIsOnTheScreen) {
  MELVARIN_REQUIRE_JACK();
  // The set-up notice of the keyboard plugged in here is waited out before the window comes: a
  // rescan it set off would open the devices before the window shows.
  static bool noticed = false;
  Core::SoundController::SetMidiDeviceHandler([] { noticed = true; });
  Testing::JackKeyboard keyboard("Melvarin Late Keys");
  ASSERT_TRUE(keyboard.IsOpen());
  ASSERT_TRUE(WaitUntil([] { return noticed; }));
  App()->ReleaseServices();
  QStringList trace;
  Application::SetServiceTrace([&trace](const QString& event) { trace << event; });
  App()->Init(Application::OpenDevicesLater);
  auto sound = App()->GetSoundController();
  StartConsole();
  m_console->hide();
  ASSERT_TRUE(WaitUntil([&] { return !m_console->windowHandle()->isExposed(); }));
  EXPECT_EQ(sound->GetInputMidiDeviceCount(), 0u);
  EXPECT_EQ(sound->GetOutputMidiDeviceCount(), 0u);

  QSignalSpy changes(m_console.get(), &UI::Console::deviceChange);
  m_console->OpenDevicesOnceShown();
  QCoreApplication::processEvents();
  EXPECT_EQ(sound->GetInputMidiDeviceCount(), 0u) << "opened before the window shows";
  m_console->show();
  ASSERT_TRUE(changes.wait(Testing::PatienceMs));
  Application::SetServiceTrace({});
  EXPECT_EQ(trace.count("open devices"), 1);
  EXPECT_EQ(sound->GetOutputMidiDeviceCount(), 1u);
  bool found = false;
  for (unsigned long i = 0; i < sound->GetInputMidiDeviceCount(); ++i)
    found = found || sound->GetInputMidiDevice(i)->GetName() == "Melvarin Late Keys:out";
  EXPECT_TRUE(found);
  EXPECT_NE(sound->GetSelectedInputMidiDevice(), Core::SoundController::NoSelection);
  EXPECT_FALSE(App()->OpenDevices()) << "they open once";
}

TEST_F(ConsoleServicesTest, NewsShowsTheMailButtonAfterASecondAndOpensInTheDialog) {
  if (Testing::UnderThreadSanitizer) GTEST_SKIP() << "Qt's network handoffs are invisible to it";
  Testing::HttpTestServer server;
  Testing::HttpTestServer::Response news;
  news.headers << qMakePair(QByteArray("NewsID"), QByteArray("7"));
  news.body = "<html><body><p>New lessons are out</p></body></html>";
  server.SetResponse(news);
  qputenv("MELVARIN_SERVICE_URL", server.BaseUrl().toUtf8());
  Restart();
  // News present at start: fetched before the window is up, so the window sees them on its first
  // look after a second. A fetch still running when the window comes would show them at once
  // through the client's notice, or, ending after the first look, only 30 s later.
  ASSERT_TRUE(WaitUntil([&] { return !App()->GetNewsClient()->isFetching(); }));
  QElapsedTimer clock;
  clock.start();
  StartConsole();
  QWidget* mail = m_console->form().Mail;
  ASSERT_TRUE(WaitUntil([&] { return mail->isVisible(); }));
  EXPECT_GE(clock.elapsed(), UI::Console::FirstNewsLookMs);
  EXPECT_TRUE(m_console->form().captionSeparator_2->isVisible());

  Click(mail);
  ASSERT_NE(m_console->mailDialog(), nullptr);
  EXPECT_TRUE(m_console->mailDialog()->isVisible());
  EXPECT_TRUE(m_console->mailDialog()
                  ->findChild<QTextBrowser*>("mailText")
                  ->toPlainText()
                  .contains("New lessons are out"));
  EXPECT_EQ(Stored("GlobalSetting/Settings.NewsId").toInt(), 7);
  qunsetenv("MELVARIN_SERVICE_URL");
}

TEST_F(ConsoleServicesTest, TheExitAsksForTheRatingBetweenHidingAndTheUpload) {
  if (Testing::UnderThreadSanitizer) GTEST_SKIP() << "Qt's network handoffs are invisible to it";
  Testing::HttpTestServer server;
  qputenv("MELVARIN_SERVICE_URL", server.BaseUrl().toUtf8());
  Restart();
  StartConsole();
  m_console->OpenExercise(1, false);
  ASSERT_TRUE(WaitUntil([&] { return FadeDone(); }));

  auto uploads = [&server] {
    int count = 0;
    for (const auto& request : server.Requests()) count += request.path == "/Services/Tstats.ashx";
    return count;
  };
  // What has happened when the rating is up: record stored, exercise stopped, window hidden, and
  // no upload yet. The rating is looked for until it comes up.
  bool hidden = false, stopped = false, uploaded = true;
  int stored = 0;
  QTimer look;
  QObject::connect(&look, &QTimer::timeout, m_console.get(), [&] {
    auto* rating = qobject_cast<QDialog*>(QApplication::activeModalWidget());
    if (!rating) return;
    look.stop();
    hidden = !m_console->isVisible();
    stopped = !m_console->GetExerciseControl()->HasExercise();
    stored = Stored("ROZazod.LastState").toInt();
    uploaded = uploads() > 0;
    rating->reject();
  });
  look.start(50);
  ExitConsole();
  EXPECT_TRUE(hidden);
  EXPECT_TRUE(stopped);
  EXPECT_EQ(stored, 2);
  EXPECT_FALSE(uploaded);
  EXPECT_TRUE(WaitUntil([&] { return uploads() == 1; }));
  qunsetenv("MELVARIN_SERVICE_URL");
}

}  // namespace
