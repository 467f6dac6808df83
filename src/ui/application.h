#pragma once

// The program's application object. It prepares the process-wide pieces (font substitutions, the
// music font, the names that key the settings store, the notation engine), creates the
// long-lived services in a fixed order and releases them in a fixed order; every screen reaches
// them through the one instance.

#include <QApplication>
#include <QStringList>
#include <QUrl>

#include <functional>
#include <memory>
#include <vector>

#include "src/core/xml_file/storage_problem.h"

namespace Core {
class ExerciseCatalog;
class MidiBank;
class NewsClient;
class SettingsManager;
class SoundController;
struct ExcersisesSettings;
struct GlobalSettings;
struct VAvaroState;
}  // namespace Core

namespace UI {
class TerminationSignals;
class WindowStackManager;
}  // namespace UI

class Application : public QApplication {
  Q_OBJECT

 public:
  // Opens an address in the desktop browser and says whether a browser took it; tests put their
  // own in place.
  using LinkOpener = std::function<bool(const QUrl&)>;
  // Told of each service created and released, by name, in order.
  using ServiceTrace = std::function<void(const QString& event)>;

  // Takes "-display N" off the command line before Qt sees it (the X11 platform would read it as
  // the name of the X server) and keeps N as the screen index.
  Application(int& argc, char** argv);
  ~Application() override;

  // The running application object; only valid once one has been constructed.
  static Application* instance();

  // False when the music font could not be registered: the program cannot show music.
  bool MusicFontLoaded() const { return m_musicFontLoaded; }
  const QString& MusicFontError() const { return m_musicFontError; }
  // Registers the music font from `path` (the constructor takes the built-in one); false, with
  // MusicFontError() saying why, when it cannot.
  bool LoadMusicFont(const QString& path);
  // What the program says before it stops for want of the music font.
  QString MusicFontFailureMessage() const;

  // When the MIDI input ports and the synthesizer's audio output open: with the services, or
  // once the main window is on the screen (OpenDevices), so that the window does not wait for
  // the MIDI and audio system.
  enum DeviceOpening { OpenDevicesNow, OpenDevicesLater };

  void Init(DeviceOpening opening = OpenDevicesNow);
  void InitSound(DeviceOpening opening = OpenDevicesNow);
  // Opens the devices that Init left for later and selects the stored input; true when it did,
  // false when they were open already.
  bool OpenDevices();
  void InitExerciseCatalog();
  // Releases the services in their fixed order; the destructor does it too.
  void ReleaseServices();

  Core::SettingsManager* GetSettings() const { return m_settings.get(); }
  std::shared_ptr<Core::SoundController> GetSoundController() const { return m_soundController; }
  std::shared_ptr<Core::ExerciseCatalog> GetExerciseCatalog() const { return m_exerciseCatalog; }
  std::shared_ptr<Core::NewsClient> GetNewsClient() const { return m_newsClient; }
  std::shared_ptr<Core::MidiBank> GetMidiBank() const { return m_midiBank; }
  UI::WindowStackManager* windowStackManager() const { return m_windowStackManager; }
  void setWindowStackManager(UI::WindowStackManager* manager) { m_windowStackManager = manager; }

  void SetExcerciseSettings(const Core::ExcersisesSettings& settings);
  void SetGlobalSettings(const Core::GlobalSettings& settings);
  void SetStateSettings(const Core::VAvaroState& state);
  void ApplySettings();

  // Tells the learner, over the main window, of each problem the settings, the statistics and the
  // usage record met with their files that this run has not told yet. The entry point calls it
  // once the main window stands; the settings setters after each save.
  void TellStorageProblems();

  // From now on a shutdown or a logout (SIGTERM, SIGHUP) calls `leave` on the GUI thread, also one
  // that came since TerminationSignals::Catch(); the usage upload then gets only a few seconds.
  // An empty `leave` stops that: the signals are still caught, and wait.
  void LeaveOnTermination(std::function<void()> leave);

  void SetQuizMode(bool quiz);
  bool IsQuizMode() const;

  bool IsFullscreen() const { return IsFullscreen(arguments()); }
  int GetDisplayIndex() const { return m_displayIndex; }
  static bool IsFullscreen(const QStringList& arguments);
  static int GetDisplayIndex(const QStringList& arguments);
  // Removes every "-display" and the argument after it from the command line and returns the
  // screen index that GetDisplayIndex reads from the command line as it was.
  static int TakeDisplayOption(int& argc, char** argv);

  void setMainWindow(QWidget* window) { m_mainWindow = window; }
  // Opens the address and, once a browser has it, minimises the main window when asked; false,
  // leaving the window as it was, when no browser took it. An empty address (the online service
  // is not configured) opens nothing.
  bool openLink(const QUrl& url, bool minimize);
  // An empty opener puts the desktop's back.
  static void SetLinkOpener(LinkOpener opener);
  // The help page of the online service; empty when the service is not configured.
  static QUrl HelpAddress();
  static void SetServiceTrace(ServiceTrace trace);

 public slots:
  // Opens the help page as openLink does; false when it could not be opened.
  bool showHelp();

 private:
  void Trace(const char* event) const;
  static void SelectFirstDevices(Core::SoundController& controller);

  std::shared_ptr<Core::SoundController> m_soundController;
  // Whether the sound controller may open devices; shared with its device factory.
  std::shared_ptr<bool> m_devicesOpen;
  std::function<void()> m_pendingSetupWatch;  // the set-up notices, started with the devices
  std::shared_ptr<Core::ExerciseCatalog> m_exerciseCatalog;
  std::unique_ptr<Core::SettingsManager> m_settings;
  std::shared_ptr<Core::NewsClient> m_newsClient;
  std::shared_ptr<Core::MidiBank> m_midiBank;
  std::unique_ptr<UI::TerminationSignals> m_termination;
  std::unique_ptr<UI::WindowStackManager> m_ownWindowStack;  // tests may put their own in its place
  UI::WindowStackManager* m_windowStackManager = nullptr;
  QWidget* m_mainWindow = nullptr;
  std::vector<Core::StorageProblem> m_toldProblems;  // this run's, each told once
  int m_displayIndex = 0;
  bool m_musicFontLoaded = false;
  QString m_musicFontError;
};
