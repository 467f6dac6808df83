// The screen's event filter: the soft shadows around the score frame, pausing and resuming with
// the space bar and with a click, the "Press spacebar to pause" hint, keeping the keyboard focus
// on the screen, and pausing when the screen is hidden.

#include <QAbstractAnimation>
#include <QCursor>
#include <QKeyEvent>
#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>
#include <QRadialGradient>

#include <initializer_list>
#include <optional>
#include <utility>

#include "src/core/exercise/exercise.h"
#include "src/ui/action_hint_dialog.h"
#include "src/ui/controls/console_exercise_control/console_exercise_control.h"
#include "src/ui/controls/console_exercise_control/form_buttons.h"
#include "src/ui/controls/console_exercise_control/hint_placement.h"
#include "src/ui/fader_widget.h"
#include "src/ui/picture_widget.h"
#include "src/ui/play_dialog.h"
#include "src/ui/score_board/score_board.h"
#include "src/ui/screen_geometry.h"
#include "src/ui/speaker_widget.h"

namespace UI {

namespace {

constexpr int HintDuration = 3500;
constexpr int HintZone = 20;  // rows at the bottom of the question area that bring up the hint
constexpr int HintGap = 4;    // between the hint and what the question shows or the answer controls
constexpr int ShadowSize = 12;

using Stops = std::initializer_list<std::pair<double, int>>;  // position, alpha of black
const Stops FrameStops = {{0, 120}, {0.1, 90}, {0.7, 20}, {1, 0}};
const Stops TopStops = {{0, 200}, {0.1, 180}, {0.7, 20}, {1, 0}};
const Stops KeyboardStops = {{0, 160}, {0.1, 100}, {0.7, 20}, {1, 0}};

void SetStops(QGradient& gradient, const Stops& stops) {
  for (const auto& [position, alpha] : stops) gradient.setColorAt(position, QColor(0, 0, 0, alpha));
}

// Fills the rectangle from (x1, y1) to (x2, y2), both corners included, with a linear gradient.
void FillBand(QPainter& painter, int x1, int y1, int x2, int y2, QPointF from, QPointF to,
              const Stops& stops) {
  QLinearGradient gradient(from, to);
  SetStops(gradient, stops);
  painter.fillRect(QRect(QPoint(x1, y1), QPoint(x2, y2)), gradient);
}

void FillCorner(QPainter& painter, QRect square, QPointF centre) {
  QRadialGradient gradient(centre, 15);
  SetStops(gradient, FrameStops);
  painter.fillRect(square, gradient);
}

bool IsSectionButton(const Ui_console_exercise_control& ui, QObject* watched) {
  return watched == ui.TimelineButton1 || watched == ui.TimelineButton2 ||
         watched == ui.TimelineButton3 || watched == ui.TimelineButton4 ||
         watched == ui.TimelineButton5;
}

}  // namespace

bool ConsoleExerciseControl::eventFilter(QObject* watched, QEvent* event) {
  const QEvent::Type type = event->type();
  if (type == QEvent::Paint) {
    if (watched == ui.ProgressFrameWidget) PaintFrameShadow();
    if (watched == frameShadowStrip) PaintTopBand(frameShadowStrip);
    if (watched == ui.ProgressFrameInternal) {
      if (currentView != 1 && currentView != 2) PaintTopBand(ui.ProgressFrameInternal);
      if (viewAnimation && viewAnimation->state() == QAbstractAnimation::Running)
        ui.ProgressFrameWidget->update();
    }
  }
  if (type == QEvent::MouseButtonPress && watched == playDialog && currentView == 0) {
    const QPoint point =
        playDialog->mapTo(this, static_cast<QMouseEvent*>(event)->position().toPoint());
    if (SeekFromOverlayAt(point) || PlayFromSectionAt(point)) return true;
  }
  if (type == QEvent::MouseButtonPress && watched == actionHintDialog && currentView == 0)
    ToggleByClick();
  // Qt tells the area that the pointer enters it also when the bubble goes from under a pointer
  // that rests: only a pointer that has moved since the bubble went down, or has left the area
  // meanwhile, brings it back.
  if (type == QEvent::Hide && watched == actionHintDialog) hintTakenDownAt = QCursor::pos();
  if (type == QEvent::Leave && watched == faderWidget &&
      !QRect(faderWidget->mapToGlobal(QPoint()), faderWidget->size()).contains(QCursor::pos()))
    hintTakenDownAt.reset();
  if (type == QEvent::Enter && watched == faderWidget) {
    const QPoint pointer = QCursor::pos();
    const QPoint bottomLeft = faderWidget->mapToGlobal(QPoint(0, faderWidget->height()));
    if (pointer.y() >= bottomLeft.y() - HintZone && pointer.y() < bottomLeft.y() &&
        pointer != hintTakenDownAt)
      ShowSpacebarHint();
  }
  if (type == QEvent::FocusIn && IsSectionButton(ui, watched))
    setFocus(Qt::ActiveWindowFocusReason);
  // The screen takes the keys as it is shown; over a finished exercise they are the dialog's.
  if (watched == this && type == QEvent::FocusIn && currentView == 0) RaiseSectionEndDialog();
  // Only a running lesson is paused: the screen is also hidden for a moment while it fades in,
  // and a lesson not yet started must stay unstarted then.
  if (watched == this && type == QEvent::Hide && currentView == 0 && exercise &&
      exercise->GetPlaybackState() == Core::PS_PLAYING)
    exercise->Pause(true);
  if (watched == this && type == QEvent::ShortcutOverride &&
      static_cast<QKeyEvent*>(event)->key() == Qt::Key_Space && currentView == 0) {
    ToggleBySpace();
    event->accept();
  }
  if (type == QEvent::MouseButtonPress &&
      (watched == faderWidget || watched == ui.ProgressFrameWidget) && currentView == 0)
    ToggleByClick();
  if (type == QEvent::MouseButtonPress) actionHintDialog->HideHint();
  return QWidget::eventFilter(watched, event);
}

void ConsoleExerciseControl::ToggleByClick() {
  if (!exercise || IsFinished()) return;
  if (exercise->GetPlaybackState() == Core::PS_PLAYING) {
    exercise->Pause(true);
    ShowPlayOverlay(FadeAnimated);
  } else {
    PauseExercise(false, false);
  }
}

bool ConsoleExerciseControl::PlayFromSectionAt(QPoint point) {
  // The overlay shows the section buttons in its picture of the screen: a press on one plays
  // that section, as the button itself would, instead of going on where the exercise stands.
  if (!exercise) return false;
  // The buttons lie in the bar under the slider, at the same places (see ButtonSlider).
  QWidget* under = ui.ButtonBar->childAt(ui.TimeSlider->mapFrom(this, point));
  const int section = SectionButtons(ui).indexOf(qobject_cast<QToolButton*>(under));
  if (section < 0 || !under->isEnabled()) return false;
  // A press while the overlay fades is as lost as one anywhere else on it.
  if (!playDialog->animating()) {
    sectionChosenUnderOverlay = section;
    playDialog->clickAreaClicked();
  }
  return true;
}

bool ConsoleExerciseControl::SeekFromOverlayAt(QPoint point) {
  // The overlay shows the slider in its picture of the screen: a press on the grip takes it, as
  // on the grip itself, where the section button under the grip would restart its section.
  if (!exercise || quizMode || !ui.TimeSlider->isEnabled() || playDialog->animating()) return false;
  const QPoint at = ui.TimeSlider->mapFrom(this, point);
  if (!ui.TimeSlider->handleRect().contains(at)) return false;
  // The overlay steps aside at once for the real slider, and its Play follows the seek, which
  // the slider's release ends first.
  playDialog->hide();
  ui.rootWidget->show();
  connect(ui.TimeSlider, &QSlider::sliderReleased, this, &ConsoleExerciseControl::Play,
          Qt::SingleShotConnection);
  ui.TimeSlider->takeDrag(at);
  return true;
}

void ConsoleExerciseControl::ToggleBySpace() {
  // Over a finished exercise the section-end dialog stands: nothing is left to play.
  if (!exercise || IsFinished()) return;
  if (exercise->GetPlaybackState() == Core::PS_PLAYING)
    ToggleByClick();
  else
    GetPlayDialog()->clickAreaClicked();
}

void ConsoleExerciseControl::ShowSpacebarHint() {
  const std::optional<QPoint> corner = SpacebarHintCorner();
  if (!corner || IsFinished()) {
    actionHintDialog->HideHint();
    return;
  }
  actionHintDialog->ShowHint(*corner + QPoint(0, actionHintDialog->height()), HintDuration, 0);
}

void ConsoleExerciseControl::KeepHintClearOfQuestion() {
  if (!actionHintDialog->isVisible() || currentView != ExerciseView) return;
  // The answer score comes after the verdict's hint and may reach further down than the
  // question did: the bubble moves out of its way, or goes when no place is clear.
  const std::optional<QPoint> corner = SpacebarHintCorner();
  if (!corner) {
    actionHintDialog->HideHint();
    return;
  }
  actionHintDialog->MoveHint(*corner + QPoint(0, actionHintDialog->height()));
}

std::optional<QPoint> ConsoleExerciseControl::SpacebarHintCorner() const {
  const QSize size = actionHintDialog->size();
  const int screenWidth = PrimaryScreenGeometry().width();
  const int usualBottom = ui.Gkc->mapTo(this, QPoint(0, 0)).y() - 70;
  const QWidget* answers =
      ui.MultipleChoiceWidget->isVisible() ? static_cast<const QWidget*>(ui.Answer1) : ui.Gkc;
  const HintRoom room{size,
                      QPoint(screenWidth / 2 - size.width() / 2, usualBottom - size.height()),
                      ShownQuestionRect(),
                      answers->mapTo(this, QPoint()).y() - HintGap - 1,
                      width() - 1,
                      HintGap};
  // With no place clear of the question the learner reads it undisturbed, and the space bar
  // still pauses. After a wrong answer the question is over, and the lesson waits: the learner
  // must be told how it goes on, at the usual place.
  std::optional<QPoint> corner = PlaceHint(room);
  if (!corner && actionHintDialog->PauseAfterErrorMode()) corner = room.usual;
  return corner;
}

QRect ConsoleExerciseControl::ShownQuestionRect() const {
  QWidget* shown = faderWidget->currentWidget();
  QRect rect;
  if (shown == scoreBoard)
    rect = scoreBoard->shownRect();
  else if (shown == pictureWidget || shown == questionPicture)
    rect = static_cast<PictureWidget*>(shown)->shownRect();
  else if (shown == speakerWidget)
    rect = speakerWidget->label()->geometry();
  return rect.isEmpty() ? QRect() : rect.translated(shown->mapTo(this, QPoint()));
}

void ConsoleExerciseControl::PaintFrameShadow() {
  QWidget* area = ui.ProgressFrameWidget;
  QPainter painter(area);
  painter.setRenderHint(QPainter::Antialiasing);
  const QPoint origin = ui.ProgressFrameInternal->mapTo(area, QPoint(0, 0));
  const int x0 = origin.x(), y0 = origin.y();
  const int w = ui.ProgressFrameInternal->width(), h = ui.ProgressFrameInternal->height();
  const int s = ShadowSize;

  FillBand(painter, x0 - s, y0 + 3, x0 + 2, y0 + h - 4, {x0 + 3.0, 0}, {x0 - 12.0, 0}, FrameStops);
  FillBand(painter, x0 + w - 3, y0 + 3, x0 + w + 11, y0 + h - 4, {x0 + w - 3.0, 0},
           {x0 + w + 12.0, 0}, FrameStops);
  FillBand(painter, x0 + 3, y0 - s, x0 + w - 4, y0 + 2, {x0 + 3.0, y0 + 3.0}, {x0 + 3.0, y0 - 12.0},
           FrameStops);
  FillBand(painter, x0 + 3, y0 + h - 3, x0 + w - 4, y0 + h + 11, {x0 + 3.0, y0 + h - 3.0},
           {x0 + 3.0, y0 + h + 12.0}, FrameStops);
  FillCorner(painter, QRect(x0 - s, y0 - s, 15, 15), {x0 + 3.0, y0 + 3.0});
  FillCorner(painter, QRect(x0 + w - 3, y0 - s, 15, 15), {x0 + w - 3.0, y0 + 3.0});
  FillCorner(painter, QRect(x0 - s, y0 + h - 3, 15, 15), {x0 + 3.0, y0 + h - 3.0});
  FillCorner(painter, QRect(x0 + w - 3, y0 + h - 3, 15, 15), {x0 + w - 3.0, y0 + h - 3.0});

  const int width = area->width();
  FillBand(painter, 0, 0, width - 1, s - 1, {0, 0}, {0, 12.0}, TopStops);
  const int ky = area->mapFrom(this, ui.GkcLayoutWidget->mapTo(this, QPoint(0, 0))).y();
  FillBand(painter, 0, ky - s, width - 1, ky - 1, {0, double(ky)}, {0, ky - 12.0}, KeyboardStops);
}

void ConsoleExerciseControl::PaintTopBand(QWidget* widget) {
  QPainter painter(widget);
  FillBand(painter, 0, 0, widget->width() - 1, ShadowSize - 1, {0, 0}, {0, 12.0}, TopStops);
}

}  // namespace UI
