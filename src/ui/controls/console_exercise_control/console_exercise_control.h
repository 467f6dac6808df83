#pragma once

// The exercise screen: one widget, built once by the main window, that hosts every exercise of the
// three trainers one after the other. It shows each question (score, picture, text or speaker),
// takes answers from the on-screen piano, the MIDI keyboard or six multiple-choice buttons, shows
// and sounds the verdict, and carries the timeline with its section buttons, the seek slider, the
// running score, the Play overlay and the section-end dialog.
//
// The member functions live in one file per concern beside this header: construction (this
// class's birth, death and show/hide), layout and input (sizes, section buttons, the event
// filter), exercise (starting, pausing, seeking, the section end), question (showing a question),
// answer (answers in, verdicts out) and views (the statistics and reference views).

#include <QMetaType>
#include <QPointer>
#include <QString>
#include <QWidget>

#include <array>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "src/core/exercise/records/answer.h"
#include "src/core/midi/platform/sound.h"
#include "src/core/score_builder/score_records.h"
#include "src/ui/controls/console_exercise_control/statistics_data_set.h"
#include "src/ui/controls/console_exercise_control/verdict_edge.h"
#include "src/ui/fade_mode.h"
#include "src/ui/speed.h"
#include "ui_console_exercise_control.h"

class QAbstractAnimation;
class QEasingCurve;
class QPrintDialog;
class QPropertyAnimation;
class QSpacerItem;
class QTimer;
class Progress;

namespace Core {
class Exercise;
struct VAvaroState;
}  // namespace Core

namespace UI {

class ActionHintDialog;
class DialogCoverWatch;
class ExerciseHandler;
class FaderWidget;
class PictureWidget;
class PlayDialog;
class ScoreBoard;
class SectionEndDialog;
class SpeakerWidget;
class WarningDialog;
class WrongRightAnswerAnimation;

// The exercise state the screen saw last (4, finished, at first); the view switching reads it.
extern int prevState;

class ConsoleExerciseControl : public QWidget {
  Q_OBJECT
  Q_PROPERTY(bool isReferenceEnabled READ isReferenceEnabled)

 public:
  // The colour of the score frame: the last verdict, or none.
  enum ScoreboardBorderStyle : int { CorrectBorder = 0, WrongBorder = 1, RegularBorder = 2 };

  // One section button of the timeline, in slider units (pixels from the first button's left).
  struct TimelineButtonInfo {
    unsigned long section = static_cast<unsigned long>(-1);  // -1: no section on this button
    int left = 0;
    int width = 0;
    unsigned int duration = 0;  // ticks
  };

  // The screen's views, as `currentView` holds them.
  enum View : int { ExerciseView = 0, StatisticsView = 1, ReferenceView = 2 };

  using StatisticsRow = UI::StatisticsRow;
  using GkcStats = UI::GkcStats;

  // The widgets of one row of the statistics list.
  struct StatisticsWidgetRow {
    QWidget* widget = nullptr;
    QLabel* label = nullptr;
    Progress* bar = nullptr;
  };

  // The parent must be the main window: the screen listens to its view signals.
  explicit ConsoleExerciseControl(QWidget* parent);
  ~ConsoleExerciseControl() override;

  // Exercise control, called by the main window.
  void StartExercise(unsigned long id, bool quiz, bool resume);
  void StopExercise();
  bool SaveState(Core::VAvaroState& state);
  void LoadState(const Core::VAvaroState& state);
  int GetExerciseSectionIndex() const;
  void HideMidiWarningDialog();

  // What the main window and the tests read back.
  bool HasExercise() const { return exercise != nullptr; }
  long GetCurrentExerciseId() const { return exerciseId; }
  bool IsQuiz() const { return quizMode; }
  bool IsPaused() const;
  bool isReferenceEnabled() const { return currentView == 2; }
  int CurrentView() const { return currentView; }
  const std::vector<TimelineButtonInfo>& TimelineButtons() const { return timelineButtons; }
  Core::Exercise* CurrentExercise() const { return exercise.get(); }
  Ui_console_exercise_control& Form() { return ui; }

  // Called by the exercise handler: copies the answer into the AnswerProvided signal.
  void OnAnswerProvided(bool right, const Core::Answer& answer);

  PlayDialog* GetPlayDialog();
  SectionEndDialog* GetSectionEndDialog();

  void LayoutTimeline();
  bool eventFilter(QObject* watched, QEvent* event) override;
  void setVisible(bool visible) override;

 signals:
  void NewTick();
  void NoteEntered(bool pressed, int note);
  void StateChanged();
  void PlayStateChanged();
  void AnswerProvided(bool right, Core::Answer answer);
  void NextQuestion();
  void ShowSectionEndDialogSignal();
  void ExitSignal();

  void exerciseToStatisticsTrans();
  void exerciseToExtendedStatisticsTrans();
  void referenceToExtendedStatisticsTrans();
  void extendedStatisticsToStatisticsTrans();
  void statisticsToExtendedStatisticsTrans();
  void referenceToStatisticsTrans();
  void quickExerciseToStatisticsTrans();
  void quickReferenceToStatisticsTrans();
  void quickExerciseToExtendedStatisticsTrans();
  void quickReferenceToExtendedStatisticsTrans();
  void statisticsToExerciseTrans();
  void extendedStatisticsToExerciseTrans();
  void referenceToExerciseTrans();
  void exerciseToReferenceTrans();
  void statisticsToReferenceTrans();
  void extendedStatisticsToReferenceTrans();
  void quickExtendedStatisticsToReferenceTrans();
  void quickStatisticsToReferenceTrans();
  void quickExerciseToReferenceTrans();
  void quickReferenceToExerciseTrans();
  void quickStatisticsToExerciseTrans();
  void quickExtendedStatisticsToExerciseTrans();

 public slots:
  bool PauseExercise(bool pause, bool showDlg);
  bool PauseExercise(bool pause) { return PauseExercise(pause, false); }
  void Play();
  void restartExercise();
  void repaintProgress();
  void ReviewStats();
  void ApplySettings();
  void Exit();
  void ShowStatistics(UI::Speed speed);
  void onStatisticsGkcHover(int key);

 private slots:
  // Exercise control.
  void OnTick();
  void OnStateChanged();
  void OnPlayStateChanged();
  void OnSectionChanged(uint newSection);
  void UpdateSlider() { UpdateSlider(false); }
  void UpdateSlider(bool force);
  void OnNext();
  void UpdateUIOnStateChange();
  void MoveToNextQuestion();
  void BeginSeekSlider();
  void EndSeekSlider();
  void SwitchToSection1() { SwitchToSection(0); }
  void SwitchToSection2() { SwitchToSection(1); }
  void SwitchToSection3() { SwitchToSection(2); }
  void SwitchToSection4() { SwitchToSection(3); }
  void SwitchToSection5() { SwitchToSection(4); }
  void SwitchToSection(int s);
  void ShowSectionEndDialog();

  // Question display, answers and feedback.
  void UpdateUI();
  void OnNoteFromDevice(bool pressed, int note);
  void HighlightNote(bool pressed, int note);
  void UpdateAnswerUI(bool correct, Core::Answer answer);
  void VariantClicked();
  void IntervalClicked(int interval);
  void GKCNotePressed(int key);
  void GKCNoteReleased(int key);
  void ShowActionHintDialog();
  void HideActionHintDialog();
  void doWrongAnswerAnimation(bool isTimeout);
  void doRightAnswerAnimation();

  // Views.
  void SwitchToStatSection1() { SwitchToStatSection(0); }
  void SwitchToStatSection2() { SwitchToStatSection(1); }
  void SwitchToStatSection3() { SwitchToStatSection(2); }
  void SwitchToStatSection4() { SwitchToStatSection(3); }
  void SwitchToStatSection5() { SwitchToStatSection(4); }
  void SwitchToStatSection(int s);
  void SwitchToReferenceSection1() { SwitchToReferenceSection(0); }
  void SwitchToReferenceSection2() { SwitchToReferenceSection(1); }
  void SwitchToReferenceSection3() { SwitchToReferenceSection(2); }
  void SwitchToReferenceSection4() { SwitchToReferenceSection(3); }
  void SwitchToReferenceSection5() { SwitchToReferenceSection(4); }
  void SwitchToReferenceSection(int s);
  void PrintSlot();
  void screenChangeSlot(QString current, QString previous);
  void showReference(UI::Speed speed);
  void showExercise(UI::Speed speed);
  void toggleStatistics();
  void clearStatisticsHistory();
  void showExerciseStatistics();

  void closeEvent(QCloseEvent* event) override;

 protected:
  void timerEvent(QTimerEvent* event) override;
  void customEvent(QEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void hideEvent(QHideEvent* event) override;

 private:
  friend class ExerciseHandler;
  friend class ConsoleExerciseControlProbe;  // tests read the private state through it

  // Exercise control.
  void ContinueAfterSeek();
  // A dialog has come up over the screen: a running lesson waits behind the Play overlay.
  void PauseUnderDialog();
  bool CheckForMidiDevice();
  void hideAllDialogs();
  void BeforeSeek();
  void EndSeek();
  void enableAnswerControls(bool enable);
  void updateButtons();
  void UpdateProgress();

  // Question display and feedback.
  void ShowQuestion();
  void SetMultichoiceDefaultStyle(int n);
  void SetMultichoiceCorrectStyle(int n);
  void SetMultichoiceIncorrectStyle(int n);
  void SetFrameColor(ScoreboardBorderStyle style);
  void clearScoreboardFrameColor();
  // Takes the last verdict off the screen: frame, buttons, keys and the answer score.
  void ClearVerdict();
  // Puts the piano back to input with no key lit, drawing again only the keys that were.
  void ClearPianoKeys();
  void PrepareVerdictEdge();
  void ShowRegularFrame();

  // Helpers of the run (exercise.cpp, question.cpp, answer.cpp).
  bool ClearLessonStatistics();
  void ReportStatisticsUnsaved();
  const TimelineButtonInfo* ButtonOfSection(unsigned long section) const;
  void GlideSlider();
  void KillAutoNextTimer();
  void StartAutoNextTimer(int ms);
  int ChooseAnswerMode(unsigned int methods) const;
  // The answer mode of a question that accepts `methods`; none when it is drawn at random.
  std::optional<int> ForeseenAnswerMode(unsigned int methods) const;
  // Puts up the answer controls (piano or buttons) that the next question will have, where that
  // is known before it is drawn.
  void ShowAnswerControlsOfNextQuestion();
  // Gives the Play overlay, when it rests without a picture, one of the screen as it is now.
  void PictureUnderRestingOverlay();
  // The current question waits for its answer: it is shown, sounding or not.
  bool TakesAnswers() const;
  void ShowAnswer(bool right, const Core::Answer& answer);
  // Builds and shows the answer score that the last verdict left for after its paint.
  void ShowPendingAnswerScore();
  void SetMultichoiceStyle(int n, const char* name);
  WrongRightAnswerAnimation* MakeFrameAnimation(
      const QEasingCurve& curve, const std::vector<std::pair<double, QPoint>>& offsets);
  void RunFrameAnimation(QPropertyAnimation* animation);
  void ReleaseFrameFromLayout();

  // Layout and input.
  void LayoutControls();
  void ToggleByClick();
  void ToggleBySpace();
  // A press on the Play overlay at `point` (screen coordinates) over an enabled section button
  // plays that section; false when no such button lies there.
  bool PlayFromSectionAt(QPoint point);
  // A press on the Play overlay at `point` over the slider's grip drags the slider, and play goes
  // on from where it is let go; false when the grip does not lie there.
  bool SeekFromOverlayAt(QPoint point);
  // The Play overlay over the paused exercise; over a finished one the section-end dialog is
  // raised instead.
  void ShowPlayOverlay(FadeMode mode);
  // The exercise has come to its end, timed or untimed: it takes no answer and no play.
  bool IsFinished() const;
  // Over a finished exercise its section-end dialog, unless taken down, stands on top with the
  // keys (Escape continues) and no spacebar hint.
  void RaiseSectionEndDialog();
  // Shows the hint clear of what the question shows and of the answer controls; takes it down
  // when there is no such place.
  void ShowSpacebarHint();
  // Places a shown spacebar hint again against the question area as it is now.
  void KeepHintClearOfQuestion();
  // Where the hint's top-left corner goes; none when it would cover the question everywhere.
  std::optional<QPoint> SpacebarHintCorner() const;
  // What the question area shows, in the screen's coordinates; empty when it shows nothing.
  QRect ShownQuestionRect() const;
  void PaintFrameShadow();
  void PaintTopBand(QWidget* widget);

  // Views.
  void createStatWidgets();
  void showScoreboard();
  void setupStateMachine();
  void convertReferenceText();
  void loadReference(int section, int exerciseId);
  void loadReferenceHelper(const char* name);
  void ShowStatistics(bool global, UI::Speed speed);
  void UpdateStatSectionButtons(int section);
  // Connects the section buttons to the slots of `view`, and to nothing else of the screen.
  void WireSectionButtons(int view);
  // Enables the section buttons for `view`: in a quiz's exercise view they take no click.
  void EnableSectionButtons(int view);
  // The slider passes the section buttons under it their presses: it is off only in a quiz's
  // exercise view, where it would skip the quiz.
  void EnableTimeSlider();
  std::array<QToolButton*, 5> TimelineSectionButtons() const;
  int CurrentSectionIndex() const;
  // The section whose button the statistics view shows as chosen.
  int ShownStatisticsSection() const;
  void loadStatisticsData(bool global);
  void loadStatistics(int section, int trainer, int octave);
  void setStatisticsText(const QString& sectionName, int trainer, int octave);
  void getStatisticsDataSet(int section, int trainer, int octave, std::vector<StatisticsRow>& rows,
                            GkcStats& keys);

  // Whether a notice of run `run` still belongs to the open exercise: notices queued by a stopped
  // exercise may arrive after the next one has started.
  bool IsCurrentRun(unsigned long run) const { return exercise && run == runNumber; }

  QPropertyAnimation* wrongAnswerAnimation = nullptr;
  QPropertyAnimation* rightAnswerAnimation = nullptr;
  QRect frameRestGeometry;  // the score frame's place in the exercise view
  bool timeoutNoticeShown = false;
  QTimer* timeoutNoticeTimer = nullptr;  // takes the time-out notice down again
  QPrintDialog* printDialog = nullptr;
  ScoreboardBorderStyle scoreboardBorderStyle = RegularBorder;
  // The answer score of the last verdict, built after the verdict has been painted; dropped by
  // the next question.
  struct PendingAnswerScore {
    std::string rmn;
    int highlight = -1;
    unsigned long run = 0;
  };
  std::optional<PendingAnswerScore> pendingAnswerScore;
  VerdictEdge* verdictEdge = nullptr;
  EdgeLook correctEdge;  // the verdict looks' borders, read from the form once
  EdgeLook wrongEdge;
  bool extendedStatisticsShown = false;
  Ui_console_exercise_control ui;
  std::shared_ptr<Core::Exercise> exercise;
  std::shared_ptr<ExerciseHandler> exerciseHandler;
  std::shared_ptr<Core::ScoreSet> scoreSet;
  std::vector<StatisticsWidgetRow> statisticsWidgetRows;
  StatisticsWidgetRow statisticsSummaryRow;
  QSpacerItem* statisticsBottomSpacer = nullptr;
  QSpacerItem* statisticsTopSpacer = nullptr;
  int currentNote = -1;  // the key the piano last reported while hovering, -1 for none
  int answerMode = 0;
  int autoNextTimerId = 0;
  long exerciseId = -1;
  bool quizMode = false;
  ActionHintDialog* actionHintDialog = nullptr;
  DialogCoverWatch* dialogCoverWatch = nullptr;
  // Where the pointer was when the hint last went down.
  std::optional<QPoint> hintTakenDownAt;
  FaderWidget* faderWidget = nullptr;
  PictureWidget* questionPicture = nullptr;
  SpeakerWidget* speakerWidget = nullptr;
  ScoreBoard* scoreBoard = nullptr;
  PictureWidget* pictureWidget = nullptr;
  bool multipleChoiceWasVisible = false;
  bool midiWarningShown = false;
  int statisticsSection = -1;
  int currentView = 0;
  int sectionChosenUnderOverlay = -1;  // the section the overlay's Play starts, -1 for none
  QWidget* frameShadowStrip = nullptr;
  PlayDialog* playDialog = nullptr;
  WarningDialog* warningDialog = nullptr;
  SectionEndDialog* sectionEndDialog = nullptr;
  int sliderTimerId = 0;
  int sliderTarget = 0;
  QPointer<QAbstractAnimation> viewAnimation;
  std::vector<TimelineButtonInfo> timelineButtons;
  unsigned long runNumber = 0;     // counts the exercises started on this screen
  bool stateMachineBuilt = false;  // the view machine is built at this screen's first show
  Core::Sound wrongSound;
  Core::Sound rightSound;
};

}  // namespace UI

Q_DECLARE_METATYPE(Core::Answer)
