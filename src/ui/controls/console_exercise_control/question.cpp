// Showing each question (score, picture, text or speaker), choosing how it is answered (keys or
// the six buttons), and keeping the answer controls in step with the exercise's states.

#include <cstdlib>

#include "src/core/exercise/exercise.h"
#include "src/core/settings/global_settings.h"
#include "src/core/settings/settings_manager.h"
#include "src/ui/application.h"
#include "src/ui/controls/console_exercise_control/console_exercise_control.h"
#include "src/ui/controls/console_exercise_control/exercise_score.h"
#include "src/ui/controls/console_exercise_control/form_buttons.h"
#include "src/ui/fader_widget.h"
#include "src/ui/picture_widget.h"
#include "src/ui/score_board/score_board.h"
#include "src/ui/speaker_widget.h"

namespace UI {

namespace {

// The ear trainer's scales are answered after they have been heard whole.
constexpr long EarTrainer = 1;
constexpr unsigned long ScalesSection = 3;

}  // namespace

void ConsoleExerciseControl::ShowQuestion() {
  if (!exercise) return;
  UpdateSlider(false);
  const Core::Question question = exercise->GetCurrentQuestion();
  if (question.VariantData.size() <= question.CorrectVariant) return;
  const Core::QuestionData& correct = question.VariantData[question.CorrectVariant];

  ClearPianoKeys();
  for (int n = 1; n <= 6; ++n) SetMultichoiceDefaultStyle(n);

  pendingAnswerScore.reset();  // the last verdict's score, if it has not come yet, is not shown
  scoreSet = correct.Rmn.empty() ? nullptr : RenderExerciseScore(correct.Rmn, -1);
  scoreBoard->Reset(scoreSet);
  const bool scored = scoreSet != nullptr;

  // Later fades win: a text question shows its text even with a score, a heard question always
  // ends on the speaker, a picture shows only when there is no score.
  if (!IsHeardOnly(question.Type) && scored) faderWidget->fadeToWidgetWOSnapshot(scoreBoard);
  if (!correct.Picture.isEmpty()) {
    pictureWidget->setPicture(correct.Picture);
    if (question.Type == Core::QT_SYMBOL && !scored)
      faderWidget->fadeToWidgetWOSnapshot(pictureWidget);
  } else if (question.Type == Core::QT_CHORD_NAME) {
    pictureWidget->setText(correct.Text.section(QLatin1Char('\n'), 0, 0));
    faderWidget->fadeToWidgetWOSnapshot(pictureWidget);
  }
  if (IsHeardOnly(question.Type)) {
    speakerWidget->start();
    faderWidget->fadeToWidgetWOSnapshot(speakerWidget);
    faderWidget->refreshSnapshotEachFrame = true;
  } else {
    speakerWidget->stop();
  }

  answerMode = ChooseAnswerMode(exercise->GetSupportedAnswerMethods(question));
  if (currentView == 0) updateButtons();
  if (question.Accepts(Core::AM_VARIANT)) {
    const QList<QToolButton*> buttons = AnswerButtons(ui);
    for (int i = 0; i < buttons.size() && i < int(question.VariantData.size()); ++i)
      buttons[i]->setText(question.VariantData[i].Text);
  }
}

void ConsoleExerciseControl::ClearPianoKeys() {
  ui.Gkc->cleanAllKeys();
  ui.Gkc->switchMode(Keyboard::Input);
  // The keys of the last verdict are drawn again here: nothing else may repaint the piano before
  // the next answer, and a key left blue would read as a hint for the new question.
  ui.Gkc->updateKeysState();
}

int ConsoleExerciseControl::ChooseAnswerMode(unsigned int methods) const {
  if (const std::optional<int> mode = ForeseenAnswerMode(methods)) return *mode;
  return std::rand() % 2 == 0 ? 1 : 0;
}

std::optional<int> ConsoleExerciseControl::ForeseenAnswerMode(unsigned int methods) const {
  if (methods == 1) return 1;
  if (methods != 2) return 0;
  const Core::GlobalSettings& global = Application::instance()->GetSettings()->globalSettings;
  if (global.answerGkc && global.answerMultipleChoice) return std::nullopt;  // drawn per question
  return global.answerMultipleChoice ? 1 : 0;
}

void ConsoleExerciseControl::ShowAnswerControlsOfNextQuestion() {
  if (!exercise || currentView != ExerciseView) return;
  // The question is not drawn yet; what a trainer's questions accept does not hang on which one
  // it will be, but for the note trainer's chord names, which its other questions outnumber.
  const std::optional<int> mode =
      ForeseenAnswerMode(exercise->GetSupportedAnswerMethods(Core::Question()));
  if (!mode) return;
  answerMode = *mode;
  updateButtons();
}

void ConsoleExerciseControl::updateButtons() {
  const bool buttons = answerMode == 1;
  ui.Gkc->setVisible(!buttons);
  ui.GkcDemperLayoutWidget->setVisible(!buttons);
  ui.MultipleChoiceWidget->setVisible(buttons);
}

void ConsoleExerciseControl::UpdateUI() {
  if (!exercise) {
    ui.TimeSlider->setEnabled(!quizMode);
    faderWidget->switchToWidget(nullptr);
    ui.MultipleChoiceWidget->hide();
    return;
  }
  EnableTimeSlider();

  const Core::PlaybackState playback = exercise->GetPlaybackState();
  const Core::ExerciseState state = exercise->GetState();
  const bool scaleHeard = playback == Core::PS_PLAYING && state == Core::ES_PLAYING &&
                          exerciseId == EarTrainer &&
                          exercise->GetCurrentSection() == ScalesSection;
  ui.Gkc->fadeWhenDisabled = scaleHeard;
  enableAnswerControls(!scaleHeard);

  if (currentView == 0) showScoreboard();

  // The keys answer from the moment the question shows, while it sounds too (but for a scale,
  // which is heard whole first).
  ui.Gkc->Enable(TakesAnswers() && playback != Core::PS_PAUSED && !scaleHeard);
  if (state == Core::ES_AWAITING_ANSWER && playback != Core::PS_PAUSED) {
    const unsigned int type = exercise->GetCurrentQuestion().Type;
    if (type == Core::QT_NONE) {
      faderWidget->fadeToWidgetWOSnapshot(nullptr);
    } else if (IsHeardOnly(type)) {
      speakerWidget->stop();
      // Answered on the keys, a scale is played whole, one note after the other: nothing else
      // on the screen tells the learner so, as the buttons' names do.
      const bool scaleOnKeys = exerciseId == EarTrainer &&
                               exercise->GetCurrentSection() == ScalesSection && answerMode != 1;
      questionPicture->setCaption(scaleOnKeys ? tr("Play the scale you heard, note by note")
                                              : QString());
      faderWidget->fadeToWidget(questionPicture);
    }
  }

  if (playback == Core::PS_STOPPED) {
    faderWidget->switchToWidget(nullptr);
    ui.MultipleChoiceWidget->hide();
    UpdateSlider(false);
  }
  if (currentView == 0) updateButtons();
}

}  // namespace UI
