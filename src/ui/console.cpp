#include "src/ui/console.h"

#include <QApplication>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDateTime>
#include <QMoveEvent>
#include <QResizeEvent>
#include <QThread>
#include <QTimer>
#include <QTimerEvent>
#include <QWindow>

#include <utility>
#include <vector>

#include "src/common/assertion.h"
#include "src/core/catalog/exercise_catalog.h"
#include "src/core/midi/platform/sound_controller.h"
#include "src/core/news/news_client.h"
#include "src/core/settings/settings_manager.h"
#include "src/core/telemetry/telemetry.h"
#include "src/ui/app_rating.h"
#include "src/ui/application.h"
#include "src/ui/block_view_control.h"
#include "src/ui/controls/console_exercise_control/console_exercise_control.h"
#include "src/ui/controls/general_settings_tab.h"
#include "src/ui/controls/settings_ear_control.h"
#include "src/ui/controls/settings_note_control.h"
#include "src/ui/controls/settings_symbol_control.h"
#include "src/ui/fader_widget.h"
#include "src/ui/message_dialogs.h"
#include "src/ui/screen_geometry.h"
#include "src/ui/window_stack_manager.h"

namespace UI {

namespace {
Console* ConsoleInstance = nullptr;

// The usage record asserts the trainer id, so only the three trainers are resumed.
bool ResumesTrainer(const Core::VAvaroState& state) {
  return state.ResumesExercise() && state.exerciseId >= 0 && state.exerciseId <= 2;
}

// The window's show gives the screens it holds, hidden ones too, their first move and resize
// events, on which they lay out their controls, once. A screen made after that gets them here
// the same way, so that it is laid out as it would have been had it been made with the window.
void SendFirstMoveAndResize(QWidget* widget) {
  if (widget->testAttribute(Qt::WA_PendingMoveEvent)) {
    QMoveEvent move(widget->pos(), widget->pos());
    QCoreApplication::sendEvent(widget, &move);
    widget->setAttribute(Qt::WA_PendingMoveEvent, false);
  }
  if (widget->testAttribute(Qt::WA_PendingResizeEvent)) {
    QResizeEvent resize(widget->size(), QSize());
    QCoreApplication::sendEvent(widget, &resize);
    widget->setAttribute(Qt::WA_PendingResizeEvent, false);
  }
  for (QObject* object : widget->children()) {
    auto* child = qobject_cast<QWidget*>(object);
    if (child && !child->isWindow()) SendFirstMoveAndResize(child);
  }
}

std::shared_ptr<Core::Telemetry> UsageRecord() {
  auto catalog = Application::instance()->GetExerciseCatalog();
  MELVARIN_ASSERT(catalog != nullptr);
  return catalog->GetTelemetry();
}
}  // namespace

void ConsoleMidiDeviceChangedHandler() {
  if (ConsoleInstance) ConsoleInstance->StartDeviceDetection();
}

Console::Console(QMainWindow* parent) : QMainWindow(parent) {
  ConsoleInstance = this;
  Application* app = Application::instance();
  MELVARIN_ASSERT(app->GetSettings() && app->GetSoundController() && app->GetNewsClient() &&
                  app->GetExerciseCatalog());

  GetBlockViewControl();
  // The exercise screen and the three settings panels are made by their accessors when first
  // opened, not here with the home screen: the window comes up at home, and each is a large tree
  // of widgets and pictures whose building would lengthen the start and hold memory for nothing
  // until the learner opens an exercise.

  m_ui.setupUi(this);
  m_fader = new FaderWidget(nullptr);
  m_ui.verticalLayout->addWidget(m_fader);
  ResetTitle();

  QLayout* toolbarLayout = m_ui.ToolBar->layout();
  toolbarLayout->setContentsMargins(0, 0, 0, 0);
  toolbarLayout->setSpacing(0);
  toolbarLayout->setSizeConstraint(QLayout::SetNoConstraint);
  m_ui.ToolBar->addWidget(m_ui.ToolbarContentContainer);

  m_ui.Settings->setText(tr("Settings"));
  m_ui.About->setText(tr("About"));
  m_ui.Mail->setText(tr("Mail"));
  m_ui.Help->setText(tr("Help"));
  m_ui.Exercise->setText(tr("Exercise"));
  m_ui.Reference->setText(tr("Reference"));
  m_ui.Statistics->setText(tr("Statistics"));

  connect(m_ui.Close, &QToolButton::released, this, &Console::userExitRequest);
  connect(m_ui.Minimize, &QToolButton::clicked, this, &Console::userMinimizeScreenRequest);
  connect(m_ui.Settings, &QToolButton::released, this, &Console::showSettings);
  connect(m_ui.About, &QToolButton::released, this, &Console::showAbout);
  connect(m_ui.Mail, &QToolButton::released, this, &Console::showMail);
  connect(m_ui.Help, &QToolButton::released, this, &Console::showHelp);
  connect(m_ui.Exercise, &QToolButton::released, this, qOverload<>(&Console::showExercise));
  connect(m_ui.Reference, &QToolButton::released, this, qOverload<>(&Console::showReference));
  connect(m_ui.Statistics, &QToolButton::released, this, qOverload<>(&Console::showStatistics));
  connect(m_ui.Home, &QToolButton::released, this, &Console::NavigateHome);
  connect(app->GetNewsClient().get(), &Core::NewsClient::newsReceived, this,
          &Console::onMailReceived);
  connect(this, &Console::deviceChange, this, &Console::updateDevices);
  connect(m_ui.FullScreenToggle, &QToolButton::clicked, this, &Console::toggleFullscreen);

  m_ui.Home->installEventFilter(this);
  m_ui.Settings->installEventFilter(this);
  m_ui.Close->installEventFilter(this);

  qRegisterMetaType<size_t>("size_t");
  qRegisterMetaType<UI::Speed>("UI::Speed");

  // Hidden in full screen, Minimize keeps its place: the buttons to its left would otherwise
  // move under the pointer, and a second click on the full-screen button would open About.
  QSizePolicy keepPlace = m_ui.Minimize->sizePolicy();
  keepPlace.setRetainSizeWhenHidden(true);
  m_ui.Minimize->setSizePolicy(keepPlace);

  m_ui.Mail->hide();
  m_ui.captionSeparator_2->setVisible(!m_ui.Mail->isHidden());

  Core::SoundController::SetMidiDeviceHandler(&ConsoleMidiDeviceChangedHandler);
  // The window covers the chosen screen with that screen's own size. Screens of their own (as
  // the X screens of one server are) may all start at 0,0: the window is put on the screen too.
  const QRect area = WindowArea(app->GetDisplayIndex());
  if (QScreen* screen = DesktopScreen(app->GetDisplayIndex())) setScreen(screen);
  setFixedSize(area.size());
  move(area.topLeft());

  if (app->IsFullscreen())
    showFullScreen();
  else
    setVisible(true);
  m_newsTimerId = startTimer(FirstNewsLookMs, Qt::PreciseTimer);
}

Console::~Console() {
  if (m_newsTimerId) killTimer(m_newsTimerId);
  Core::SoundController::SetMidiDeviceHandler(nullptr);
  if (ConsoleInstance == this) ConsoleInstance = nullptr;
}

QRect Console::WindowArea(int display) {
  return display >= 0 && display < ScreenCount() ? ScreenGeometry(display)
                                                 : PrimaryScreenGeometry();
}

BlockViewControl* Console::GetBlockViewControl() {
  if (!m_blockView) {
    m_blockView = new BlockViewControl(this);
    m_blockView->hide();
    m_blockView->setAttribute(Qt::WA_StyledBackground);
    connect(m_blockView, &BlockViewControl::OpenExercise, this,
            qOverload<size_t, bool>(&Console::OpenExercise));
  }
  return m_blockView;
}

ConsoleExerciseControl* Console::GetExerciseControl() {
  if (!m_exerciseControl) {
    m_exerciseControl = new ConsoleExerciseControl(this);
    m_exerciseControl->hide();
    if (isVisible()) SendFirstMoveAndResize(m_exerciseControl);
    connect(this, &Console::SettingsChanged, m_exerciseControl,
            &ConsoleExerciseControl::ApplySettings);
    connect(m_exerciseControl, &ConsoleExerciseControl::ExitSignal, this, &Console::NavigateHome);
  }
  return m_exerciseControl;
}

namespace {
template <class Panel>
Panel* SettingsPanel(Panel*& panel, Console* window, int page) {
  if (!panel) {
    panel = new Panel(window);
    panel->hide();
    QObject::connect(panel, &SettingsControl::HideSettings, window, &Console::HideSettings);
  }
  panel->SetPage(page);
  return panel;
}
}  // namespace

SettingsNoteControl* Console::GetSettingsNoteControl(int page) {
  return SettingsPanel(m_noteSettings, this, page);
}

SettingsEarControl* Console::GetSettingsEarControl(int page) {
  return SettingsPanel(m_earSettings, this, page);
}

SettingsSymbolControl* Console::GetSettingsSymbolControl(int page) {
  return SettingsPanel(m_symbolSettings, this, page);
}

bool Console::isSettingsPanel(QWidget* screen) const {
  return screen &&
         (screen == m_noteSettings || screen == m_earSettings || screen == m_symbolSettings);
}

void Console::Show(QWidget* screen, bool fade) {
  if (m_minimizing || m_minimized) return;
  WindowStackManager* stack = Application::instance()->windowStackManager();
  QWidget* previous = stack->GetCurrentWindow();
  if (screen == m_blockView) m_blockView->prepareStatisticsUpdate();
  if (screen == m_exerciseControl) setStyleSheet(m_exerciseControl->styleSheet());
  stack->Show(screen, fade ? m_fader : nullptr);
  if (isSettingsPanel(previous) && m_exerciseControl) {
    static_cast<SettingsControl*>(previous)->Gui2Data();
    m_exerciseControl->ApplySettings();
    UsageRecord()->ExitSettings();
  }
  UpdateToolbarState(screen);
}

void Console::storeResumeRecord() {
  Application* app = Application::instance();
  Core::VAvaroState state = app->GetSettings()->state;
  if (m_exerciseControl && m_exerciseControl->isVisible() && !m_quiz) {
    state.lastState = Core::VAvaroState::ExerciseOpen;
    if (m_exerciseControl->SaveState(state)) app->SetStateSettings(state);
    return;
  }
  state.lastState = Core::VAvaroState::NoExerciseOpen;
  app->SetStateSettings(state);
}

void Console::SaveState() {
  storeResumeRecord();
}

bool Console::LoadState() {
  const Core::VAvaroState state = Application::instance()->GetSettings()->state;
  if (!ResumesTrainer(state)) return false;
  OpenExercise(size_t(state.exerciseId), false, true);
  m_exerciseControl->LoadState(state);
  return true;
}

void Console::OpenExercise(size_t exerciseId, bool quizMode, bool resume) {
  GetExerciseControl()->StartExercise(exerciseId, quizMode, resume);
  m_quiz = quizMode;
  Show(m_exerciseControl, true);
  storeResumeRecord();
}

bool Console::HoldsExercise() const {
  return m_exerciseControl && m_exerciseControl->HasExercise();
}

void Console::firstShow() {
  Show(GetBlockViewControl(), true);
  setupNavigation(LoadState() ? StartInExercise : StartAtHome);
}

void Console::showWithoutExercise() {
  switch (m_firstScreen) {
    case FirstScreen::Chosen:
      firstShow();
      return;
    case FirstScreen::AfterFirstPaint:
      return;  // another toolbar button of the same show
    case FirstScreen::Unchosen:
      break;
  }
  if (ResumesTrainer(Application::instance()->GetSettings()->state)) {
    // The resumed exercise cross-fades from the home screen's picture, which the first paint
    // already shows.
    m_firstScreen = FirstScreen::Chosen;
    firstShow();
    return;
  }
  // The home screen fades in from an empty screen, which is all the first paint would show of
  // it: its picture is made after that paint, and the window does not wait for it. The toolbar
  // takes its home look now, before that paint.
  m_firstScreen = FirstScreen::AfterFirstPaint;
  setupNavigation(StartAtHome);
  RunOnceShown(m_homeWaitsForExposure, &Console::fadeInFirstHome);
}

void Console::fadeInFirstHome() {
  m_firstScreen = FirstScreen::Chosen;
  // An exercise opened meanwhile is the first screen; the toolbar starts in its state.
  if (HoldsExercise())
    setupNavigation(StartInExercise);
  else
    Show(GetBlockViewControl(), true);
}

void Console::OpenDevicesOnceShown() {
  RunOnceShown(m_devicesWaitForExposure, &Console::openDevices);
}

void Console::RunOnceShown(bool& waiting, void (Console::*step)()) {
  QWindow* window = windowHandle();
  if (!window || window->isExposed()) {
    QTimer::singleShot(0, this, step);
    return;
  }
  waiting = true;
  window->installEventFilter(this);
}

void Console::openDevices() {
  if (Application::instance()->OpenDevices()) emit deviceChange();
}

bool Console::eventFilter(QObject* watched, QEvent* event) {
  if (watched == windowHandle() && event->type() == QEvent::Expose && windowHandle()->isExposed()) {
    // The window is mapped; its first paint runs as this event is handled, and what waited for
    // it after that: the home screen's fade, then the devices.
    windowHandle()->removeEventFilter(this);
    if (std::exchange(m_homeWaitsForExposure, false))
      QTimer::singleShot(0, this, &Console::fadeInFirstHome);
    if (std::exchange(m_devicesWaitForExposure, false))
      QTimer::singleShot(0, this, &Console::openDevices);
  }
  if (event->type() == QEvent::Show && watched != windowHandle()) {
    if (!HoldsExercise())
      showWithoutExercise();
    else if (m_minimized)
      m_minimized = false;
  }
  return QMainWindow::eventFilter(watched, event);
}

void Console::NavigateHome() {
  Show(GetBlockViewControl(), true);
  if (m_exerciseControl) m_exerciseControl->StopExercise();
  // The lesson's save may have found the files nearing their bounds.
  Application::instance()->TellStorageProblems();
}

void Console::HideSettings() {
  Show(GetBlockViewControl(), true);
  if (m_exerciseControl) m_exerciseControl->StopExercise();
  emit SettingsChanged();
}

void Console::showSettings() {
  highlightToolBarItem(m_ui.Settings);
  UsageRecord()->EnterSettings();
  GetExerciseControl()->PauseExercise(true, false);
  const int page = m_exerciseControl->GetExerciseSectionIndex();
  SettingsControl* panel = nullptr;
  switch (m_exerciseControl->GetCurrentExerciseId()) {
    case 0:
      panel = GetSettingsNoteControl(page);
      break;
    case 1:
      panel = GetSettingsEarControl(page);
      break;
    default:
      panel = GetSettingsSymbolControl(page);
      break;
  }
  if (!panel->isVisible()) {
    panel->setQuizMode(m_quiz);
    Show(panel, true);
  }
}

void Console::showAbout() {
  if (!m_aboutDialog) m_aboutDialog = new AboutDialog(this, QRect(QPoint(0, 0), size()));
  m_aboutDialog->show();
  QCoreApplication::processEvents();
}

void Console::showHelp() {
  if (!Application::instance()->showHelp()) {
    // Nothing else would show that Help did nothing. A running exercise waits behind the notice
    // (the exercise screen pauses it as any dialog comes up over it).
    const bool configured = !Application::HelpAddress().isEmpty();
    ShowNotice(this, QStringLiteral("helpNotice"), tr("Help could not be opened"),
               {configured ? tr("No web browser could be started to show the help pages.")
                           : tr("This installation of Melvarin Studio has no address for its "
                                "help pages.")});
    return;
  }
  // The learner reads the help in the browser: the exercise waits behind the Play overlay, also
  // where the window stays on the screen (without a window manager to take it away).
  if (m_exerciseControl) m_exerciseControl->PauseExercise(true, true);
}

void Console::showMail() {
  Application* app = Application::instance();
  if (!m_mailDialog) {
    m_mailDialog = new MailDialog(this, QRect(QPoint(0, 0), PrimaryScreenGeometry().size()));
    connect(m_mailDialog, &BaseDialog::DialogClosed, this, &Console::onMailShown);
  }
  m_mailPaused = m_exerciseControl && m_exerciseControl->PauseExercise(true, false);
  std::vector<Core::NewsItem> news;
  app->GetNewsClient()->getLatestNews(news);
  Core::GlobalSettings settings = app->GetSettings()->globalSettings;
  app->GetNewsClient()->markAsRead(settings);
  app->SetGlobalSettings(settings);
  if (!news.empty()) {
    QString text = news.back().text;
    m_mailDialog->setText(text);
    m_mailDialog->show();
    QCoreApplication::processEvents();
  }
}

void Console::onMailShown() {
  if (!m_mailPaused) return;
  m_mailPaused = false;
  m_exerciseControl->PauseExercise(false, false);
}

int Console::checkNews() {
  const qint64 now = QDateTime::currentSecsSinceEpoch();
  if (now - m_lastNewsCheck < NewsPeriodMs / 1000) return 0;
  m_lastNewsCheck = now;
  std::vector<Core::NewsItem> news;
  Application::instance()->GetNewsClient()->getLatestNews(news);
  return news.empty() ? 2 : 1;
}

void Console::onMailReceived() {
  const int result = checkNews();
  if (result == 1) m_ui.Mail->show();
  if (result == 2) m_ui.Mail->hide();
  m_ui.captionSeparator_2->setVisible(!m_ui.Mail->isHidden());
}

void Console::timerEvent(QTimerEvent* event) {
  if (event->timerId() != m_newsTimerId) {
    QMainWindow::timerEvent(event);
    return;
  }
  onMailReceived();
  if (!m_firstNewsTick) {
    killTimer(m_newsTimerId);
    m_newsTimerId = startTimer(NewsPeriodMs);
    m_firstNewsTick = true;
  }
}

void Console::StartDeviceDetection() {
  if (m_deviceCountdown != 0) return;
  m_deviceCountdown = DeviceScanCountdown;
  QTimer::singleShot(DeviceScanIntervalMs, Qt::PreciseTimer, this,
                     &Console::deviceDetectionHandler);
}

void Console::deviceDetectionHandler() {
  const int countdown = m_deviceCountdown;
  m_deviceCountdown = countdown - 1;
  if (countdown < 2) {
    m_deviceCountdown = 0;
    return;
  }
  if (Application::instance()->GetSoundController()->UpdateDevices()) {
    m_deviceCountdown = 0;
    emit deviceChange();
  } else {
    QTimer::singleShot(DeviceScanIntervalMs, Qt::PreciseTimer, this,
                       &Console::deviceDetectionHandler);
  }
}

void Console::updateDevices() {
  Application::instance()->ApplySettings();
  // A settings page on the screen names the keyboard in use: it follows the change at once.
  for (GeneralSettingsTab* page : findChildren<GeneralSettingsTab*>()) page->ResetDeviceBox();
  if (!m_exerciseControl) return;
  m_exerciseControl->PauseExercise(true, true);
  m_exerciseControl->ApplySettings();
  m_exerciseControl->HideMidiWarningDialog();
}

void Console::userMinimizeScreenRequest() {
  showMinimized();
  emit windowMinimized();
}

void Console::showMinimized() {
  if (m_exerciseControl) m_exerciseControl->PauseExercise(true, false);
  m_minimizing = true;
  showNormal();
  QMainWindow::showMinimized();
  m_minimized = true;
  m_minimizing = false;
}

void Console::changeEvent(QEvent* event) {
  // The full-screen button takes its look as the window paints; a change of state that changes
  // no size (a window as large as the screen) would otherwise leave the old look.
  if (event->type() == QEvent::WindowStateChange) update();
  if (event->type() == QEvent::WindowStateChange && m_minimized && !isMinimized()) {
    m_minimizing = true;
    showFullScreen();
    m_minimized = false;
    m_minimizing = false;
  }
  QMainWindow::changeEvent(event);
}

void Console::toggleFullscreen() {
  if (isFullScreen()) {
    showNormal();
    update();
    setWindowState(windowState() & ~Qt::WindowFullScreen);
  } else {
    showFullScreen();
  }
}

void Console::paintEvent(QPaintEvent* event) {
  if (isFullScreen()) {
    m_ui.Minimize->hide();
    if (!m_fullScreenLookApplied) {
      m_ui.FullScreenToggle->setStyleSheet(
          m_ui.FullScreenToggle->property("fullScreenStyle").toString());
      m_fullScreenLookApplied = true;
    }
  } else {
    m_ui.Minimize->show();
    if (m_fullScreenLookApplied) {
      m_ui.FullScreenToggle->setStyleSheet(
          m_ui.FullScreenToggle->property("notFullScreenStyle").toString());
      m_fullScreenLookApplied = false;
    }
  }
  QMainWindow::paintEvent(event);
}

void Console::setVisible(bool visible) {
  QMainWindow::setVisible(visible);
}

void Console::closeEvent(QCloseEvent* event) {
  userExitRequest();
  event->accept();
}

void Console::userExitRequest() {
  leave(true);
}

void Console::endSession() {
  // Not from inside the loop of a dialog that waits for the learner (the MIDI warning, the print
  // dialog, the rating): the code after that loop would go on with the exercise gone. The dialogs
  // up are dismissed, and the way out waits until their loops have ended, a few seconds at most.
  constexpr int MaxWaits = 100;
  constexpr int WaitMs = 50;
  if (QThread::currentThread()->loopLevel() > 1 && m_sessionEndWaits++ < MaxWaits) {
    for (QWidget* widget : QApplication::allWidgets())
      if (auto* dialog = qobject_cast<QDialog*>(widget); dialog && dialog->isVisible())
        dialog->reject();
    QTimer::singleShot(WaitMs, this, &Console::endSession);
    return;
  }
  leave(false);
}

void Console::leave(bool askForRating) {
  // The close event of the hide below must not start the exit a second time.
  if (m_exiting) return;
  m_exiting = true;
  // A settings panel left by the way out keeps what the learner set on it, as it does when it is
  // left for another screen.
  QWidget* shown = Application::instance()->windowStackManager()->GetCurrentWindow();
  if (isSettingsPanel(shown)) static_cast<SettingsControl*>(shown)->Gui2Data();
  storeResumeRecord();
  if (m_exerciseControl) m_exerciseControl->StopExercise();
  hide();
  if (askForRating) {
    AppRating rating(nullptr);
    rating.Show();
  }
  UsageRecord()->ExitApp();
  QCoreApplication::exit(0);
}

}  // namespace UI
