#pragma once

// The one main window. It owns the screens (home, exercise and the three trainer settings
// panels) and shows one at a time through the screen stack and its cross-fader, carries the
// toolbar, starts and stops exercises, keeps the resume record, polls for news, follows MIDI
// device hot-plugging, handles minimising and full screen, and runs the orderly exit.

#include <QMainWindow>
#include <QPointer>

#include "src/ui/speed.h"
#include "ui_console.h"

class QStateMachine;

namespace UI {

class AboutDialog;
class BlockViewControl;
class ConsoleExerciseControl;
class FaderWidget;
class MailDialog;
class SettingsControl;
class SettingsEarControl;
class SettingsNoteControl;
class SettingsSymbolControl;

// Which state the toolbar's machine starts in: 0 the exercise, 1 home.
using NavigationStartState = int;
constexpr NavigationStartState StartInExercise = 0;
constexpr NavigationStartState StartAtHome = 1;

// The hot-plug callback handed to the sound controller.
void ConsoleMidiDeviceChangedHandler();

class Console : public QMainWindow {
  Q_OBJECT

 public:
  // Device re-scans after a hot-plug notice: one a second, starting a second after the notice.
  static constexpr int DeviceScanIntervalMs = 1000;
  static constexpr int DeviceScanCountdown = 10;
  static constexpr int FirstNewsLookMs = 1000;
  static constexpr int NewsPeriodMs = 30000;

  explicit Console(QMainWindow* parent = nullptr);
  // Where the window goes for the "-display" index: that screen, or the primary screen for an
  // index that names none.
  static QRect WindowArea(int display);
  ~Console() override;

  BlockViewControl* GetBlockViewControl();
  ConsoleExerciseControl* GetExerciseControl();
  SettingsNoteControl* GetSettingsNoteControl(int page);
  SettingsEarControl* GetSettingsEarControl(int page);
  SettingsSymbolControl* GetSettingsSymbolControl(int page);
  FaderWidget* Fader() const { return m_fader; }
  AboutDialog* aboutDialog() const { return m_aboutDialog; }
  MailDialog* mailDialog() const { return m_mailDialog; }
  const Ui_Console& form() const { return m_ui; }

  void Show(QWidget* screen, bool fade);
  void SaveState();
  bool LoadState();
  void StartDeviceDetection();
  int deviceDetectionCountdown() const { return m_deviceCountdown; }
  // Has the application open the devices it left for later once this window is on the screen,
  // then treats them as plugged in.
  void OpenDevicesOnceShown();

  void UpdateToolbarState(QWidget* screen);
  void highlightToolBarItem(QWidget* button);
  void ResetTitle();
  void SetTitle(int trainer, bool quiz);

 signals:
  void SettingsChanged();
  void ToExerciseTrans();
  void ToHomeTrans();
  void deviceChange();
  void showReference(UI::Speed speed);
  void showStatistics(UI::Speed speed);
  void showExercise(UI::Speed speed);
  void windowMinimized();

 public slots:
  void OpenExercise(size_t exerciseId, bool quizMode, bool resume);
  void OpenExercise(size_t exerciseId, bool quizMode) { OpenExercise(exerciseId, quizMode, false); }
  void NavigateHome();
  void HideSettings();
  void showSettings();
  void showMail();
  void onMailShown();
  void showAbout();
  void showHelp();
  void onMailReceived();
  int checkNews();
  void deviceDetectionHandler();
  void updateDevices();
  void toggleFullscreen();
  void userExitRequest();
  // A shutdown or a logout: leaves as the Close button does, without asking for a rating; the
  // dialogs up are dismissed first.
  void endSession();
  void userMinimizeScreenRequest();
  void showMinimized();
  void setupNavigation(UI::NavigationStartState start);
  void showExercise();
  void showReference();
  void showStatistics();
  void setVisible(bool visible) override;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void timerEvent(QTimerEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  void storeResumeRecord();
  void leave(bool askForRating);
  bool HoldsExercise() const;
  void firstShow();
  // A Show event of a toolbar button while no exercise is open: the window, or its home
  // toolbar, is shown.
  void showWithoutExercise();
  void fadeInFirstHome();
  // Runs `step` in the next event after the window's first paint; `waiting` is set meanwhile.
  void RunOnceShown(bool& waiting, void (Console::*step)());
  void openDevices();
  bool isSettingsPanel(QWidget* screen) const;
  void showPage(QToolButton* button, void (Console::*signal)(UI::Speed));

  Ui_Console m_ui;
  BlockViewControl* m_blockView = nullptr;
  ConsoleExerciseControl* m_exerciseControl = nullptr;
  SettingsNoteControl* m_noteSettings = nullptr;
  SettingsEarControl* m_earSettings = nullptr;
  SettingsSymbolControl* m_symbolSettings = nullptr;
  AboutDialog* m_aboutDialog = nullptr;
  MailDialog* m_mailDialog = nullptr;
  bool m_mailPaused = false;
  FaderWidget* m_fader = nullptr;
  bool m_minimized = false;
  bool m_minimizing = false;
  bool m_quiz = false;
  int m_deviceCountdown = 0;
  int m_newsTimerId = 0;
  bool m_firstNewsTick = false;
  qint64 m_lastNewsCheck = 0;
  // The form starts the full-screen button in the full-screen look.
  bool m_fullScreenLookApplied = true;
  bool m_exiting = false;
  int m_sessionEndWaits = 0;  // for dialogs to end before a session end leaves
  bool m_devicesWaitForExposure = false;
  bool m_homeWaitsForExposure = false;
  enum class FirstScreen { Unchosen, AfterFirstPaint, Chosen };
  FirstScreen m_firstScreen = FirstScreen::Unchosen;
  QPointer<QStateMachine> m_navigation;
};

}  // namespace UI
