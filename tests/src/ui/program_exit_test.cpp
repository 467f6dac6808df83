// The program itself, started as a learner's session starts it and ended as a shutdown or a
// logout ends it, or by closing its window: it leaves and keeps its usage record, also with a
// named pipe in place of its settings file. Closing the window needs an X server (a window that
// the test can ask to close); that case runs under Xvfb and is skipped on the offscreen platform.

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <xcb/xcb.h>

#include <csignal>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <memory>

#include "support/named_pipes.h"
#include "support/patience.h"

namespace {

// The program's main window on the X server, found by its title among the windows shown; 0 while
// there is none.
xcb_window_t FindShownWindow(xcb_connection_t* x, xcb_window_t parent, const QByteArray& title) {
  std::unique_ptr<xcb_query_tree_reply_t, decltype(&std::free)> tree(
      xcb_query_tree_reply(x, xcb_query_tree(x, parent), nullptr), &std::free);
  if (!tree) return 0;
  const xcb_window_t* children = xcb_query_tree_children(tree.get());
  for (int i = 0; i < xcb_query_tree_children_length(tree.get()); ++i) {
    std::unique_ptr<xcb_get_window_attributes_reply_t, decltype(&std::free)> attributes(
        xcb_get_window_attributes_reply(x, xcb_get_window_attributes(x, children[i]), nullptr),
        &std::free);
    std::unique_ptr<xcb_get_property_reply_t, decltype(&std::free)> name(
        xcb_get_property_reply(x,
                               xcb_get_property(x, false, children[i], XCB_ATOM_WM_NAME,
                                                XCB_GET_PROPERTY_TYPE_ANY, 0, 256),
                               nullptr),
        &std::free);
    const bool shown = attributes && attributes->map_state == XCB_MAP_STATE_VIEWABLE;
    if (shown && name &&
        QByteArray(static_cast<const char*>(xcb_get_property_value(name.get())),
                   xcb_get_property_value_length(name.get())) == title)
      return children[i];
    if (const xcb_window_t found = FindShownWindow(x, children[i], title)) return found;
  }
  return 0;
}

xcb_atom_t Atom(xcb_connection_t* x, const char* name) {
  std::unique_ptr<xcb_intern_atom_reply_t, decltype(&std::free)> reply(
      xcb_intern_atom_reply(x, xcb_intern_atom(x, false, uint16_t(strlen(name)), name), nullptr),
      &std::free);
  return reply ? reply->atom : static_cast<xcb_atom_t>(XCB_ATOM_NONE);
}

// What a window manager sends when the learner closes a window with its close control.
void AskToClose(xcb_connection_t* x, xcb_window_t window) {
  xcb_client_message_event_t event{};
  event.response_type = XCB_CLIENT_MESSAGE;
  event.format = 32;
  event.window = window;
  event.type = Atom(x, "WM_PROTOCOLS");
  event.data.data32[0] = Atom(x, "WM_DELETE_WINDOW");
  event.data.data32[1] = XCB_CURRENT_TIME;
  xcb_send_event(x, false, window, XCB_EVENT_MASK_NO_EVENT, reinterpret_cast<const char*>(&event));
  xcb_flush(x);
}

class ProgramExitTest : public ::testing::Test {
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
    environment.insert("QT_QPA_PLATFORM", Platform());
    for (const char* name : {"DISPLAY", "XAUTHORITY"})
      if (qEnvironmentVariableIsSet(name)) environment.insert(name, qEnvironmentVariable(name));
    environment.insert("JACK_NO_START_SERVER", "1");
    for (const char* name : {"ASAN_OPTIONS", "UBSAN_OPTIONS", "TSAN_OPTIONS", "LSAN_OPTIONS"})
      if (qEnvironmentVariableIsSet(name)) environment.insert(name, qEnvironmentVariable(name));
    m_program.setProcessEnvironment(environment);
    m_program.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    m_program.start(QStringLiteral(MELVARIN_PROGRAM), {QStringLiteral("-nofs")});
    ASSERT_TRUE(m_program.waitForStarted(Testing::PatienceMs));
  }

  static QString Platform() {
    const QString platform = qEnvironmentVariable("QT_QPA_PLATFORM");
    return platform.isEmpty() ? QStringLiteral("offscreen") : platform;
  }

  // Ends the program as the learner or the system would, once it runs.
  ::testing::AssertionResult StartOnAPipeAndEnd(const std::function<void()>& end) {
    const QString settings = Path("config/Quorvale/MelvarinStudio.conf");
    Testing::NamedPipes pipes(Testing::PatienceMs / 1000);
    if (!pipes.Make(settings)) return ::testing::AssertionFailure() << "no pipe";
    Start();
    end();
    if (!m_program.waitForFinished(Testing::PatienceMs))
      return ::testing::AssertionFailure() << "the program did not end";
    if (m_program.exitStatus() != QProcess::NormalExit || m_program.exitCode() != 0)
      return ::testing::AssertionFailure() << "ended by a crash or the signal itself";
    QFile usage(DataFile("tstats.xml"));
    if (!usage.open(QIODevice::ReadOnly) || !usage.readAll().contains("appLaunchCount=\"1\""))
      return ::testing::AssertionFailure() << "no usage record";
    if (!pipes.Release())
      return ::testing::AssertionFailure() << "the settings file was waited for";
    if (!Testing::NamedPipes::IsPipe(settings))
      return ::testing::AssertionFailure() << "the settings pipe was replaced";
    return ::testing::AssertionSuccess();
  }

  QTemporaryDir m_root;
  QProcess m_program;
};

class ProgramSessionEndTest : public ProgramExitTest, public ::testing::WithParamInterface<int> {};

// Ended by the system as soon as it runs: the signal waits until the main window stands, then
// the program leaves as from a close and returns normally.
TEST_P(ProgramSessionEndTest, LeavesAsACloseDoesWithAPipeForTheSettingsFile) {
  EXPECT_TRUE(StartOnAPipeAndEnd([this] {
    // The statistics files are made while the services start, after the signals are caught.
    ASSERT_TRUE(QTest::qWaitFor([&] { return QFileInfo::exists(DataFile("statsLocal.xml")); },
                                Testing::PatienceMs));
    ASSERT_FALSE(QFileInfo::exists(DataFile("tstats.xml")));
    ASSERT_EQ(::kill(pid_t(m_program.processId()), GetParam()), 0);
  }));
}

TEST_F(ProgramExitTest, ClosingTheWindowWithAPipeForTheSettingsFileEnds) {
  if (Platform() != "xcb") GTEST_SKIP() << "closing a window needs an X server";
  std::unique_ptr<xcb_connection_t, decltype(&xcb_disconnect)> x(xcb_connect(nullptr, nullptr),
                                                                 &xcb_disconnect);
  ASSERT_EQ(xcb_connection_has_error(x.get()), 0);
  const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(x.get())).data->root;
  EXPECT_TRUE(StartOnAPipeAndEnd([&] {
    xcb_window_t window = 0;
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return (window = FindShownWindow(x.get(), root, "Melvarin Studio")) != 0; },
        Testing::PatienceMs));
    AskToClose(x.get(), window);
  }));
}

INSTANTIATE_TEST_SUITE_P(ShutdownAndLogout, ProgramSessionEndTest,
                         ::testing::Values(SIGTERM, SIGHUP),
                         [](const ::testing::TestParamInfo<int>& tested) {
                           return std::string(tested.param == SIGTERM ? "SIGTERM" : "SIGHUP");
                         });

}  // namespace
