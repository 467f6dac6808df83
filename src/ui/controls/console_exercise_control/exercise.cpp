// Driving the open exercise: start, stop, pause and resume, the Play overlay, the seek slider and
// the section buttons, the auto-next timer, the reaction to state changes, the section-end
// dialog, the no-MIDI-keyboard warning and the resume record.

#include <QTimer>
#include <QTimerEvent>

#include <utility>

#include "src/core/catalog/exercise_catalog.h"
#include "src/core/exercise/ex_store/exercise_statistics.h"
#include "src/core/exercise/exercise.h"
#include "src/core/midi/error.h"
#include "src/core/midi/platform/sound_controller.h"
#include "src/core/settings/global_settings.h"
#include "src/core/settings/settings_manager.h"
#include "src/core/telemetry/telemetry.h"
#include "src/ui/action_hint_dialog.h"
#include "src/ui/application.h"
#include "src/ui/controls/console_exercise_control/console_exercise_control.h"
#include "src/ui/controls/console_exercise_control/exercise_handler.h"
#include "src/ui/controls/console_exercise_control/form_buttons.h"
#include "src/ui/controls/console_exercise_control/resume_position.h"
#include "src/ui/fader_widget.h"
#include "src/ui/keyboard.h"
#include "src/ui/message_dialogs.h"
#include "src/ui/play_dialog.h"
#include "src/ui/progress.h"
#include "src/ui/section_end_dialog.h"
#include "src/ui/storage_notice.h"

namespace UI {

int prevState = Core::ES_FINISHED;

namespace {

// Between the score frame's lower edge and the section-end dialog's title.
constexpr int SectionEndFrameClearance = 20;

Application* App() {
  return Application::instance();
}

std::shared_ptr<Core::Telemetry> UsageRecord() {
  auto catalog = App()->GetExerciseCatalog();
  return catalog ? catalog->GetTelemetry() : nullptr;
}

}  // namespace

void ConsoleExerciseControl::StartExercise(unsigned long id, bool quiz, bool resume) {
  StopExercise();
  // A section picked in the statistics of the last run is no choice for this one.
  statisticsSection = -1;
  exerciseId = static_cast<long>(id);
  quizMode = quiz;

  auto opened = App()->GetExerciseCatalog()->OpenExercise(id);
  opened->TempoBank = App()->GetMidiBank();
  // The handler is not registered yet, so the notices of this reset do not reach the screen.
  opened->Reset();
  opened->SetSoundController(App()->GetSoundController());
  exerciseHandler = std::make_shared<ExerciseHandler>(this, ++runNumber);
  opened->Core::Subject<Core::LessonBaseObserver>::AddObserver(exerciseHandler.get());
  opened->Core::Subject<Core::ExerciseObserver>::AddObserver(exerciseHandler.get());
  faderWidget->switchToWidget(nullptr);
  exercise = opened;
  exercise->SetQuizMode(quiz);
  ui.TimeSlider->setSeekable(!quiz);
  const bool statisticsLost = !resume && !ClearLessonStatistics();
  if (auto usage = UsageRecord()) usage->EnterExercise(static_cast<int>(id), quiz);

  ApplySettings();
  UpdateUI();
  ClearPianoKeys();
  ui.Gkc->Enable(true);
  for (QToolButton* button : AnswerButtons(ui)) button->setText(QStringLiteral("--"));
  const QString sectionStyle = ui.TimeSlider->property("sectionExerciseMode").toString();
  for (QToolButton* button : SectionButtons(ui)) button->setStyleSheet(sectionStyle);
  currentView = 0;
  EnableSectionButtons(currentView);
  showExerciseStatistics();
  if (statisticsLost) ReportStatisticsUnsaved();
  if (sectionEndDialog) sectionEndDialog->hide();
  for (int n = 1; n <= 6; ++n) SetMultichoiceDefaultStyle(n);
}

bool ConsoleExerciseControl::ClearLessonStatistics() {
  try {
    exercise->ClearLocalStats();
    return true;
  } catch (const Error&) {
    return false;
  }
}

void ConsoleExerciseControl::ReportStatisticsUnsaved() {
  // Only the lesson's own file failed: the answers still go to the all-time statistics.
  ui.StatisticsHeaderLbl->setText(tr("The lesson's file, %1, cannot be saved. The lesson goes on "
                                     "without it.")
                                      .arg(QStringLiteral("statsLocal.xml")));
}

void ConsoleExerciseControl::StopExercise() {
  KillAutoNextTimer();
  if (exercise) {
    const int wrong = statisticsSummaryRow.bar->leftValue();
    const int right = statisticsSummaryRow.bar->value();
    const double ratio = wrong + right > 0 ? double(right) / double(wrong + right) : 0.0;
    if (auto usage = UsageRecord()) usage->ExitExercise(ratio);
    exercise->Stop();
    // The last owner: the exercise goes here and saves its statistics files.
    exercise.reset();
    // Answers that could not reach their files are told of at the end of each such lesson.
    if (wrong + right > 0)
      TellLessonUnsaved(
          window(), App()->GetExerciseCatalog()->GetExerciseStatistics()->GetLastSaveProblems());
  }
  midiWarningShown = false;
  sectionChosenUnderOverlay = -1;
  pendingAnswerScore.reset();
  GetPlayDialog()->setVisible(false);
  actionHintDialog->HideHint();
  showExercise(Speed(0));
  clearScoreboardFrameColor();
}

bool ConsoleExerciseControl::IsPaused() const {
  return exercise && exercise->GetPlaybackState() == Core::PS_PAUSED;
}

bool ConsoleExerciseControl::PauseExercise(bool pause, bool showDlg) {
  // An exercise at its end has nothing left to play: its section-end dialog stands.
  if (currentView != 0 || !exercise || IsFinished()) return false;
  // The interrupted question ends while its clock still stands: resumed first, its time could
  // run out before it is ended, and the learner who pressed Play would meet "Out of time." for a
  // question left behind. A pending auto-next gives way to the question asked below.
  if (!pause && IsPaused()) {
    KillAutoNextTimer();
    exercise->AbortQuestion();
  }
  const bool changed = exercise->Pause(pause);
  if (pause && showDlg) ShowPlayOverlay(FadeNone);
  if (!pause) {
    if (exercise->GetState() == Core::ES_READY)
      MoveToNextQuestion();
    else
      ShowQuestion();
    actionHintDialog->SetPauseAfterErrorMode(false);
    ShowSpacebarHint();
  }
  return changed;
}

void ConsoleExerciseControl::PauseUnderDialog() {
  // The question's time would run out while the learner reads, and the next one's after it. The
  // lesson waits behind the Play overlay, which the learner finds when the dialog has gone; Play
  // then asks a new question, as after any pause.
  if (currentView != ExerciseView || !exercise || exercise->GetPlaybackState() != Core::PS_PLAYING)
    return;
  exercise->Pause(true);
  ShowPlayOverlay(FadeNone);
}

void ConsoleExerciseControl::Play() {
  if (!exercise) return;
  const int section = std::exchange(sectionChosenUnderOverlay, -1);
  if (!midiWarningShown && exercise->CanUseMidiIn() &&
      !App()->GetSettings()->globalSettings.hideMidiDialog && !CheckForMidiDevice()) {
    // A child covers its parent from (0, 0); a desktop screen may lie anywhere on the desktop.
    if (!warningDialog) warningDialog = new WarningDialog(this, rect());
    warningDialog->exec();
    midiWarningShown = true;
    // A keyboard plugged in meanwhile: the main window has paused and shown the overlay again.
    if (CheckForMidiDevice()) return;
  }
  if (section < 0) {
    PauseExercise(exercise->GetPlaybackState() == Core::PS_PLAYING, false);
    return;
  }
  // A section button pressed in the overlay's picture: that section starts, or takes the place of
  // the paused question, as its button does in a running exercise.
  SwitchToSection(section);
  actionHintDialog->SetPauseAfterErrorMode(false);
  ShowSpacebarHint();
}

bool ConsoleExerciseControl::CheckForMidiDevice() {
  auto sound = App()->GetSoundController();
  return sound && sound->GetInputMidiDeviceCount() > 0;
}

void ConsoleExerciseControl::HideMidiWarningDialog() {
  if (warningDialog && warningDialog->isVisible())
    QMetaObject::invokeMethod(warningDialog, "on_Close_released");
}

void ConsoleExerciseControl::ContinueAfterSeek() {
  if (exercise->GetPlaybackState() == Core::PS_PLAYING && exercise->GetState() == Core::ES_READY &&
      autoNextTimerId == 0)
    MoveToNextQuestion();
}

void ConsoleExerciseControl::MoveToNextQuestion() {
  actionHintDialog->SetPauseAfterErrorMode(false);
  SetFrameColor(RegularBorder);
  // A time-out notice belongs to its own question, not to the next.
  if (timeoutNoticeShown) {
    timeoutNoticeTimer->stop();
    showExerciseStatistics();
  }
  if (!exercise) return;
  if (exercise->GetState() == Core::ES_FINISHED) {
    exercise->Reset();
    return;
  }
  // The engine asks only between questions; a late timer must not reach it in another state.
  if (exercise->GetState() != Core::ES_READY) return;
  exercise->NextQuestion();
  // None was left: the exercise has stopped, and the section-end dialog shows its score in place
  // of a question.
  if (IsFinished()) return;
  ShowQuestion();
}

void ConsoleExerciseControl::ClearVerdict() {
  SetFrameColor(RegularBorder);
  for (int n = 1; n <= 6; ++n) SetMultichoiceDefaultStyle(n);
  ClearPianoKeys();
  // The answer score with its coloured notes goes with the question it answered.
  pendingAnswerScore.reset();
  faderWidget->switchToWidget(nullptr);
}

void ConsoleExerciseControl::OnNext() {
  if (exercise) exercise->NextQuestion();
}

void ConsoleExerciseControl::ShowActionHintDialog() {
  ShowSpacebarHint();
}

void ConsoleExerciseControl::HideActionHintDialog() {
  actionHintDialog->HideHint();
}

void ConsoleExerciseControl::hideAllDialogs() {
  GetPlayDialog()->setVisible(false);
  actionHintDialog->HideHint();
}

bool ConsoleExerciseControl::SaveState(Core::VAvaroState& state) {
  if (!exercise) return false;
  const Core::TimeLine& timeline = exercise->GetTimeline();
  const int position = timeline.GetPosition();
  if (!IsResumablePosition(position, timeline.GetTotalDuration())) return false;
  // An untimed exercise stops at its end with the timeline back at its start.
  if (IsFinished() || (sectionEndDialog && sectionEndDialog->isVisible())) return false;
  state.exercisePosition = position;
  state.exerciseId = static_cast<int>(exerciseId);
  return true;
}

void ConsoleExerciseControl::LoadState(const Core::VAvaroState& state) {
  faderWidget->switchToWidget(nullptr);
  if (!exercise) return;
  exercise->LoadLocalStats();
  exercise->SetPosition(state.exercisePosition);
  UpdateSlider(true);
}

void ConsoleExerciseControl::ApplySettings() {
  if (exercise) exercise->SetSettings(App()->GetSettings());
  LayoutTimeline();
  if (currentView == 2) {
    showReference(Speed(0));
  } else if (currentView == 1) {
    ShowStatistics(Speed(0));
  } else {
    UpdateUI();
    UpdateSlider(true);
  }
}

int ConsoleExerciseControl::GetExerciseSectionIndex() const {
  return exercise ? static_cast<int>(exercise->GetTimeline().GetCurrentSectionIndex()) : 0;
}

const ConsoleExerciseControl::TimelineButtonInfo* ConsoleExerciseControl::ButtonOfSection(
    unsigned long section) const {
  for (const TimelineButtonInfo& info : timelineButtons)
    if (info.section == section) return &info;
  return nullptr;
}

void ConsoleExerciseControl::UpdateSlider(bool force) {
  if (!exercise) return;
  // A tick posted before the learner left the exercise view may come after it.
  EnableTimeSlider();
  const Core::TimeLine& timeline = exercise->GetTimeline();
  const TimelineButtonInfo* info = ButtonOfSection(timeline.GetCurrentSectionIndex());
  if (!info || info->duration == 0) return;
  const int value = static_cast<int>(
      info->left + double(info->width) * timeline.GetSectionPosition() / info->duration);
  if (!force && value > ui.TimeSlider->value() + 2) {
    sliderTarget = value;
  } else {
    sliderTarget = 0;
    ui.TimeSlider->setValue(value);
  }
}

void ConsoleExerciseControl::GlideSlider() {
  if (!exercise || exercise->GetPlaybackState() != Core::PS_PLAYING || sliderTarget == 0) return;
  const int value = ui.TimeSlider->value();
  if (sliderTarget > value)
    ui.TimeSlider->setValue(value + std::max(1, (sliderTarget - value) / 10));
  else
    sliderTarget = 0;
}

void ConsoleExerciseControl::KillAutoNextTimer() {
  if (autoNextTimerId == 0) return;
  killTimer(autoNextTimerId);
  autoNextTimerId = 0;
}

void ConsoleExerciseControl::StartAutoNextTimer(int ms) {
  KillAutoNextTimer();
  autoNextTimerId = startTimer(ms);
}

void ConsoleExerciseControl::timerEvent(QTimerEvent* event) {
  if (event->timerId() == sliderTimerId) {
    GlideSlider();
  } else if (event->timerId() == autoNextTimerId && autoNextTimerId != 0) {
    // While paused or stopped the timer keeps firing, so the question follows once play resumes.
    if (exercise && exercise->GetPlaybackState() == Core::PS_PLAYING) {
      KillAutoNextTimer();
      emit NextQuestion();
    }
  } else {
    QWidget::timerEvent(event);
  }
}

void ConsoleExerciseControl::BeginSeekSlider() {
  // Whichever view the slider is pressed in, a quiz moves on by its questions only.
  if (!exercise || quizMode) return;
  KillAutoNextTimer();
  exercise->BeginSeek();
}

void ConsoleExerciseControl::BeforeSeek() {
  BeginSeekSlider();
}

void ConsoleExerciseControl::EndSeek() {
  if (!exercise || quizMode) return;
  exercise->EndSeek();
  UpdateSlider(true);
}

void ConsoleExerciseControl::EndSeekSlider() {
  if (!exercise) return;
  if (quizMode) {
    UpdateSlider(true);  // the handle back where the quiz stands
    return;
  }
  const int v = ui.TimeSlider->value();
  long long sum = 0;
  long long position = -1;
  for (const TimelineButtonInfo& info : timelineButtons) {
    if (v >= info.left && v < info.left + info.width) {
      position = sum + static_cast<long long>(double(info.duration) * (v - info.left) / info.width);
      break;
    }
    sum += info.duration;
  }
  // Past the last section button: the last tick of the exercise.
  if (position < 0) position = std::max<long long>(sum - 1, 0);
  exercise->SetPosition(static_cast<int>(position));
  ui.TimeSlider->setValue(v);
  sliderTarget = 0;
  exercise->EndSeek();
  ContinueAfterSeek();
  UpdateSlider(false);
}

void ConsoleExerciseControl::SwitchToSection(int s) {
  if (!exercise || quizMode) return;
  KillAutoNextTimer();
  exercise->BeginSeek();
  exercise->MoveToSection(s);
  exercise->EndSeek();
  UpdateSlider(true);
  ContinueAfterSeek();
}

void ConsoleExerciseControl::UpdateUIOnStateChange() {
  UpdateUI();
  if (!IsFinished()) return;
  SectionEndDialog* dialog = GetSectionEndDialog();
  if (dialog->isVisible()) return;
  prevState = Core::ES_FINISHED;
  dialog->setScore(statisticsSummaryRow.bar->leftValue(), statisticsSummaryRow.bar->value());
  emit ShowSectionEndDialogSignal();
}

void ConsoleExerciseControl::ShowSectionEndDialog() {
  statisticsSection = -1;
  SectionEndDialog* dialog = GetSectionEndDialog();
  // The score frame shows dimmed through the dialog: the dialog's title keeps clear of it and of
  // its shadow.
  const QWidget* frame = ui.ProgressFrameInternal;
  dialog->keepContentsBelow(frame->mapTo(this, QPoint(0, frame->height())).y() +
                            SectionEndFrameClearance);
  dialog->showAnimated();
  actionHintDialog->HideHint();
}

SectionEndDialog* ConsoleExerciseControl::GetSectionEndDialog() {
  if (!sectionEndDialog) {
    // A child of this screen, laid over it in its own coordinates: the screen's place in the
    // window (below the toolbar) would push it down and leave the score panel uncovered.
    sectionEndDialog = new SectionEndDialog(this, rect(), 0.0, 0.96, false);
    connect(sectionEndDialog, &SectionEndDialog::Continue, this, &ConsoleExerciseControl::Exit);
    connect(sectionEndDialog, &SectionEndDialog::Repeat, this,
            &ConsoleExerciseControl::restartExercise);
    connect(sectionEndDialog, &SectionEndDialog::ReviewStats, this,
            &ConsoleExerciseControl::ReviewStats);
  }
  return sectionEndDialog;
}

void ConsoleExerciseControl::Exit() {
  emit ExitSignal();
}

void ConsoleExerciseControl::restartExercise() {
  StartExercise(static_cast<size_t>(exerciseId), quizMode, false);
  if (!ClearLessonStatistics()) ReportStatisticsUnsaved();
  Play();
}

void ConsoleExerciseControl::ReviewStats() {
  ShowStatistics(Speed(1));
}

void ConsoleExerciseControl::enableAnswerControls(bool on) {
  ui.Gkc->Enable(on);
  for (QToolButton* button : AnswerButtons(ui)) button->setEnabled(on);
}

void ConsoleExerciseControl::UpdateProgress() {
  if (currentView == 0) showScoreboard();
}

void ConsoleExerciseControl::repaintProgress() {
  ui.ProgressFrameWidget->repaint();
}

}  // namespace UI
