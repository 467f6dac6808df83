#include "src/ui/application.h"

#include <QDesktopServices>
#include <QFile>
#include <QFont>
#include <QWidget>

#include <fontconfig/fontconfig.h>

#include <algorithm>
#include <future>
#include <utility>

#include "lib-razid-qt/engine_fonts.h"
#include "src/common/assertion.h"
#include "src/core/catalog/exercise_catalog.h"
#include "src/core/exercise/ex_store/exercise_statistics.h"
#include "src/core/midi/platform/sound_controller.h"
#include "src/core/midi/platform/synth_audio_system.h"
#include "src/core/midi/tempo/midi_bank.h"
#include "src/core/news/news_client.h"
#include "src/core/settings/quiz_mode.h"
#include "src/core/settings/settings_manager.h"
#include "src/core/telemetry/service_endpoint.h"
#include "src/core/telemetry/telemetry.h"
#include "src/ui/background_synth_device.h"
#include "src/ui/notation_engine.h"
#include "src/ui/storage_notice.h"
#include "src/ui/termination_signals.h"
#include "src/ui/window_stack_manager.h"

namespace {
bool OpenInDesktopBrowser(const QUrl& url) {
  return QDesktopServices::openUrl(url);
}
Application::LinkOpener& Opener() {
  static Application::LinkOpener opener = OpenInDesktopBrowser;
  return opener;
}
Application::ServiceTrace& TraceHook() {
  static Application::ServiceTrace trace;
  return trace;
}

const char* const StyleSheetPath = ":/css/global.css";

// What a shutdown leaves the usage upload: the system ends the program soon after asking.
constexpr int ShutdownTransferTimeoutMs = 3000;

// The screen index taken off the command line while the base class is being made; the member
// initialisers read it right after.
int g_takenDisplayIndex = 0;

// Fontconfig reads its configuration and font caches, some ten milliseconds, on a worker thread
// while the base class connects to the display; the fonts are registered once it is done.
std::future<void> g_fontConfiguration;

int& BeforeTheBaseClass(int& argc, char** argv) {
  // The synthesizer opens its audio output on a worker while this thread reads the environment:
  // what it needs there is set now, before the program's first thread.
  Core::SynthAudioSystem::PrepareProcessEnvironment();
  g_fontConfiguration = std::async(std::launch::async, [] { FcInit(); });
  g_takenDisplayIndex = Application::TakeDisplayOption(argc, argv);
  return argc;
}
}  // namespace

Application::Application(int& argc, char** argv)
    : QApplication(BeforeTheBaseClass(argc, argv), argv), m_displayIndex(g_takenDisplayIndex) {
  setOrganizationName(tr("Quorvale"));
  setOrganizationDomain(tr("quorvale.com"));
  setApplicationName(tr("MelvarinStudio"));
  g_fontConfiguration.get();
  LoadMusicFont(QString::fromLatin1(RazidQt::kMusicFontResource));
  UI::StartNotationEngine();
  m_ownWindowStack = std::make_unique<UI::WindowStackManager>();
  m_windowStackManager = m_ownWindowStack.get();
  Core::SetQuizMode(false);
}

Application::~Application() {
  UI::StopNotationEngine();
  ReleaseServices();
}

Application* Application::instance() {
  auto* app = qobject_cast<Application*>(QCoreApplication::instance());
  MELVARIN_ASSERT(app != nullptr);
  return app;
}

bool Application::LoadMusicFont(const QString& path) {
  m_musicFontError.clear();
  // The faces the forms and the engine name are mapped to Liberation or DejaVu, and the music
  // font is registered, before the engine starts.
  m_musicFontLoaded = RazidQt::PrepareEngineFonts(&m_musicFontError, path);
  return m_musicFontLoaded;
}

QString Application::MusicFontFailureMessage() const {
  return tr("The music font could not be loaded (%1). Melvarin Studio cannot show music and "
            "stops.")
      .arg(m_musicFontError);
}

void Application::Trace(const char* event) const {
  if (TraceHook()) TraceHook()(QString::fromLatin1(event));
}

void Application::Init(DeviceOpening opening) {
  if (QFile::exists(StyleSheetPath))
    setStyleSheet(QStringLiteral("file:///") + QString::fromLatin1(StyleSheetPath));
  m_settings.reset();
  m_toldProblems.clear();
  m_settings = std::make_unique<Core::SettingsManager>();
  Trace("create settings");
  InitSound(opening);
  InitExerciseCatalog();
  m_newsClient = std::make_shared<Core::NewsClient>(m_settings->globalSettings.newsId, "en-us");
  Trace("create news");
  ApplySettings();
}

void Application::InitSound(DeviceOpening opening) {
  const Core::SoundDeviceFactory platform = Core::SoundDeviceFactory::Platform();
  // Until the devices may open, the controller finds no port and no synthesizer, and the set-up
  // notices wait; its next enumeration (OpenDevices) finds them all.
  auto open = std::make_shared<bool>(opening == OpenDevicesNow);
  Core::SoundDeviceFactory devices = platform;
  devices.countInputPorts = [open, count = platform.countInputPorts] {
    return *open ? count() : 0u;
  };
  devices.createSynthesizer = [open]() -> std::shared_ptr<Core::MidiOutDevice> {
    if (!*open) return nullptr;
    return std::make_shared<UI::BackgroundSynthDevice>();
  };
  devices.watchSetup = [this, open, watch = platform.watchSetup](std::function<void()> notify) {
    if (*open)
      watch(std::move(notify));
    else
      m_pendingSetupWatch = [watch, notify = std::move(notify)] { watch(notify); };
  };
  m_pendingSetupWatch = nullptr;
  auto controller = std::make_shared<Core::SoundController>(std::move(devices));
  m_devicesOpen = std::move(open);
  SelectFirstDevices(*controller);
  m_soundController = std::move(controller);
  Trace("create sound");
}

void Application::SelectFirstDevices(Core::SoundController& controller) {
  if (controller.GetInputMidiDeviceCount() > 0) controller.SelectInputMidiDevice(0ul);
  if (controller.GetOutputMidiDeviceCount() > 0) controller.SelectOutputMidiDevice(0ul);
}

bool Application::OpenDevices() {
  MELVARIN_ASSERT(m_soundController != nullptr && m_devicesOpen != nullptr);
  if (*m_devicesOpen) return false;
  *m_devicesOpen = true;
  m_soundController->UpdateDevices();
  if (m_pendingSetupWatch) std::exchange(m_pendingSetupWatch, nullptr)();
  SelectFirstDevices(*m_soundController);
  ApplySettings();
  Trace("open devices");
  return true;
}

void Application::InitExerciseCatalog() {
  m_exerciseCatalog = std::make_shared<Core::ExerciseCatalog>();
  Trace("create catalog");
  m_midiBank = std::make_shared<Core::MidiBank>();
  Trace("create tempo bank");
}

void Application::ReleaseServices() {
  if (!m_settings) return;
  m_midiBank.reset();
  Trace("release tempo bank");
  m_newsClient.reset();
  Trace("release news");
  m_settings.reset();
  Trace("release settings");
  m_exerciseCatalog.reset();
  Trace("release catalog");
  m_soundController.reset();
  m_pendingSetupWatch = nullptr;
  Trace("release sound");
}

void Application::SetExcerciseSettings(const Core::ExcersisesSettings& settings) {
  m_settings->SetExcersiseSettings(settings);
  TellStorageProblems();
}

void Application::SetGlobalSettings(const Core::GlobalSettings& settings) {
  m_settings->globalSettings = settings;
  m_settings->SaveSettings();
  TellStorageProblems();
  ApplySettings();
}

void Application::SetStateSettings(const Core::VAvaroState& state) {
  m_settings->state = state;
  m_settings->SaveState();
  TellStorageProblems();
}

void Application::TellStorageProblems() {
  if (!m_mainWindow || !m_settings) return;
  // A notice that is up keeps its words: what is new is told at the next chance.
  if (UI::StorageNoticeShown(m_mainWindow)) return;
  std::vector<Core::StorageProblem> problems = m_settings->GetStorageProblems();
  if (m_exerciseCatalog) {
    for (const auto& found : {m_exerciseCatalog->GetExerciseStatistics()->GetStorageProblems(),
                              m_exerciseCatalog->GetTelemetry()->GetStorageProblems()})
      problems.insert(problems.end(), found.begin(), found.end());
  }
  std::erase_if(problems, [this](const Core::StorageProblem& problem) {
    return std::find(m_toldProblems.begin(), m_toldProblems.end(), problem) != m_toldProblems.end();
  });
  if (problems.empty()) return;
  m_toldProblems.insert(m_toldProblems.end(), problems.begin(), problems.end());
  UI::TellStorageProblems(m_mainWindow, problems);
}

void Application::ApplySettings() {
  MELVARIN_ASSERT(m_soundController != nullptr);
  if (!m_soundController->SelectInputMidiDevice(m_settings->globalSettings.inputDevice) &&
      m_soundController->GetInputMidiDeviceCount() > 0)
    m_soundController->SelectInputMidiDevice(0ul);
}

void Application::LeaveOnTermination(std::function<void()> leave) {
  m_termination.reset();
  if (!leave) return;
  UI::TerminationSignals::Catch();
  m_termination =
      std::make_unique<UI::TerminationSignals>([leave = std::move(leave)](int /*signal*/) {
        Core::SetServiceTransferTimeoutMs(
            std::min(Core::ServiceTransferTimeoutMs(), ShutdownTransferTimeoutMs));
        leave();
      });
}

void Application::SetQuizMode(bool quiz) {
  Core::SetQuizMode(quiz);
}

bool Application::IsQuizMode() const {
  return Core::IsQuizMode();
}

bool Application::IsFullscreen(const QStringList& arguments) {
  return !arguments.contains(QStringLiteral("-nofs"), Qt::CaseSensitive);
}

int Application::GetDisplayIndex(const QStringList& arguments) {
  const qsizetype at = arguments.indexOf(QStringLiteral("-display"));
  if (at < 0 || at + 1 >= arguments.size()) return 0;
  bool ok = false;
  const int index = arguments[at + 1].toInt(&ok, 10);
  return ok ? index : 0;
}

int Application::TakeDisplayOption(int& argc, char** argv) {
  QStringList arguments;
  for (int i = 0; i < argc; ++i) arguments << QString::fromLocal8Bit(argv[i]);
  const int index = GetDisplayIndex(arguments);
  int kept = 0;
  for (int i = 0; i < argc; ++i) {
    if (qstrcmp(argv[i], "-display") == 0) {
      ++i;  // its value goes with it
      continue;
    }
    argv[kept++] = argv[i];
  }
  // The list ends with a null entry, as the one the program was given.
  if (kept < argc) argv[kept] = nullptr;
  argc = kept;
  return index;
}

bool Application::openLink(const QUrl& url, bool minimize) {
  // The window goes only once a browser has the page: without one, the learner would be left
  // with a minimised window and nothing to read.
  if (url.isEmpty() || !Opener()(url)) return false;
  if (minimize && m_mainWindow) m_mainWindow->showMinimized();
  return true;
}

void Application::SetLinkOpener(LinkOpener opener) {
  Opener() = opener ? std::move(opener) : OpenInDesktopBrowser;
}

void Application::SetServiceTrace(ServiceTrace trace) {
  TraceHook() = std::move(trace);
}

QUrl Application::HelpAddress() {
  return Core::ServiceUrl(QStringLiteral("/Home/Help"));
}

bool Application::showHelp() {
  // Without the online service there is no help page to open.
  return openLink(HelpAddress(), true);
}
