#include "shell_fixture.h"

#include <QAbstractButton>
#include <QFile>
#include <QFileInfo>
#include <QSignalSpy>
#include <QTimer>

#include "src/core/midi/platform/sound_controller.h"
#include "src/ui/fader_widget.h"

namespace Testing {

namespace {
QString StoreFile(const TempEnvironment& env) {
  return env.ConfigHome() + "/Quorvale/MelvarinStudio.conf";
}
// Qt hands a closed store's values to the next handle while the file looks unchanged; an older
// modification time makes the next handle read the file itself.
void ForgetCachedStore(const TempEnvironment& env) {
  QFile file(StoreFile(env));
  if (!file.open(QIODevice::ReadWrite)) return;
  file.setFileTime(QFileInfo(file).lastModified().addSecs(-10), QFileDevice::FileModificationTime);
}
}  // namespace

NoMidiSources::NoMidiSources()
    : m_api(qgetenv("MELVARIN_MIDI_API")),
      m_server(qgetenv("JACK_DEFAULT_SERVER")),
      m_hadApi(qEnvironmentVariableIsSet("MELVARIN_MIDI_API")),
      m_hadServer(qEnvironmentVariableIsSet("JACK_DEFAULT_SERVER")) {
  qputenv("MELVARIN_MIDI_API", "jack");
  qputenv("JACK_DEFAULT_SERVER", QByteArray("melvarin-no-server-") +
                                     QByteArray::number(QCoreApplication::applicationPid()));
}

NoMidiSources::~NoMidiSources() {
  m_hadApi ? qputenv("MELVARIN_MIDI_API", m_api) : qunsetenv("MELVARIN_MIDI_API");
  m_hadServer ? qputenv("JACK_DEFAULT_SERVER", m_server) : qunsetenv("JACK_DEFAULT_SERVER");
}

void ShellTest::SetUp() {
  // Qt computes the settings path once per process; each test has its own folder.
  QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_env.ConfigHome());
  App()->Init();
}

void ShellTest::TearDown() {
  CloseConsole();
  App()->ReleaseServices();
  App()->SetQuizMode(false);
}

UI::Console* ShellTest::StartConsole(const std::function<void(UI::Console*)>& built) {
  m_stack = std::make_unique<UI::WindowStackManager>();
  App()->setWindowStackManager(m_stack.get());
  m_console = std::make_unique<UI::Console>(nullptr);
  if (built) built(m_console.get());
  App()->setMainWindow(m_console.get());
  EXPECT_TRUE(WaitUntil([this] { return FadeDone(); }));
  return m_console.get();
}

void ShellTest::ExitConsole() {
  m_console->userExitRequest();
  // The exit ends the application's event loop, and with no loop running Qt keeps every later
  // local loop (a dialog's exec, a wait) from running. The application's own loop, run to its
  // end, clears that again.
  QTimer::singleShot(0, qApp, [] { QCoreApplication::exit(0); });
  QCoreApplication::exec();
}

void ShellTest::CloseConsole() {
  App()->setMainWindow(nullptr);
  m_console.reset();
}

void ShellTest::Restart() {
  CloseConsole();
  App()->ReleaseServices();
  ForgetCachedStore(m_env);
  App()->Init();
}

::testing::AssertionResult ShellTest::PlugInWhileRunning(std::unique_ptr<JackKeyboard>& keyboard,
                                                         const std::string& client) {
  QSignalSpy found(m_console.get(), &UI::Console::deviceChange);
  keyboard = std::make_unique<JackKeyboard>(client);
  if (!keyboard->IsOpen()) return ::testing::AssertionFailure() << "the keyboard did not open";
  const QString port = QString::fromStdString(keyboard->Name());
  if (!WaitUntil([&] { return !found.isEmpty(); }))
    return ::testing::AssertionFailure()
           << "no rescan found " << port.toStdString() << "; the rescan's countdown is at "
           << m_console->deviceDetectionCountdown();
  auto controller = App()->GetSoundController();
  if (!WaitUntil([&] {
        if (controller->SelectInputMidiDevice(port)) return true;
        controller->UpdateDevices();
        return false;
      }))
    return ::testing::AssertionFailure() << "no input device opened " << port.toStdString();
  return ::testing::AssertionSuccess();
}

bool ShellTest::FadeDone() const {
  return m_console && !m_console->Fader()->isFading() && m_console->Fader()->currentWidget() &&
         m_console->Fader()->currentWidget()->isVisible();
}

QVariant ShellTest::Stored(const QString& key) const {
  ForgetCachedStore(m_env);
  return QSettings(QSettings::UserScope, "Quorvale", "MelvarinStudio").value(key);
}

void ShellTest::Store(const QString& key, const QVariant& value) const {
  ForgetCachedStore(m_env);
  QSettings store(QSettings::UserScope, "Quorvale", "MelvarinStudio");
  store.setValue(key, value);
  store.sync();
}

void ShellTest::Click(QWidget* widget) {
  QTest::mouseClick(widget, Qt::LeftButton, {}, widget->rect().center());
}

}  // namespace Testing
