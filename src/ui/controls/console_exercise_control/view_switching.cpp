// The exercise screen's three views. A switch sets the small things at once (what is shown, the
// panel's look, the spacers, what the section buttons do) and then emits one transition signal;
// the view machine turns it into the new geometry of the large areas, animated or at once.

#include <QPropertyAnimation>
#include <QSignalTransition>
#include <QSpacerItem>
#include <QState>
#include <QStateMachine>

#include <array>

#include "src/core/catalog/exercise_catalog.h"
#include "src/core/exercise/exercise.h"
#include "src/core/telemetry/telemetry.h"
#include "src/ui/action_hint_dialog.h"
#include "src/ui/application.h"
#include "src/ui/controls/console_exercise_control/console_exercise_control.h"
#include "src/ui/controls/console_exercise_control/custom_animation_group.h"
#include "src/ui/play_dialog.h"
#include "src/ui/screen_geometry.h"
#include "src/ui/section_end_dialog.h"

namespace UI {

namespace {

constexpr int TransitionMs = 220;
constexpr int StatisticsPanelWidth = 750;
constexpr int ReferencePanelWidth = 800;
constexpr int PanelTop = 25;
// The panel keeps this much of the screen free above and below itself.
constexpr int PanelMargins = 50;

std::shared_ptr<Core::Telemetry> UsageRecord() {
  const auto catalog = Application::instance()->GetExerciseCatalog();
  return catalog ? catalog->GetTelemetry() : nullptr;
}

void CollapseSpacer(QSpacerItem* spacer) {
  spacer->changeSize(0, 0, QSizePolicy::Minimum, QSizePolicy::Minimum);
}

QRect Centred(int screenWidth, int width, int top, int height) {
  return QRect((screenWidth - width) / 2, top, width, height);
}

QRect MovedDown(QRect rect, int by) {
  rect.translate(0, by);
  return rect;
}

}  // namespace

void ConsoleExerciseControl::setupStateMachine() {
  const int screenHeight = height();
  const int sliderHeight = ui.SliderBar->height();
  const int keysHeight = ui.GkcLayoutWidget->height();
  const QSize frame = ui.ProgressFrameInternal->size();
  const int screenWidth = ScreenGeometry(-1).width();
  const int panelHeight = screenHeight - PanelMargins - sliderHeight;

  // The areas leave their layouts and keep the geometry the machine gives them. The frame may
  // now be narrower and taller than the score board it was sized to.
  ui.ProgressFrameLayout->removeWidget(ui.ProgressFrameInternal);
  for (QWidget* area :
       {ui.SliderBar, ui.GkcLayoutWidget, ui.NotestavePictureWidget, ui.MultipleChoiceWidget})
    ui.verticalLayout_2->removeWidget(area);
  ui.ProgressFrameInternal->setMinimumSize(0, 0);
  ui.ProgressFrameInternal->setMaximumHeight(panelHeight);

  auto* machine = new QStateMachine(this);
  machine->setObjectName("viewMachine");
  auto makeState = [machine](const char* name) {
    auto* state = new QState(machine);
    state->setObjectName(name);
    return state;
  };
  QState* exerciseState = makeState("exercise");
  QState* statisticsState = makeState("statistics");
  QState* extendedState = makeState("extendedStatistics");
  QState* referenceState = makeState("reference");
  machine->setInitialState(exerciseState);
  // Back in the exercise view the overlay has no picture yet: the areas were still on their
  // way. It takes one once they are in place, and once showExercise, during whose signal a quick
  // transition ends, has put the answer controls back.
  connect(exerciseState, &QState::propertiesAssigned, this,
          &ConsoleExerciseControl::PictureUnderRestingOverlay, Qt::QueuedConnection);

  const QRect keysBuilt = ui.GkcLayoutWidget->geometry();
  QRect questionHidden = ui.NotestavePictureWidget->geometry();
  questionHidden.moveTop(screenHeight);

  if (frameShadowStrip) {
    exerciseState->assignProperty(frameShadowStrip, "visible", true);
    for (QState* state : {statisticsState, extendedState, referenceState})
      state->assignProperty(frameShadowStrip, "visible", false);
  }

  QWidget* panel = ui.ProgressFrameInternal;
  // The score frame's own width comes back with the exercise view.
  exerciseState->assignProperty(panel, "maximumWidth", frame.width());
  frameRestGeometry = QRect((screenWidth - frame.width()) / 2, 0, frame.width(), frame.height());
  exerciseState->assignProperty(panel, "geometry", frameRestGeometry);
  exerciseState->assignProperty(ui.GkcLayoutWidget, "geometry", keysBuilt);
  // The bar never moves; every state names its place so that its animation has an end.
  for (QState* state : {exerciseState, statisticsState, extendedState, referenceState})
    state->assignProperty(ui.SliderBar, "geometry", ui.SliderBar->geometry());
  exerciseState->assignProperty(ui.NotestavePictureWidget, "geometry",
                                ui.NotestavePictureWidget->geometry());

  statisticsState->assignProperty(panel, "maximumWidth", StatisticsPanelWidth);
  statisticsState->assignProperty(
      panel, "geometry",
      Centred(screenWidth, StatisticsPanelWidth, PanelTop, panelHeight - keysHeight));
  statisticsState->assignProperty(ui.GkcLayoutWidget, "geometry", keysBuilt);

  extendedState->assignProperty(panel, "maximumWidth", StatisticsPanelWidth);
  extendedState->assignProperty(panel, "geometry",
                                Centred(screenWidth, StatisticsPanelWidth, PanelTop, panelHeight));

  referenceState->assignProperty(panel, "maximumWidth", ReferencePanelWidth);
  referenceState->assignProperty(panel, "geometry",
                                 Centred(screenWidth, ReferencePanelWidth, PanelTop, panelHeight));

  for (QState* state : {extendedState, referenceState})
    state->assignProperty(ui.GkcLayoutWidget, "geometry", MovedDown(keysBuilt, keysHeight));
  for (QState* state : {statisticsState, extendedState, referenceState})
    state->assignProperty(ui.NotestavePictureWidget, "geometry", questionHidden);

  for (QState* state : {exerciseState, statisticsState, extendedState}) {
    const bool statistics = state != exerciseState;
    state->assignProperty(ui.statisticsHistoryBtnSeperator, "visible", statistics);
    state->assignProperty(ui.viewHistory, "visible", statistics);
    state->assignProperty(ui.clearHistory, "visible", statistics);
  }
  referenceState->assignProperty(ui.viewHistory, "visible", false);
  referenceState->assignProperty(ui.StatisticsHeaderLbl, "visible", false);

  auto* group = new CustomAnimationGroup(this, machine);
  for (QWidget* area :
       {ui.ProgressFrameInternal, ui.GkcLayoutWidget, ui.SliderBar, ui.NotestavePictureWidget}) {
    auto* animation = new QPropertyAnimation(area, "geometry", group);
    animation->setDuration(TransitionMs);
    group->addAnimation(animation);
    if (area == ui.ProgressFrameInternal) viewAnimation = animation;
  }
  connect(group, &QAbstractAnimation::finished, this, &ConsoleExerciseControl::repaintProgress);

  using Signal = void (ConsoleExerciseControl::*)();
  struct Transition {
    QState* from;
    Signal signal;
    QState* to;
    bool animated;
  };
  const Transition transitions[] = {
      {exerciseState, &ConsoleExerciseControl::exerciseToStatisticsTrans, statisticsState, true},
      {exerciseState, &ConsoleExerciseControl::quickExerciseToStatisticsTrans, statisticsState,
       false},
      {exerciseState, &ConsoleExerciseControl::exerciseToExtendedStatisticsTrans, extendedState,
       true},
      {exerciseState, &ConsoleExerciseControl::quickExerciseToExtendedStatisticsTrans,
       extendedState, false},
      {exerciseState, &ConsoleExerciseControl::exerciseToReferenceTrans, referenceState, true},
      {exerciseState, &ConsoleExerciseControl::quickExerciseToReferenceTrans, referenceState,
       false},
      {referenceState, &ConsoleExerciseControl::referenceToExerciseTrans, exerciseState, true},
      {referenceState, &ConsoleExerciseControl::quickReferenceToExerciseTrans, exerciseState,
       false},
      {referenceState, &ConsoleExerciseControl::referenceToStatisticsTrans, statisticsState, true},
      {referenceState, &ConsoleExerciseControl::quickReferenceToStatisticsTrans, statisticsState,
       false},
      {referenceState, &ConsoleExerciseControl::referenceToExtendedStatisticsTrans, extendedState,
       true},
      {referenceState, &ConsoleExerciseControl::quickReferenceToExtendedStatisticsTrans,
       extendedState, false},
      {statisticsState, &ConsoleExerciseControl::statisticsToReferenceTrans, referenceState, true},
      {statisticsState, &ConsoleExerciseControl::quickStatisticsToReferenceTrans, referenceState,
       false},
      {statisticsState, &ConsoleExerciseControl::statisticsToExerciseTrans, exerciseState, true},
      {statisticsState, &ConsoleExerciseControl::quickStatisticsToExerciseTrans, exerciseState,
       false},
      {statisticsState, &ConsoleExerciseControl::statisticsToExtendedStatisticsTrans, extendedState,
       true},
      {extendedState, &ConsoleExerciseControl::extendedStatisticsToExerciseTrans, exerciseState,
       true},
      {extendedState, &ConsoleExerciseControl::quickExtendedStatisticsToExerciseTrans,
       exerciseState, false},
      {extendedState, &ConsoleExerciseControl::extendedStatisticsToReferenceTrans, referenceState,
       true},
      {extendedState, &ConsoleExerciseControl::quickExtendedStatisticsToReferenceTrans,
       referenceState, false},
      {extendedState, &ConsoleExerciseControl::extendedStatisticsToStatisticsTrans, statisticsState,
       true},
  };
  for (const Transition& t : transitions) {
    QSignalTransition* transition = t.from->addTransition(this, t.signal, t.to);
    if (t.animated) transition->addAnimation(group);
  }
  machine->start();
}

void ConsoleExerciseControl::UpdateStatSectionButtons(int section) {
  const QString chosen = ui.TimeSlider->property("sectionStatisticsMode").toString();
  const QString other = ui.TimeSlider->property("sectionExerciseMode").toString();
  const std::array<QToolButton*, 5> buttons = TimelineSectionButtons();
  for (int i = 0; i < int(buttons.size()); ++i)
    buttons[std::size_t(i)]->setStyleSheet(i == section ? chosen : other);
}

std::array<QToolButton*, 5> ConsoleExerciseControl::TimelineSectionButtons() const {
  return {ui.TimelineButton1, ui.TimelineButton2, ui.TimelineButton3, ui.TimelineButton4,
          ui.TimelineButton5};
}

void ConsoleExerciseControl::WireSectionButtons(int view) {
  using Slot = void (ConsoleExerciseControl::*)();
  static constexpr std::array<std::array<Slot, 5>, 3> slotsByView = {{
      {&ConsoleExerciseControl::SwitchToSection1, &ConsoleExerciseControl::SwitchToSection2,
       &ConsoleExerciseControl::SwitchToSection3, &ConsoleExerciseControl::SwitchToSection4,
       &ConsoleExerciseControl::SwitchToSection5},
      {&ConsoleExerciseControl::SwitchToStatSection1, &ConsoleExerciseControl::SwitchToStatSection2,
       &ConsoleExerciseControl::SwitchToStatSection3, &ConsoleExerciseControl::SwitchToStatSection4,
       &ConsoleExerciseControl::SwitchToStatSection5},
      {&ConsoleExerciseControl::SwitchToReferenceSection1,
       &ConsoleExerciseControl::SwitchToReferenceSection2,
       &ConsoleExerciseControl::SwitchToReferenceSection3,
       &ConsoleExerciseControl::SwitchToReferenceSection4,
       &ConsoleExerciseControl::SwitchToReferenceSection5},
  }};
  const std::array<QToolButton*, 5> buttons = TimelineSectionButtons();
  for (std::size_t i = 0; i < buttons.size(); ++i) {
    // The buttons talk to the screen through these slots only.
    disconnect(buttons[i], &QAbstractButton::clicked, this, nullptr);
    connect(buttons[i], &QAbstractButton::clicked, this, slotsByView[std::size_t(view)][i],
            Qt::UniqueConnection);
  }
  EnableSectionButtons(view);
}

void ConsoleExerciseControl::EnableSectionButtons(int view) {
  // A quiz is answered question by question: in the exercise view a section button would jump
  // ahead. In the statistics and reference views the buttons only choose what is shown.
  const bool enabled = !quizMode || view != ExerciseView;
  for (QToolButton* button : TimelineSectionButtons()) button->setEnabled(enabled);
}

void ConsoleExerciseControl::EnableTimeSlider() {
  ui.TimeSlider->setEnabled(!quizMode || currentView != ExerciseView);
}

void ConsoleExerciseControl::showExercise(Speed speed) {
  if (currentView == ExerciseView) return;
  if (currentView == ReferenceView)
    if (const auto usage = UsageRecord()) usage->ExitReference();

  ui.TimeSlider->setEnabled(!quizMode);
  ui.ProgressFrameInternal->setStyleSheet(
      ui.ProgressFrameInternal->property("RegularBackgroundStyle").toString());

  if (exercise) {
    const bool finished = IsFinished();
    if (finished) {
      SectionEndDialog* dialog = GetSectionEndDialog();
      if (prevState == int(Core::ES_FINISHED))
        dialog->show();
      else
        dialog->showAnimated();
    } else {
      if (sectionEndDialog) sectionEndDialog->hide();
      GetPlayDialog()->doShow(FadeNone, nullptr);
    }
    // An untimed exercise ends stopped: its end counts as the finished state here.
    prevState = finished ? int(Core::ES_FINISHED) : int(exercise->GetState());
  }

  const bool animated = speed != SpeedImmediate;
  if (currentView == StatisticsView) {
    if (extendedStatisticsShown)
      emit animated ? extendedStatisticsToExerciseTrans()
                    : quickExtendedStatisticsToExerciseTrans();
    else
      emit animated ? statisticsToExerciseTrans() : quickStatisticsToExerciseTrans();
  } else {
    emit animated ? referenceToExerciseTrans() : quickReferenceToExerciseTrans();
  }

  ui.TimeSlider->setStyleSheet(ui.TimeSlider->property("sliderOn").toString());
  const QString buttonStyle = ui.TimeSlider->property("sectionExerciseMode").toString();
  for (QToolButton* button : TimelineSectionButtons()) button->setStyleSheet(buttonStyle);
  WireSectionButtons(ExerciseView);
  CollapseSpacer(ui.statisticsSeparatorSpacer);
  CollapseSpacer(ui.statisticsButtonsSpacer);

  if (multipleChoiceWasVisible) {
    multipleChoiceWasVisible = false;
    answerMode = 1;
    ui.Gkc->hide();
    ui.MultipleChoiceWidget->show();
    ui.GkcDemperLayoutWidget->hide();
  }
  ui.Gkc->cleanAllKeys();
  ui.Gkc->switchMode(Keyboard::Input);
  disconnect(ui.Gkc, &Keyboard::hover, this, &ConsoleExerciseControl::onStatisticsGkcHover);
  // The statistics and reference views show the regular frame; the last verdict's comes back.
  if (scoreboardBorderStyle != RegularBorder) SetFrameColor(scoreboardBorderStyle);

  currentView = ExerciseView;
  showExerciseStatistics();
  const bool buttons = answerMode == 1;
  ui.Gkc->setVisible(!buttons);
  ui.GkcDemperLayoutWidget->setVisible(!buttons);
  ui.MultipleChoiceWidget->setVisible(buttons);
}

void ConsoleExerciseControl::showReference(Speed speed) {
  if (currentView == ReferenceView || !exercise) return;
  if (currentView == ExerciseView) exercise->Pause(true);
  if (const auto usage = UsageRecord()) usage->EnterReference();

  if (sectionEndDialog) sectionEndDialog->hide();
  GetPlayDialog()->hide();
  actionHintDialog->HideHint();

  const int section = int(exercise->GetTimeline().GetCurrentSectionIndex());
  UpdateStatSectionButtons(section);
  loadReference(section, int(exerciseId));

  ui.StatisticsWidget->hide();
  ui.StatisticsHeaderLbl->hide();
  for (const StatisticsWidgetRow& row : statisticsWidgetRows) {
    row.widget->hide();
    row.label->hide();
    row.bar->hide();
  }
  ui.statisticsScrollArea->hide();
  ui.statisticsHistoryBtnSeperator->hide();
  CollapseSpacer(ui.statisticsHeaderSpacer);
  CollapseSpacer(ui.statisticsSeparatorSpacer);
  CollapseSpacer(ui.statisticsButtonsSpacer);
  ui.referenceScrollArea->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  ui.referenceArea->show();

  ui.TimeSlider->setStyleSheet(ui.TimeSlider->property("sliderOff").toString());
  WireSectionButtons(ReferenceView);
  clearScoreboardFrameColor();
  ui.ProgressFrameInternal->setStyleSheet(
      ui.ProgressFrameInternal->property("ReferencesBackgroundStyle").toString());

  const bool animated = speed != SpeedImmediate;
  if (currentView == StatisticsView) {
    if (extendedStatisticsShown)
      emit animated ? extendedStatisticsToReferenceTrans()
                    : quickExtendedStatisticsToReferenceTrans();
    else
      emit animated ? statisticsToReferenceTrans() : quickStatisticsToReferenceTrans();
  } else {
    emit animated ? exerciseToReferenceTrans() : quickExerciseToReferenceTrans();
  }
  currentView = ReferenceView;
}

void ConsoleExerciseControl::ShowStatistics(Speed speed) {
  if (currentView == StatisticsView || !exercise) return;
  GetPlayDialog()->hide();
  actionHintDialog->HideHint();
  ui.ProgressFrameInternal->setStyleSheet(
      ui.ProgressFrameInternal->property("RegularBackgroundStyle").toString());
  ShowStatistics(false, speed);
}

void ConsoleExerciseControl::ShowStatistics(bool global, Speed speed) {
  if (currentView == StatisticsView) return;
  if (currentView == ReferenceView)
    if (const auto usage = UsageRecord()) usage->ExitReference();

  if (sectionEndDialog) sectionEndDialog->hide();
  PauseExercise(true, false);
  clearScoreboardFrameColor();
  hideAllDialogs();

  loadStatisticsData(global);
  int section = int(exercise->GetTimeline().GetCurrentSectionIndex());
  if (IsFinished() && statisticsSection != -1) section = statisticsSection;

  ui.StatisticsWidget->show();
  ui.statisticsHistoryBtnSeperator->show();
  ui.scrollAreaWidgetContents_2->layout()->update();
  ui.referenceArea->hide();
  ui.statisticsScrollArea->show();
  ui.StatisticsHeaderLbl->setStyleSheet(
      ui.StatisticsHeaderLbl->property("RegularStyle").toString());
  ui.StatisticsHeaderLbl->show();

  ui.statisticsSeparatorSpacer->changeSize(20, 9, QSizePolicy::Minimum, QSizePolicy::Minimum);
  ui.statisticsButtonsSpacer->changeSize(20, 10, QSizePolicy::Minimum, QSizePolicy::Minimum);
  ui.statisticsHeaderSpacer->changeSize(20, 5, QSizePolicy::Minimum, QSizePolicy::Minimum);
  statisticsBottomSpacer->changeSize(20, 10, QSizePolicy::Fixed, QSizePolicy::Minimum);
  ui.statisticsScrollArea->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);

  // The statistics view needs the piano.
  if (ui.MultipleChoiceWidget->isVisible()) {
    multipleChoiceWasVisible = true;
    answerMode = 0;
    ui.MultipleChoiceWidget->hide();
    ui.Gkc->show();
    ui.GkcDemperLayoutWidget->show();
  }

  UpdateStatSectionButtons(section);
  ui.TimeSlider->setEnabled(true);
  ui.TimeSlider->setStyleSheet(ui.TimeSlider->property("sliderOff").toString());
  WireSectionButtons(StatisticsView);

  statisticsTopSpacer->changeSize(0, 0, QSizePolicy::Fixed, QSizePolicy::Minimum);
  ui.verticalLayout_8->invalidate();

  const bool extended = (exerciseId == 1 && section == 4) || exerciseId == 2;
  extendedStatisticsShown = extended;
  const bool animated = speed == SpeedAnimated;
  if (currentView == ReferenceView) {
    if (extended)
      emit animated ? referenceToExtendedStatisticsTrans()
                    : quickReferenceToExtendedStatisticsTrans();
    else
      emit animated ? referenceToStatisticsTrans() : quickReferenceToStatisticsTrans();
  } else {
    if (extended)
      emit animated ? exerciseToExtendedStatisticsTrans()
                    : quickExerciseToExtendedStatisticsTrans();
    else
      emit animated ? exerciseToStatisticsTrans() : quickExerciseToStatisticsTrans();
  }
  currentView = StatisticsView;
}

void ConsoleExerciseControl::screenChangeSlot(QString, QString) {}

}  // namespace UI
