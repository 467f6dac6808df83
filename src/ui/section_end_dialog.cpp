#include "src/ui/section_end_dialog.h"

#include <QKeyEvent>
#include <QKeySequence>
#include <QTimer>
#include <QTimerEvent>

#include <algorithm>

#include "src/ui/application.h"
#include "src/ui/window_stack_manager.h"

namespace UI {

namespace {

const QString HomeScreen = QStringLiteral("ex_block_view_control");
const QString ExerciseScreen = QStringLiteral("console_exercise_control");

}  // namespace

SectionEndDialog::SectionEndDialog(QWidget* parent, QRect rect, double startOpacity,
                                   double endOpacity, bool translucent)
    : BaseDialog(parent, rect, startOpacity, endOpacity, translucent) {
  m_ui.setupUi(this);
  setAttribute(Qt::WA_ShowWithoutActivating);
  m_scoreTemplate = m_ui.CountDown->text();
  if (Application* app = Application::instance(); app && app->windowStackManager()) {
    connect(app->windowStackManager(), &WindowStackManager::screenChange, this,
            &SectionEndDialog::screenChangeSlot);
  }
  m_ui.label->setText(tr("Total score."));
  m_ui.Repeat->setText(tr("Repeat"));
  m_ui.progress->setVisible(true);
  connect(this, &BaseDialog::fading, this, [this] { m_leaving = true; });
  connect(this, &BaseDialog::DialogClosed, this, [this] { m_leaving = false; });
}

void SectionEndDialog::keepContentsBelow(int top) {
  m_contentsTop = top;
  placeContents();
}

void SectionEndDialog::placeContents() {
  QSpacerItem* above = m_ui.verticalSpacer;
  const int width = above->sizeHint().width();
  above->changeSize(width, 0, QSizePolicy::Minimum, QSizePolicy::Expanding);
  layout()->invalidate();
  const int room = std::max(0, height() - layout()->minimumSize().height());
  // Its least height, and it still takes its share of any height left over.
  above->changeSize(width, std::clamp(m_contentsTop, 0, room), QSizePolicy::Minimum,
                    QSizePolicy::MinimumExpanding);
  layout()->invalidate();
}

void SectionEndDialog::resizeEvent(QResizeEvent* event) {
  BaseDialog::resizeEvent(event);
  placeContents();
}

void SectionEndDialog::setScore(int wrong, int correct) {
  m_wrong = wrong;
  m_correct = correct;
  m_ui.progress->setValues(0, 0);
  m_ui.progress->setMaxValue(std::max(wrong, correct) * 1000);
  m_ui.progress->setStepsPerValue(1000);
}

void SectionEndDialog::clearScore() {
  m_ui.progress->setValues(0, 0);
  m_ui.CountDown->setText(m_scoreTemplate.arg(0));
  setLook("white", "RegularNumberStyle");
}

void SectionEndDialog::setLook(const char* panel, const char* number) {
  m_ui.widget->setStyleSheet(m_ui.widget->property(panel).toString());
  m_ui.CountDown->setStyleSheet(property(number).toString());
}

void SectionEndDialog::showAnimated() {
  m_shown = true;
  clearScore();
  if (m_timerId != -1) killTimer(m_timerId);
  m_timerId = startTimer(CountUpMs);
  BaseDialog::show();
}

void SectionEndDialog::show() {
  m_shown = true;
  BaseDialog::show();
}

void SectionEndDialog::hide() {
  m_shown = false;
  BaseDialog::hide();
}

void SectionEndDialog::on_Repeat_released() {
  fadeOut();
  emit Repeat();
}

void SectionEndDialog::on_Continue_released() {
  emit Continue();
  clearScore();
  QTimer::singleShot(ContinueFadeDelayMs, this, &SectionEndDialog::postponedFadeSlot);
}

void SectionEndDialog::postponedFadeSlot() {
  // Escape has faded the dialog out already: a second fade-out would close it twice.
  if (isVisible() && !m_leaving) fadeOut();
}

void SectionEndDialog::on_ReviewStats_released() {
  fadeOut();
  emit ReviewStats();
  // The step stays: the next showing resumes the count-up from it.
  if (m_timerId != -1) killTimer(m_timerId);
  m_timerId = -1;
}

void SectionEndDialog::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape || event->matches(QKeySequence::Close)) on_Continue_released();
  BaseDialog::keyPressEvent(event);
}

int SectionEndDialog::percentage() const {
  const int total = m_wrong + m_correct;
  return total == 0 ? 0 : int(double(m_correct) * 100 / double(total));
}

void SectionEndDialog::timerEvent(QTimerEvent* event) {
  if (event->timerId() == m_timerId && m_timerId != -1) countUpTick();
}

void SectionEndDialog::countUpTick() {
  const int p = percentage();
  if (m_step < 100) {
    m_ui.CountDown->setText(m_scoreTemplate.arg(m_step * p / 100));
    m_ui.progress->setValues(m_wrong * m_step * 10, m_correct * m_step * 10);
    m_step += CountUpStep;
    return;
  }
  if (m_timerId != -1) killTimer(m_timerId);
  m_timerId = -1;
  m_step = 0;
  m_ui.progress->setValues(m_wrong * 1000, m_correct * 1000);
  m_ui.CountDown->setText(m_scoreTemplate.arg(p));
  if (m_wrong + m_correct == 0) {
    setLook("white", "RegularNumberStyle");
  } else if (p > 89) {
    setLook("green", "CorrectNumberStyle");
  } else {
    setLook("red", "WrongNumberStyle");
  }
  emit SectionEndTimeout();
}

void SectionEndDialog::screenChangeSlot(QString current, QString previous) {
  if (!m_shown) return;
  if (isVisible()) {
    const bool leavingExercise = previous == ExerciseScreen;
    if (leavingExercise && (current == HomeScreen || current.contains("settings"))) fadeOut();
  } else if (current == ExerciseScreen && previous.contains("settings")) {
    fadeIn();
  }
}

}  // namespace UI
