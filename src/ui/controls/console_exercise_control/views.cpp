// The views beside the exercise: the running score in the frame, and which of the exercise,
// statistics and reference views is current. The views switch without their transitions, and
// the statistics and reference panels show their headers only.

#include <QHBoxLayout>
#include <QLabel>
#include <QSpacerItem>

#include "src/core/exercise/exercise.h"
#include "src/ui/application.h"
#include "src/ui/controls/console_exercise_control/console_exercise_control.h"
#include "src/ui/play_dialog.h"
#include "src/ui/progress.h"
#include "src/ui/window_stack_manager.h"

namespace UI {

namespace {
constexpr int ListRows = 18;
const char* const StripeStyle =
    ".QWidget\n{\nbackground-color:  rgb(236, 236, 236);\nborder-radius: 0px;\n} ";
}  // namespace

void ConsoleExerciseControl::createStatWidgets() {
  QVBoxLayout* list = ui.verticalLayout_8;
  for (int i = -1; i < ListRows; ++i) {
    auto* row = new QWidget(ui.scrollAreaWidgetContents_2);
    if (i == -1 || i % 2 == 0) row->setStyleSheet(StripeStyle);
    auto* layout = new QHBoxLayout(row);
    layout->setSpacing(0);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* label = new QLabel(row);
    label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    auto* bar = new Progress(row, Progress::Thin);
    bar->setFixedSize(342, 19);
    layout->addWidget(label);
    layout->addWidget(bar);
    layout->addItem(new QSpacerItem(202, 20, QSizePolicy::Expanding, QSizePolicy::Expanding));
    if (i >= 0) {
      row->setMinimumHeight(44);
    } else {
      bar->setContentsMargins(0, 0, 0, 0);
      list->addItem(new QSpacerItem(0, 6, QSizePolicy::Fixed, QSizePolicy::Minimum));
    }
    list->addWidget(row);
    if (i == -1)
      statisticsSummaryRow = {row, label, bar};
    else
      statisticsWidgetRows.push_back({row, label, bar});
  }
  statisticsBottomSpacer = new QSpacerItem(20, 10, QSizePolicy::Minimum, QSizePolicy::Fixed);
  list->addItem(statisticsBottomSpacer);
}

void ConsoleExerciseControl::showExerciseStatistics() {
  if (currentView != 0) return;
  ui.TimeSlider->setEnabled(true);
  ui.statisticsHistoryBtnSeperator->hide();
  ui.clearHistory->hide();  // the running score has no history to clear
  ui.referenceArea->hide();
  ui.statisticsScrollArea->show();
  timeoutNoticeShown = false;
  ui.StatisticsHeaderLbl->setText(tr("Your total score so far."));
  ui.StatisticsHeaderLbl->setStyleSheet(
      ui.StatisticsHeaderLbl->property("RegularStyle").toString());
  ui.StatisticsWidget->show();
  ui.StatisticsHeaderLbl->show();
  statisticsSummaryRow.widget->setVisible(true);
  statisticsSummaryRow.widget->setStyleSheet(QString());
  statisticsSummaryRow.bar->setVisible(true);
  const int boardWidth =
      Application::instance()->windowStackManager()->ScoreboardSizeHint().width();
  statisticsSummaryRow.bar->setFixedSize(std::max(0, boardWidth - 132), 19);
  statisticsSummaryRow.label->setVisible(true);
  statisticsSummaryRow.label->setText(QString());
  statisticsSummaryRow.label->setFixedWidth(66);
  statisticsSummaryRow.label->setContentsMargins(0, 0, 0, 0);
  for (const StatisticsWidgetRow& row : statisticsWidgetRows) row.widget->hide();
  ui.statisticsScrollArea->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  ui.statisticsScrollArea->setMinimumHeight(0);
  statisticsBottomSpacer->changeSize(10, 1000, QSizePolicy::Expanding, QSizePolicy::Minimum);
  ui.verticalLayout_8->invalidate();
}

void ConsoleExerciseControl::showScoreboard() {
  if (!exercise || currentView != 0) return;
  const Core::ExerciseProgress progress = exercise->GetProgress();
  statisticsSummaryRow.bar->setValues(progress.Answered - progress.RightAnswers,
                                      progress.RightAnswers);
}

void ConsoleExerciseControl::showExercise(Speed) {
  currentView = 0;
  showExerciseStatistics();
}

void ConsoleExerciseControl::ShowStatistics(Speed) {
  if (currentView == 0) hideAllDialogs();
  currentView = 1;
  ui.clearHistory->show();
  ui.referenceArea->hide();
  ui.StatisticsWidget->show();
}

void ConsoleExerciseControl::showReference(Speed) {
  if (currentView == 0) hideAllDialogs();
  currentView = 2;
  ui.StatisticsWidget->hide();
  ui.referenceArea->show();
}

void ConsoleExerciseControl::onStatisticsGkcHover(int) {}
void ConsoleExerciseControl::SwitchToStatSection(int) {}
void ConsoleExerciseControl::SwitchToReferenceSection(int) {}
void ConsoleExerciseControl::PrintSlot() {}
void ConsoleExerciseControl::screenChangeSlot(QString, QString) {}
void ConsoleExerciseControl::toggleStatistics() {}
void ConsoleExerciseControl::clearStatisticsHistory() {}
void ConsoleExerciseControl::setupStateMachine() {}
void ConsoleExerciseControl::convertReferenceText() {}

}  // namespace UI
