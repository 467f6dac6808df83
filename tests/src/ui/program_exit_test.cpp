// The program itself, started as a learner's session starts it and ended as a shutdown or a
// logout ends it: it leaves as it does when closed and keeps its usage record, also with a named
// pipe in place of its settings file.

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>

#include "support/named_pipes.h"
#include "support/patience.h"

namespace {

class ProgramExitTest : public ::testing::TestWithParam<int> {
 protected:
  void SetUp() override {
    for (const char* folder : {"home", "config/Quorvale", "data", "runtime"})
      ASSERT_TRUE(QDir(m_root.path()).mkpath(folder));
    QFile::setPermissions(Path("runtime"), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
  }

  QString Path(const QString& name) const { return m_root.filePath(name); }
  QString DataFile(const char* name) const {
    return Path(QStringLiteral("data/Quorvale/MelvarinStudio/")) + QLatin1String(name);
  }

  // A session of its own: its own home, settings, data and runtime folders, no display, no MIDI or
  // sound server, no online service.
  void Start() {
    QProcessEnvironment environment;
    environment.insert("PATH", qEnvironmentVariable("PATH"));
    environment.insert("HOME", Path("home"));
    environment.insert("XDG_CONFIG_HOME", Path("config"));
    environment.insert("XDG_DATA_HOME", Path("data"));
    environment.insert("XDG_RUNTIME_DIR", Path("runtime"));
    environment.insert("QT_QPA_PLATFORM", "offscreen");
    environment.insert("JACK_NO_START_SERVER", "1");
    for (const char* name : {"ASAN_OPTIONS", "UBSAN_OPTIONS", "TSAN_OPTIONS", "LSAN_OPTIONS"})
      if (qEnvironmentVariableIsSet(name)) environment.insert(name, qEnvironmentVariable(name));
    m_program.setProcessEnvironment(environment);
    m_program.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    m_program.start(QStringLiteral(MELVARIN_PROGRAM), {QStringLiteral("-nofs")});
    ASSERT_TRUE(m_program.waitForStarted(Testing::PatienceMs));
  }

  QTemporaryDir m_root;
  QProcess m_program;
};

// Ended by the system while the main window stands: within a few seconds the program has written
// its usage record and its statistics and returned as from a close, and the pipe is still a pipe.
TEST_P(ProgramExitTest, ASessionEndLeavesAsACloseDoesWithAPipeForTheSettingsFile) {
  const QString settings = Path("config/Quorvale/MelvarinStudio.conf");
  Testing::NamedPipes pipes(Testing::PatienceMs / 1000);
  ASSERT_TRUE(pipes.Make(settings));
  Start();
  // The statistics files are made while the services start, after the signals are caught.
  ASSERT_TRUE(QTest::qWaitFor([&] { return QFileInfo::exists(DataFile("statsLocal.xml")); },
                              Testing::PatienceMs));
  ASSERT_FALSE(QFileInfo::exists(DataFile("tstats.xml")));

  ASSERT_EQ(::kill(pid_t(m_program.processId()), GetParam()), 0);
  ASSERT_TRUE(m_program.waitForFinished(Testing::PatienceMs)) << "the program did not end";
  EXPECT_EQ(m_program.exitStatus(), QProcess::NormalExit) << "ended by the signal itself";
  EXPECT_EQ(m_program.exitCode(), 0);

  QFile usage(DataFile("tstats.xml"));
  ASSERT_TRUE(usage.open(QIODevice::ReadOnly)) << "no usage record";
  EXPECT_TRUE(usage.readAll().contains("appLaunchCount=\"1\""));
  EXPECT_TRUE(pipes.Release()) << "the settings file was waited for";
  EXPECT_TRUE(Testing::NamedPipes::IsPipe(settings));
}

INSTANTIATE_TEST_SUITE_P(ShutdownAndLogout, ProgramExitTest, ::testing::Values(SIGTERM, SIGHUP),
                         [](const ::testing::TestParamInfo<int>& info) {
                           return std::string(info.param == SIGTERM ? "SIGTERM" : "SIGHUP");
                         });

}  // namespace
