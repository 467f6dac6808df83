// The ways out of the program: closing the main window with a named pipe in place of the settings
// file, and a shutdown or logout in the middle of a lesson. Both end the event loop and keep what
// the run produced.

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QTimer>
#include <QToolButton>

#include <csignal>

#include <unistd.h>

#include "shell_fixture.h"
#include "src/core/catalog/exercise_catalog.h"
#include "src/core/exercise/exercise.h"
#include "src/core/midi/platform/sound_controller.h"
#include "src/core/settings/settings_manager.h"
#include "src/core/telemetry/service_endpoint.h"
#include "src/ui/app_rating.h"
#include "src/ui/controls/console_exercise_control/console_exercise_control.h"
#include "src/ui/message_dialogs.h"
#include "src/ui/play_dialog.h"
#include "support/named_pipes.h"

namespace {

using Testing::WaitUntil;
constexpr int SymbolTrainer = 2;

class LeavingTest : public Testing::ShellTest {
 protected:
  void SetUp() override {
    ShellTest::SetUp();
    // The rating would be asked at this exit: the service is configured and its day has come.
    qputenv("MELVARIN_SERVICE_URL", "http://127.0.0.1:9");
    UI::AppRating::SetToday([] { return QDate(2026, 1, 1); });
  }
  void TearDown() override {
    m_ratingWatch.stop();
    UI::AppRating::SetToday([] { return QDate::currentDate(); });
    qunsetenv("MELVARIN_SERVICE_URL");
    App()->LeaveOnTermination({});
    Core::SetServiceTransferTimeoutMs(m_transferTimeoutMs);  // a session end shortens it
    ShellTest::TearDown();
  }

  static QString DataFile(const char* name) {
    return Core::ExerciseCatalog::GetDbDir().absoluteFilePath(name);
  }
  static QByteArray ReadAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
  }
  // Counts each rating question that comes up and dismisses it as Escape does.
  void DismissRatings() {
    m_ratingWatch.callOnTimeout([this] {
      for (QWidget* widget : QApplication::topLevelWidgets())
        if (auto* rating = qobject_cast<UI::AppRating*>(widget); rating && rating->isVisible()) {
          ++m_ratingsAsked;
          rating->reject();
        }
    });
    m_ratingWatch.start(20);
  }
  // Runs the application's event loop until the program's exit ends it; false when it does not
  // within the tests' patience.
  static bool RunUntilTheExit() {
    QTimer patience;  // ends with this call, so it never ends a later test's loop
    patience.setSingleShot(true);
    patience.callOnTimeout([] { QCoreApplication::exit(1); });
    patience.start(Testing::PatienceMs);
    return QCoreApplication::exec() == 0;
  }

  QTimer m_ratingWatch;
  int m_ratingsAsked = 0;
  const int m_transferTimeoutMs = Core::ServiceTransferTimeoutMs();
};

TEST_F(LeavingTest, ClosingTheWindowWithAPipeForTheSettingsFileEndsAndKeepsTheUsageRecord) {
  CloseConsole();
  App()->ReleaseServices();
  const QString settings = m_env.ConfigHome() + "/Quorvale/MelvarinStudio.conf";
  QFile::remove(settings);
  ASSERT_TRUE(QDir().mkpath(QFileInfo(settings).path()));
  Testing::NamedPipes pipes(Testing::PatienceMs / 1000);
  ASSERT_TRUE(pipes.Make(settings));
  testing::internal::CaptureStderr();
  App()->Init();
  StartConsole();
  DismissRatings();

  m_console->close();
  // The exit ran within the close and ended the loop that was not running yet: running it clears
  // that, as the program's own loop ends.
  QTimer::singleShot(0, qApp, [] { QCoreApplication::exit(0); });
  QCoreApplication::exec();
  EXPECT_FALSE(m_console->isVisible());
  EXPECT_EQ(m_ratingsAsked, 1) << "with no file to remember a rating, it is asked";
  CloseConsole();
  App()->ReleaseServices();
  testing::internal::GetCapturedStderr();

  EXPECT_TRUE(pipes.Release()) << "the settings file was waited for";
  EXPECT_TRUE(Testing::NamedPipes::IsPipe(settings));
  EXPECT_TRUE(ReadAll(DataFile("tstats.xml")).contains("appLaunchCount=\"1\""));
}

// SIGTERM halfway through a lesson: the lesson is left as on a close, its answer saved, the
// lesson kept for the next start and the usage record written, and nobody is asked to rate.
TEST_F(LeavingTest, ASessionEndInALessonKeepsItsAnswersWithoutAskingForARating) {
  StartConsole();
  Core::GlobalSettings global = App()->GetSettings()->globalSettings;
  global.hideMidiDialog = true;
  global.showDifficultyDialog = false;
  App()->SetGlobalSettings(global);
  UI::ConsoleExerciseControl* screen = m_console->GetExerciseControl();
  m_console->OpenExercise(SymbolTrainer, false);
  ASSERT_TRUE(WaitUntil([&] { return FadeDone() && screen->CurrentExercise(); }));
  screen->GetPlayDialog()->clickAreaClicked();
  ASSERT_TRUE(
      WaitUntil([&] { return screen->CurrentExercise()->GetState() == Core::ES_AWAITING_ANSWER; }));
  const Core::Question asked = screen->CurrentExercise()->GetCurrentQuestion();
  Click(screen->findChild<QToolButton*>(QString("Answer%1").arg(asked.CorrectVariant + 1)));
  DismissRatings();

  App()->LeaveOnTermination([this] { m_console->endSession(); });
  ASSERT_EQ(::kill(::getpid(), SIGTERM), 0);
  ASSERT_TRUE(RunUntilTheExit());
  EXPECT_EQ(m_ratingsAsked, 0);
  EXPECT_FALSE(m_console->isVisible());
  EXPECT_FALSE(screen->HasExercise());
  const QByteArray answers = ReadAll(DataFile("statsLocal.xml"));
  EXPECT_TRUE(answers.contains("exId=\"2\"") && answers.contains("correct=\"1\""))
      << answers.data();
  EXPECT_EQ(Stored("ROZazod.LastState").toInt(), 2);
  EXPECT_EQ(Stored("ROZazod.ExerciseID").toInt(), SymbolTrainer);

  CloseConsole();
  App()->ReleaseServices();
  const QByteArray usage = ReadAll(DataFile("tstats.xml"));
  EXPECT_TRUE(usage.contains("appLaunchCount=\"1\""));
  EXPECT_TRUE(usage.contains("<exercise id=\"2\" exLaunchCount=\"1\""));
}

// SIGTERM while the warning that no MIDI keyboard is found waits for the learner: the warning is
// dismissed, and the lesson is left only once its loop has ended, so nothing runs on after it.
TEST_F(LeavingTest, ASessionEndWhileTheMidiWarningWaitsDismissesItFirst) {
  if (App()->GetSoundController()->GetInputMidiDeviceCount() > 0)
    GTEST_SKIP() << "a MIDI source of another program is present: no warning comes";
  StartConsole();
  Core::GlobalSettings global = App()->GetSettings()->globalSettings;
  global.showDifficultyDialog = false;
  App()->SetGlobalSettings(global);
  UI::ConsoleExerciseControl* screen = m_console->GetExerciseControl();
  m_console->OpenExercise(0, false);
  ASSERT_TRUE(WaitUntil([&] { return FadeDone() && screen->CurrentExercise(); }));
  App()->LeaveOnTermination([this] { m_console->endSession(); });

  // Play runs the warning's own loop; the signal comes once the warning is up.
  QTimer::singleShot(0, screen, [screen] { screen->GetPlayDialog()->clickAreaClicked(); });
  bool signalled = false;
  QTimer watch;
  watch.callOnTimeout([&] {
    auto* warning = screen->findChild<UI::WarningDialog*>();
    if (signalled || !warning || !warning->isVisible()) return;
    signalled = true;
    ::kill(::getpid(), SIGTERM);
  });
  watch.start(20);
  ASSERT_TRUE(RunUntilTheExit());
  watch.stop();
  EXPECT_TRUE(signalled);
  EXPECT_FALSE(screen->findChild<UI::WarningDialog*>()->isVisible());
  EXPECT_FALSE(screen->HasExercise());
  EXPECT_EQ(Stored("ROZazod.LastState").toInt(), 2);
  CloseConsole();
  App()->ReleaseServices();
  EXPECT_TRUE(ReadAll(DataFile("tstats.xml")).contains("appLaunchCount=\"1\""));
}

}  // namespace
