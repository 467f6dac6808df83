// Answers from the on-screen piano and the six buttons, the keys lit from the MIDI keyboard, and
// the verdict: button and frame colours, the answer score and its keys, the frame's animation,
// the time-out notice, the sounds of the music-symbols trainer and what follows the verdict.

#include <algorithm>

#include <QCoreApplication>
#include <QEasingCurve>
#include <QEvent>
#include <QTimer>

#include "src/core/exercise/exercise.h"
#include "src/core/settings/exercise_settings.h"
#include "src/core/settings/settings_manager.h"
#include "src/ui/action_hint_dialog.h"
#include "src/ui/application.h"
#include "src/ui/controls/console_exercise_control/answer_keys.h"
#include "src/ui/controls/console_exercise_control/console_exercise_control.h"
#include "src/ui/controls/console_exercise_control/exercise_score.h"
#include "src/ui/controls/console_exercise_control/form_buttons.h"
#include "src/ui/controls/console_exercise_control/wrong_right_answer_animation.h"
#include "src/ui/fader_widget.h"
#include "src/ui/score_board/score_board.h"
#include "src/ui/speaker_widget.h"

namespace UI {

namespace {

constexpr int RightAnswerNextMs = 500;
constexpr int TimeoutNoticeMs = 3000;
constexpr int FrameAnimationMs = 800;
constexpr long SymbolTrainer = 2;
constexpr int LowestMidiKey = 21;    // A0, piano key 0
constexpr int HighestMidiKey = 108;  // C8, piano key 87

// The frame's looks, style sheets held by the statistics widget of the form; the verdict looks
// differ from the regular one by their border, which the verdict edge paints.
constexpr char RegularLook[] = "RegularBorderStyle";
constexpr char CorrectLook[] = "CorrectAnswerBorderStyle";
constexpr char WrongLook[] = "WrongAnswerBorderStyle";

bool IsPlayedQuestion(unsigned int type) {
  return type == Core::QT_EAR || type == Core::QT_TEMPO || type == Core::QT_NOTE ||
         type == Core::QT_CHORD_NAME;
}

// Asks the screen for the answer score once the verdict is painted.
const QEvent::Type AnswerScoreEvent = static_cast<QEvent::Type>(QEvent::registerEventType());

Core::MidiEvent ScreenKeyEvent(Core::MidiCommand command, int key) {
  return Core::MidiEvent(
      Core::MidiMessage(command, 0, static_cast<unsigned char>(key + LowestMidiKey), 100), 0, -1.0);
}

}  // namespace

void ConsoleExerciseControl::VariantClicked() {
  QObject* button = sender();
  if (!exercise || !button || !TakesAnswers()) return;
  const int id = button->property("Id").toInt();  // the variant number plus one
  if (id < 1 || id > 6) return;
  Core::Answer answer;
  answer.Kind = Core::AK_VARIANT;
  answer.ChosenVariant = static_cast<unsigned long>(id - 1);
  exercise->ProvideAnswer(answer);
}

void ConsoleExerciseControl::IntervalClicked(int interval) {
  if (!exercise || !TakesAnswers()) return;
  Core::Answer answer;
  answer.Kind = Core::AK_INTERVAL;
  answer.IntervalNumber = interval;
  exercise->ProvideAnswer(answer);
}

bool ConsoleExerciseControl::TakesAnswers() const {
  const Core::ExerciseState state = exercise->GetState();
  return state == Core::ES_AWAITING_ANSWER || state == Core::ES_PLAYING;
}

void ConsoleExerciseControl::GKCNotePressed(int key) {
  // A question is answered from the moment it shows, also while it still sounds.
  if (!exercise || !TakesAnswers()) return;
  exercise->ExternalMidiEvent(ScreenKeyEvent(Core::MidiNoteOn, key));
}

void ConsoleExerciseControl::GKCNoteReleased(int key) {
  // Always passed on, so that no note keeps sounding.
  if (exercise) exercise->ExternalMidiEvent(ScreenKeyEvent(Core::MidiNoteOff, key));
}

void ConsoleExerciseControl::HighlightNote(bool on, int note) {
  // A keyboard reaches further than the piano on the screen: its extra keys light nothing.
  if (note < LowestMidiKey || note > HighestMidiKey) return;
  if (!on || !exercise || !TakesAnswers()) return;
  ui.Gkc->highlightKeys({note - LowestMidiKey}, {});
}

void ConsoleExerciseControl::UpdateAnswerUI(bool right, Core::Answer answer) {
  if (currentView != 0) return;
  if (exercise) ShowAnswer(right, answer);
  SetFrameColor(right ? CorrectBorder : WrongBorder);
  if (right) {
    StartAutoNextTimer(RightAnswerNextMs);
    doRightAnswerAnimation();
  } else {
    const Core::GlobalSectionSettings policy =
        Application::instance()->GetSettings()->GetExcersiseSettings().noteTrainer.onWrongAnswer;
    doWrongAnswerAnimation(answer.Kind == Core::AK_NONE);
    if (policy.autoContinue) {
      StartAutoNextTimer(policy.delay);
    } else if (exercise) {
      exercise->Pause(true);
      actionHintDialog->SetPauseAfterErrorMode(true);
      ShowSpacebarHint();
    }
  }
  if (exerciseId == SymbolTrainer) (right ? rightSound : wrongSound).play();
  // The frame's edge has asked for the window's paint, which Qt posts as an event of low
  // priority: one of the same priority posted now is handled after that paint.
  if (pendingAnswerScore)
    QCoreApplication::postEvent(this, new QEvent(AnswerScoreEvent), Qt::LowEventPriority);
}

void ConsoleExerciseControl::ShowAnswer(bool right, const Core::Answer& answer) {
  const Core::Question question = exercise->GetCurrentQuestion();
  if (question.VariantData.size() <= question.CorrectVariant) return;
  const Core::QuestionData& correct = question.VariantData[question.CorrectVariant];

  SetMultichoiceCorrectStyle(static_cast<int>(question.CorrectVariant) + 1);
  if (answer.Kind == Core::AK_VARIANT && !right)
    SetMultichoiceIncorrectStyle(static_cast<int>(answer.ChosenVariant) + 1);

  if (!correct.Rmn.empty() && IsPlayedQuestion(question.Type)) {
    std::string rmn;
    std::vector<Core::NoteWAnalysis> notes;
    int highlight = -1;
    exercise->GetRazidAnswer(exercise->GetCurrentSection(), question, answer, rmn, notes,
                             highlight);
    if (!rmn.empty()) {
      if (IsHeardOnly(question.Type)) {
        // The score fades in at once below: it must hold the answer before its picture is taken.
        scoreSet = RenderExerciseScore(rmn, highlight);
        scoreBoard->Reset(scoreSet);
      } else {
        // Building the answer score takes longer than all the rest of the verdict: it follows
        // once the verdict's colours are painted (UpdateAnswerUI).
        pendingAnswerScore = PendingAnswerScore{std::move(rmn), highlight, runNumber};
      }
    }
    ui.Gkc->switchMode(Keyboard::Display);
    ui.Gkc->changeKeysState(AnswerKeyStates(notes));
  }
  if (IsHeardOnly(question.Type)) {
    speakerWidget->stop();
    // The heard question is revealed as a score.
    if (!correct.Rmn.empty()) faderWidget->fadeToWidgetWOSnapshot(scoreBoard);
  }
}

void ConsoleExerciseControl::ShowPendingAnswerScore() {
  if (!pendingAnswerScore) return;
  const PendingAnswerScore pending = std::move(*pendingAnswerScore);
  pendingAnswerScore.reset();
  // The learner may have left the exercise view, or the exercise, before it came.
  if (currentView != 0 || !IsCurrentRun(pending.run)) return;
  scoreSet = RenderExerciseScore(pending.rmn, pending.highlight);
  scoreBoard->Reset(scoreSet);
}

void ConsoleExerciseControl::customEvent(QEvent* event) {
  if (event->type() == AnswerScoreEvent)
    ShowPendingAnswerScore();
  else
    QWidget::customEvent(event);
}

void ConsoleExerciseControl::SetMultichoiceStyle(int n, const char* name) {
  const QList<QToolButton*> buttons = AnswerButtons(ui);
  if (n < 1 || n > buttons.size()) return;
  // A sheet set again would polish its button again for nothing.
  const QString sheet = property(name).toString();
  if (buttons[n - 1]->styleSheet() != sheet) buttons[n - 1]->setStyleSheet(sheet);
}

void ConsoleExerciseControl::SetMultichoiceDefaultStyle(int n) {
  SetMultichoiceStyle(n, "MultichoiceDefaultStyle");
}

void ConsoleExerciseControl::SetMultichoiceCorrectStyle(int n) {
  SetMultichoiceStyle(n, "MultichoiceCorrectStyle");
}

void ConsoleExerciseControl::SetMultichoiceIncorrectStyle(int n) {
  SetMultichoiceStyle(n, "MultichoiceIncorrectStyle");
}

void ConsoleExerciseControl::PrepareVerdictEdge() {
  verdictEdge = new VerdictEdge(ui.ProgressFrameInternal);
  correctEdge = EdgeLook::FromStyleSheet(ui.StatisticsWidget->property(CorrectLook).toString());
  wrongEdge = EdgeLook::FromStyleSheet(ui.StatisticsWidget->property(WrongLook).toString());
}

void ConsoleExerciseControl::ShowRegularFrame() {
  // The frame's own sheet is the regular look's in every verdict: set again only when another
  // view gave it a sheet of its own, since a new sheet polishes every widget inside the frame.
  const QString regular = ui.StatisticsWidget->property(RegularLook).toString();
  if (ui.ProgressFrameInternal->styleSheet() != regular)
    ui.ProgressFrameInternal->setStyleSheet(regular);
}

void ConsoleExerciseControl::SetFrameColor(ScoreboardBorderStyle style) {
  ShowRegularFrame();
  verdictEdge->ShowLook(style == RegularBorder   ? EdgeLook()
                        : style == CorrectBorder ? correctEdge
                                                 : wrongEdge);
  scoreboardBorderStyle = style;
}

void ConsoleExerciseControl::clearScoreboardFrameColor() {
  ShowRegularFrame();
  verdictEdge->ShowLook(EdgeLook());
}

WrongRightAnswerAnimation* ConsoleExerciseControl::MakeFrameAnimation(
    const QEasingCurve& curve, const std::vector<std::pair<double, QPoint>>& offsets) {
  auto* animation =
      new WrongRightAnswerAnimation(ui.ProgressFrameInternal, "geometry", ui.ProgressFrameWidget);
  animation->setParent(this);
  animation->setDuration(FrameAnimationMs);
  animation->setEasingCurve(curve);
  // Around the frame's place in the exercise view, not where it is now: made while the other
  // animation moves the frame, it would take that passing place for the frame's own and leave
  // the frame off its place after every run.
  const QRect frame =
      frameRestGeometry.isValid() ? frameRestGeometry : ui.ProgressFrameInternal->geometry();
  for (const auto& [step, offset] : offsets)
    animation->setKeyValueAt(step, frame.translated(offset));
  return animation;
}

void ConsoleExerciseControl::RunFrameAnimation(QPropertyAnimation* animation) {
  // One animation moves the frame at a time; the other would pull it its own way.
  for (QPropertyAnimation* other : {rightAnswerAnimation, wrongAnswerAnimation})
    if (other && other != animation) other->stop();
  animation->start();
}

void ConsoleExerciseControl::ReleaseFrameFromLayout() {
  // Without the frame its area would shrink to nothing and clip the frame it still holds.
  ui.ProgressFrameWidget->setMinimumHeight(ui.ProgressFrameWidget->height());
  ui.ProgressFrameLayout->removeWidget(ui.ProgressFrameInternal);
}

void ConsoleExerciseControl::doRightAnswerAnimation() {
  if (currentView != 0) return;
  ReleaseFrameFromLayout();
  if (!rightAnswerAnimation)
    rightAnswerAnimation =
        MakeFrameAnimation(QEasingCurve::OutBounce, {{0.0, {0, 0}}, {0.5, {0, -5}}, {1.0, {0, 0}}});
  RunFrameAnimation(rightAnswerAnimation);
}

void ConsoleExerciseControl::doWrongAnswerAnimation(bool isTimeout) {
  if (currentView != 0) return;
  if (isTimeout) {
    timeoutNoticeShown = true;
    ui.StatisticsHeaderLbl->setText(tr("Out of time."));
    ui.StatisticsHeaderLbl->setStyleSheet(
        ui.StatisticsHeaderLbl->property("TimeoutStyle").toString());
    // Restarted by each notice, so that the timer of an earlier one cannot cut it short.
    timeoutNoticeTimer->start(TimeoutNoticeMs);
  }
  ReleaseFrameFromLayout();
  if (!wrongAnswerAnimation)
    wrongAnswerAnimation = MakeFrameAnimation(QEasingCurve::InOutElastic, {{0.0, {0, 0}},
                                                                           {0.2, {15, 0}},
                                                                           {0.4, {-15, 0}},
                                                                           {0.6, {15, 0}},
                                                                           {0.8, {-15, 0}},
                                                                           {1.0, {0, 0}}});
  RunFrameAnimation(wrongAnswerAnimation);
}

}  // namespace UI
