// Birth and death of the exercise screen, and what it does when shown, hidden or closed.

#include <QCloseEvent>
#include <QHideEvent>
#include <QShowEvent>
#include <QSizePolicy>
#include <QTimer>

#include "src/core/exercise/exercise.h"
#include "src/core/score_builder/score_records.h"
#include "src/ui/action_hint_dialog.h"
#include "src/ui/application.h"
#include "src/ui/controls/console_exercise_control/console_exercise_control.h"
#include "src/ui/controls/console_exercise_control/dialog_cover_watch.h"
#include "src/ui/controls/console_exercise_control/exercise_handler.h"
#include "src/ui/fader_widget.h"
#include "src/ui/message_dialogs.h"
#include "src/ui/picture_widget.h"
#include "src/ui/play_dialog.h"
#include "src/ui/score_board/score_board.h"
#include "src/ui/screen_geometry.h"
#include "src/ui/section_end_dialog.h"
#include "src/ui/speaker_widget.h"
#include "src/ui/window_stack_manager.h"

namespace UI {

namespace {
const char* const TransparentStyle = "background-color: rgba(0,0,0,0)";
constexpr int HeaderSideMargin = 12;
}  // namespace

ConsoleExerciseControl::ConsoleExerciseControl(QWidget* parent)
    : QWidget(parent), wrongSound(":/wav/wrong.wav"), rightSound(":/wav/right.wav") {
  qRegisterMetaType<Core::Answer>("Core::Answer");

  // The question widgets are made without a parent; the fader takes them in when first shown.
  speakerWidget = new SpeakerWidget(nullptr);
  speakerWidget->setStyleSheet(TransparentStyle);
  scoreBoard = new ScoreBoard(nullptr);
  scoreBoard->setStyleSheet(TransparentStyle);
  scoreBoard->displayMode = Exercise;
  scoreBoard->SetHandMode(0);
  pictureWidget = new PictureWidget(nullptr);
  pictureWidget->setStyleSheet(TransparentStyle);
  questionPicture = new PictureWidget(nullptr);
  questionPicture->setStyleSheet(TransparentStyle);
  questionPicture->setPicture(QStringLiteral(":/pixmap/exercise/question.png"));
  pictureWidget->pictureHidden = false;
  questionPicture->pictureHidden = false;

  ui.setupUi(this);
  // The header wraps what does not fit on one line (a notice about the statistics files), clear of
  // the frame's verdict border.
  ui.StatisticsHeaderLbl->setContentsMargins(HeaderSideMargin, 0, HeaderSideMargin, 0);
  createStatWidgets();
  PrepareVerdictEdge();

  faderWidget = new FaderWidget(ui.NotestavePictureWidget);
  faderWidget->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
  faderWidget->setStyleSheet(TransparentStyle);
  ui.NotestavePictureLayout->addWidget(faderWidget);

  // The answer buttons share the keyboard area with the piano; one of them shows at a time.
  ui.verticalLayout_9->addWidget(ui.MultipleChoiceWidget);

  timeoutNoticeTimer = new QTimer(this);
  timeoutNoticeTimer->setSingleShot(true);
  connect(timeoutNoticeTimer, &QTimer::timeout, this,
          &ConsoleExerciseControl::showExerciseStatistics);

  actionHintDialog = new ActionHintDialog(this);
  // The hint stands clear of the score shown, also of one that comes while it is up.
  connect(scoreBoard, &ScoreBoard::shownChanged, this,
          &ConsoleExerciseControl::KeepHintClearOfQuestion);
  actionHintDialog->HideHint();
  actionHintDialog->installEventFilter(this);

  dialogCoverWatch = new DialogCoverWatch(this);
  connect(dialogCoverWatch, &DialogCoverWatch::Covered, this,
          &ConsoleExerciseControl::PauseUnderDialog);

  connect(this, &ConsoleExerciseControl::NewTick, this,
          qOverload<>(&ConsoleExerciseControl::UpdateSlider));
  connect(this, &ConsoleExerciseControl::StateChanged, this,
          &ConsoleExerciseControl::UpdateUIOnStateChange);
  connect(this, &ConsoleExerciseControl::PlayStateChanged, this, &ConsoleExerciseControl::UpdateUI);
  connect(this, &ConsoleExerciseControl::AnswerProvided, this,
          &ConsoleExerciseControl::UpdateAnswerUI);
  connect(this, &ConsoleExerciseControl::NoteEntered, this, &ConsoleExerciseControl::HighlightNote);
  connect(this, &ConsoleExerciseControl::NextQuestion, this,
          &ConsoleExerciseControl::MoveToNextQuestion);
  for (QToolButton* answer :
       {ui.Answer1, ui.Answer2, ui.Answer3, ui.Answer4, ui.Answer5, ui.Answer6}) {
    connect(answer, &QToolButton::clicked, this, &ConsoleExerciseControl::VariantClicked);
    answer->setFocusPolicy(Qt::NoFocus);
  }
  ui.Gkc->setFocusPolicy(Qt::NoFocus);

  ui.TimeSlider->setBackgroudWidget(ui.ButtonBar);
  ui.ButtonBar->hide();

  connect(ui.TimelineButton1, &QToolButton::clicked, this,
          &ConsoleExerciseControl::SwitchToSection1);
  connect(ui.TimelineButton2, &QToolButton::clicked, this,
          &ConsoleExerciseControl::SwitchToSection2);
  connect(ui.TimelineButton3, &QToolButton::clicked, this,
          &ConsoleExerciseControl::SwitchToSection3);
  connect(ui.TimelineButton4, &QToolButton::clicked, this,
          &ConsoleExerciseControl::SwitchToSection4);
  connect(ui.TimelineButton5, &QToolButton::clicked, this,
          &ConsoleExerciseControl::SwitchToSection5);
  connect(ui.Gkc, &Keyboard::keyPressed, this, &ConsoleExerciseControl::GKCNotePressed);
  connect(ui.Gkc, &Keyboard::keyReleased, this, &ConsoleExerciseControl::GKCNoteReleased);
  connect(ui.TimeSlider, &QSlider::sliderReleased, this, &ConsoleExerciseControl::EndSeekSlider);
  connect(ui.TimeSlider, &QSlider::sliderPressed, this, &ConsoleExerciseControl::BeginSeekSlider);
  connect(ui.Print, &QPushButton::released, this, &ConsoleExerciseControl::PrintSlot);
  connect(this, &ConsoleExerciseControl::ShowSectionEndDialogSignal, this,
          &ConsoleExerciseControl::ShowSectionEndDialog);

  connect(GetPlayDialog(), &PlayDialog::Play, this, &ConsoleExerciseControl::Play);
  // Before the overlay's own filter: a press on a section button in its picture is the screen's.
  playDialog->installEventFilter(this);

  ui.ProgressFrameWidget->installEventFilter(this);
  ui.ProgressFrameInternal->installEventFilter(this);
  ui.StatisticsWidget->setVisible(true);
  ui.referenceArea->hide();

  for (QWidget* watched : {static_cast<QWidget*>(scoreBoard), static_cast<QWidget*>(speakerWidget),
                           static_cast<QWidget*>(pictureWidget)}) {
    watched->installEventFilter(this);
    watched->setAttribute(Qt::WA_MouseTracking);
  }
  installEventFilter(this);
  ui.Gkc->setCursor(Qt::OpenHandCursor);
  for (QWidget* watched :
       {static_cast<QWidget*>(faderWidget), static_cast<QWidget*>(actionHintDialog)}) {
    watched->installEventFilter(this);
    watched->setAttribute(Qt::WA_MouseTracking);
  }
  for (QToolButton* button : {ui.TimelineButton1, ui.TimelineButton2, ui.TimelineButton3,
                              ui.TimelineButton4, ui.TimelineButton5})
    button->installEventFilter(this);

  const QRect screen = PrimaryScreenGeometry();
  setFixedWidth(screen.width());
  setFixedHeight(screen.height() - 60);

  sliderTimerId = startTimer(50);

  connect(Application::instance()->windowStackManager(), &WindowStackManager::screenChange, this,
          &ConsoleExerciseControl::screenChangeSlot);
  qRegisterMetaType<UI::Speed>("UI::Speed");
  connect(parent, SIGNAL(showReference(UI::Speed)), this, SLOT(showReference(UI::Speed)));
  connect(parent, SIGNAL(showStatistics(UI::Speed)), this, SLOT(ShowStatistics(UI::Speed)));
  connect(parent, SIGNAL(showExercise(UI::Speed)), this, SLOT(showExercise(UI::Speed)));
  connect(ui.viewHistory, &QPushButton::released, this, &ConsoleExerciseControl::toggleStatistics);
  connect(ui.clearHistory, &QPushButton::released, this,
          &ConsoleExerciseControl::clearStatisticsHistory);

  ui.Print->setText(tr("Print"));
  convertReferenceText();
  showExerciseStatistics();
}

ConsoleExerciseControl::~ConsoleExerciseControl() {
  // Dialogs shown while the screen goes are none of its business.
  delete dialogCoverWatch;
  dialogCoverWatch = nullptr;
  // Detach first, so that no notice of the exercise being stopped reaches a screen half gone.
  if (exercise && exerciseHandler) {
    static_cast<Core::Subject<Core::LessonBaseObserver>&>(*exercise).RemoveObserver(
        exerciseHandler.get());
    static_cast<Core::Subject<Core::ExerciseObserver>&>(*exercise).RemoveObserver(
        exerciseHandler.get());
  }
  StopExercise();
  timelineButtons.clear();
  viewAnimation.clear();
  delete sectionEndDialog;
  sectionEndDialog = nullptr;
  statisticsWidgetRows.clear();
  scoreSet.reset();
  exerciseHandler.reset();
  exercise.reset();
  // The question widgets that the fader never took in have no parent to delete them.
  for (QWidget* orphan :
       {static_cast<QWidget*>(speakerWidget), static_cast<QWidget*>(scoreBoard),
        static_cast<QWidget*>(pictureWidget), static_cast<QWidget*>(questionPicture)})
    if (!orphan->parent()) delete orphan;
}

PlayDialog* ConsoleExerciseControl::GetPlayDialog() {
  if (!playDialog) playDialog = new PlayDialog(this);
  return playDialog;
}

void ConsoleExerciseControl::ShowPlayOverlay(FadeMode mode) {
  // A finished exercise has nothing left to play: its section-end dialog stands in the overlay's
  // place.
  if (IsFinished()) {
    RaiseSectionEndDialog();
    return;
  }
  // Paused between questions (after a verdict, or back from a settings page), Play goes on with a
  // new question: the last verdict is over, and the overlay shows the screen without it.
  if (IsPaused() && exercise->GetState() == Core::ES_READY) ClearVerdict();
  // Its picture shows the screen as Play will show it, with the next question's answer controls.
  if (exercise && exercise->GetState() == Core::ES_READY) ShowAnswerControlsOfNextQuestion();
  GetPlayDialog()->doShow(mode, ui.rootWidget);
}

bool ConsoleExerciseControl::IsFinished() const {
  if (!exercise) return false;
  // A timed exercise ends finished; an untimed last section ends stopped, when the next question
  // is asked for and none is left. Nothing else stops an exercise: a new one is ready.
  const Core::ExerciseState state = exercise->GetState();
  return state == Core::ES_FINISHED || state == Core::ES_STOPPED;
}

void ConsoleExerciseControl::RaiseSectionEndDialog() {
  if (!IsFinished() || !sectionEndDialog || !sectionEndDialog->isShown()) return;
  // It may have come back with the screen (from a settings page) under what the screen raised
  // since, and without the keys, which the screen takes as it is shown.
  sectionEndDialog->show();
  sectionEndDialog->raise();
  sectionEndDialog->setFocus(Qt::OtherFocusReason);
  actionHintDialog->HideHint();
}

void ConsoleExerciseControl::PictureUnderRestingOverlay() {
  if (!playDialog || !playDialog->isVisible() || playDialog->animating() || playDialog->covered())
    return;
  if (currentView != ExerciseView || !exercise || IsFinished()) return;
  ShowPlayOverlay(FadeNone);
}

void ConsoleExerciseControl::setVisible(bool visible) {
  QWidget::setVisible(visible);
}

void ConsoleExerciseControl::showEvent(QShowEvent* event) {
  if (currentView == 0) {
    ShowPlayOverlay(FadeNone);
  }
  if (!stateMachineBuilt) {
    stateMachineBuilt = true;
    setupStateMachine();
  }
  QWidget::showEvent(event);
}

void ConsoleExerciseControl::hideEvent(QHideEvent* event) {
  GetPlayDialog()->hide();
  QWidget::hideEvent(event);
}

void ConsoleExerciseControl::closeEvent(QCloseEvent* event) {
  if (exercise) exercise->Stop();
  event->accept();
}

}  // namespace UI
