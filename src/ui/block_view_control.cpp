#include "src/ui/block_view_control.h"

#include <QLinearGradient>
#include <QPainter>
#include <QTimerEvent>

#include <algorithm>
#include <vector>

#include "src/common/assertion.h"
#include "src/core/catalog/exercise_catalog.h"
#include "src/core/exercise/ex_store/exercise_statistics.h"
#include "src/core/settings/settings_manager.h"
#include "src/ui/application.h"
#include "src/ui/difficulty_level_dialog.h"
#include "src/ui/screen_geometry.h"
#include "src/ui/window_stack_manager.h"

namespace UI {

namespace {
// Screens taller than this use the big background and its button table.
constexpr int SmallScreenHeight = 900;
// Used in place of a missing picture's size: the width over which the button table is centred
// and a height at which that width fits a 1440 x 839 screen.
constexpr QSize DesignSize(2292, 1336);
}  // namespace

BlockViewControl::BlockViewControl(QWidget* parent)
    : QWidget(parent),
      m_background(PrimaryScreenGeometry().height() <= SmallScreenHeight
                       ? QStringLiteral(":/PIX/pixmap/main_bg.png")
                       : QStringLiteral(":/PIX/pixmap/main_bg_big.png")) {
  m_ui.setupUi(this);
}

Progress* BlockViewControl::progressBar(int trainer) const {
  Progress* bars[] = {m_ui.Progress1, m_ui.Progress2, m_ui.Progress3};
  MELVARIN_ASSERT(trainer >= 0 && trainer < 3);
  return bars[trainer];
}

double BlockViewControl::calculateScale() const {
  const QSize picture = m_background.isNull() ? DesignSize : m_background.size();
  return std::min(width(), height()) / double(picture.height());
}

void BlockViewControl::paintEvent(QPaintEvent* event) {
  QWidget::paintEvent(event);
  QPainter painter(this);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setRenderHint(QPainter::SmoothPixmapTransform);
  const double s = calculateScale();
  const int pictureWidth = int(m_background.size().width() * s);
  const int ox = (width() - pictureWidth) / 2;
  if (!m_background.isNull())
    painter.drawPixmap(QRect(ox, 0, pictureWidth, int(m_background.size().height() * s)),
                       m_background.pixmap());
  QLinearGradient shadow(0, 0, 0, 12);
  shadow.setColorAt(0.0, QColor(0, 0, 0, 200));
  shadow.setColorAt(0.1, QColor(0, 0, 0, 180));
  shadow.setColorAt(0.7, QColor(0, 0, 0, 20));
  shadow.setColorAt(1.0, QColor(0, 0, 0, 0));
  painter.fillRect(QRect(0, 0, width(), 12), shadow);
}

void BlockViewControl::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  updateLayout();
  update();
}

void BlockViewControl::timerEvent(QTimerEvent* event) {
  killTimer(event->timerId());
}

void BlockViewControl::updateLayout() {
  const double s = calculateScale();
  const QSize picture = m_background.isNull() ? DesignSize : m_background.size();
  const int ox = (width() - int(picture.width() * s)) / 2;
  const bool big = PrimaryScreenGeometry().height() > SmallScreenHeight;
  const double x0 = (big ? 585 : 586) * s + ox;
  const double dy = (big ? 516 : 245) * s;
  const QSize button(int(142 * s), int(54 * s));
  const int buttonY = int(364.2 * s + dy);
  const QSize bar(int(280 * s), int(29 * s));
  const int barY = int(451 * s + dy);
  const double pitch = 50 * s + 340.4 * s;

  struct Block {
    QPushButton* learn;
    QPushButton* quiz;
    Progress* progress;
  };
  const Block blocks[] = {{m_ui.Learn3, m_ui.Quiz3, m_ui.Progress3},
                          {m_ui.Learn1, m_ui.Quiz1, m_ui.Progress1},
                          {m_ui.Learn2, m_ui.Quiz2, m_ui.Progress2}};
  for (int k = 0; k < 3; ++k) {
    const double bx = x0 + k * pitch;
    blocks[k].learn->setFixedSize(button);
    blocks[k].quiz->setFixedSize(button);
    blocks[k].learn->move(int(bx + 28 * s), buttonY);
    // The Quiz button overlaps the Learn button by one scaled pixel.
    blocks[k].quiz->move(int(bx + 28 * s + 142 * s - s), buttonY);
    blocks[k].progress->move(int(bx + 30 * s), barY);
    blocks[k].progress->setFixedSize(bar);
  }
  Application::instance()->windowStackManager()->SetScoreboardSizeHint(int(150 * s), int(535 * s));
}

void BlockViewControl::setVisible(bool visible) {
  if (visible) updateStatistics();
  QWidget::setVisible(visible);
}

void BlockViewControl::updateStatistics() {
  if (!m_statisticsDirty) return;
  auto catalog = Application::instance()->GetExerciseCatalog();
  MELVARIN_ASSERT(catalog && catalog->GetExerciseStatistics());
  for (int trainer = 0; trainer < 3; ++trainer) {
    std::vector<Core::ExStat> records;
    catalog->GetExerciseStatistics()->GetLocalSummary(trainer, records);
    int correct = 0;
    int wrong = 0;
    for (const Core::ExStat& record : records) {
      correct = Core::AddCounts(correct, record.Correct);
      wrong = Core::AddCounts(wrong, record.Wrong);
    }
    progressBar(trainer)->setValues(wrong, correct);
  }
  m_statisticsDirty = false;
}

bool BlockViewControl::isShowingDifficutlyDlg() const {
  return Application::instance()->GetSettings()->globalSettings.showDifficultyDialog;
}

void BlockViewControl::learn(int trainer) {
  itemClicked(trainer, false);
}

void BlockViewControl::quiz(int trainer) {
  itemClicked(trainer, true);
}

void BlockViewControl::itemClicked(int index, bool quiz) {
  Application::instance()->SetQuizMode(quiz);
  if (!quiz && !isShowingDifficutlyDlg()) {
    emit OpenExercise(size_t(index), false);
    return;
  }
  m_chosenTrainer = index;
  m_chosenQuiz = quiz;
  if (quiz)
    GetDifficultyLevelDialog()->showQuizMode(Core::ExerciseType(index));
  else
    GetDifficultyLevelDialog()->showExerciseMode(Core::ExerciseType(index));
}

DifficultyLevelDialog* BlockViewControl::GetDifficultyLevelDialog() {
  if (!m_difficultyDialog) {
    const QRect screen = PrimaryScreenGeometry();
    m_difficultyDialog = new DifficultyLevelDialog(this, QRect(QPoint(0, 0), screen.size()));
    connect(m_difficultyDialog, &BaseDialog::fading, this, &BlockViewControl::difficultyDlgClosing);
    connect(m_difficultyDialog, &DifficultyLevelDialog::Play, this,
            &BlockViewControl::beginExerciseOrQuiz);
  }
  return m_difficultyDialog;
}

void BlockViewControl::beginExerciseOrQuiz() {
  emit OpenExercise(size_t(m_chosenTrainer), m_chosenQuiz);
}

}  // namespace UI
