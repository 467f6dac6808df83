#pragma once

// The shell's test fixture: the real core services in a temporary settings and data folder, and
// the main window built the way the program builds it.

#include <gtest/gtest.h>

#include <QSettings>
#include <QTest>

#include <functional>
#include <memory>
#include <string>

#include "src/ui/application.h"
#include "src/ui/console.h"
#include "src/ui/window_stack_manager.h"
#include "support/patience.h"
#include "support/temp_environment.h"
#include "tests/src/core/midi/platform/jack_keyboard.h"

namespace Testing {

// Runs the event loop until `done` holds; false when `ms` pass first.
inline bool WaitUntil(const std::function<bool()>& done, int ms = PatienceMs) {
  return QTest::qWaitFor(done, ms);
}

// For tests that need the program to find no MIDI keyboard, whatever the machine has plugged in:
// while it lives, the program's MIDI goes to a JACK server that nobody runs. Made before the
// services start (a member of the fixture), it is undone after they are released.
class NoMidiSources {
 public:
  NoMidiSources();
  ~NoMidiSources();
  NoMidiSources(const NoMidiSources&) = delete;
  NoMidiSources& operator=(const NoMidiSources&) = delete;

 private:
  QByteArray m_api;
  QByteArray m_server;
  bool m_hadApi;
  bool m_hadServer;
};

class ShellTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  static Application* App() { return Application::instance(); }
  // Builds the main window and waits until its first screen has faded in; `built` sees the window
  // right after it is made, before any event has run.
  UI::Console* StartConsole(const std::function<void(UI::Console*)>& built = {});
  // Leaves through the main window's exit, which ends the program's event loop.
  void ExitConsole();
  // Ends the main window as the program does after its event loop, keeping the services.
  void CloseConsole();
  // Releases the services and creates them again from the stored files, as a new run would.
  void Restart();
  // Plugs a MIDI keyboard, a JACK client named `client`, in while the window runs, and waits until
  // the window's rescan has found it, which pauses a running exercise; then selects the
  // keyboard's input device, opening the ports again while a busy server has not let that device
  // in yet. Fails, saying which, when any of this does not happen.
  ::testing::AssertionResult PlugInWhileRunning(std::unique_ptr<JackKeyboard>& keyboard,
                                                const std::string& client);
  // The stored value of a settings key, read from the file.
  QVariant Stored(const QString& key) const;
  void Store(const QString& key, const QVariant& value) const;
  bool FadeDone() const;
  // Clicks the middle of a widget.
  static void Click(QWidget* widget);

  TempEnvironment m_env;
  // Each main window starts with an empty history of screens.
  std::unique_ptr<UI::WindowStackManager> m_stack;
  std::unique_ptr<UI::Console> m_console;
};

}  // namespace Testing
