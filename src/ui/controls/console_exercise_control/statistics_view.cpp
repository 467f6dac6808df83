// The frame's two ways of showing results: the running score under the exercise, and the
// statistics panel with one bar per question group of a section, the piano's key colours, the
// octave hover, and the switch between the lesson's and the all-time figures.

#include <QHBoxLayout>
#include <QLabel>
#include <QSpacerItem>

#include "src/core/exercise/exercise.h"
#include "src/core/exercise/theory/key_geometry.h"
#include "src/core/midi/error.h"
#include "src/ui/application.h"
#include "src/ui/controls/console_exercise_control/console_exercise_control.h"
#include "src/ui/controls/console_exercise_control/statistics_data_set.h"
#include "src/ui/message_dialogs.h"
#include "src/ui/progress.h"
#include "src/ui/window_stack_manager.h"

namespace UI {

namespace {
constexpr int ListRows = 18;
constexpr int LabelWidth = 202;
const char* const StripeStyle =
    ".QWidget\n{\nbackground-color:  rgb(236, 236, 236);\nborder-radius: 0px;\n} ";

// A row's label as rich text. The text faces have no sharp or flat sign, and the face Qt falls back
// on draws them small and thin beside the bold letters: they come from a face whose signs stand
// as tall as a capital letter.
QString RowLabel(const QString& text) {
  QString label;
  for (const QChar c : text) {
    const QString escaped = QString(c).toHtmlEscaped();
    if (c == QChar(0x266F) || c == QChar(0x266D))
      label += QStringLiteral("<span style=\"font-family:'%1'\">%2</span>")
                   .arg(StatisticsData::AccidentalFace, escaped);
    else
      label += escaped;
  }
  return label;
}
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
    label->setTextFormat(Qt::RichText);
    auto* bar = new Progress(row, Progress::Thin);
    bar->setFixedSize(342, 19);
    layout->addWidget(label);
    layout->addWidget(bar);
    layout->addItem(new QSpacerItem(202, 20, QSizePolicy::Expanding, QSizePolicy::Expanding));
    if (i >= 0) {
      row->setMinimumHeight(44);
    } else {
      bar->setContentsMargins(0, 0, 0, 0);
      statisticsTopSpacer = new QSpacerItem(0, 6, QSizePolicy::Fixed, QSizePolicy::Minimum);
      list->addItem(statisticsTopSpacer);
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
  if (currentView != ExerciseView) return;
  // Also on the way back from the other views and after a time-out's notice: a quiz is not
  // skipped through.
  EnableTimeSlider();
  for (QSpacerItem* spacer :
       {ui.statisticsHeaderSpacer, ui.statisticsSeparatorSpacer, ui.statisticsButtonsSpacer})
    spacer->changeSize(20, 0, QSizePolicy::Minimum, QSizePolicy::Minimum);
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
  statisticsTopSpacer->changeSize(0, 6, QSizePolicy::Fixed, QSizePolicy::Minimum);
  ui.verticalLayout_8->invalidate();
  ui.statisticsScrollArea->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  ui.statisticsScrollArea->setMinimumHeight(0);
  // Keeps the summary row at the top.
  statisticsBottomSpacer->changeSize(10, 1000, QSizePolicy::Expanding, QSizePolicy::Minimum);
}

void ConsoleExerciseControl::showScoreboard() {
  if (!exercise || currentView != ExerciseView) return;
  const Core::ExerciseProgress progress = exercise->GetProgress();
  statisticsSummaryRow.bar->setValues(progress.Answered - progress.RightAnswers,
                                      progress.RightAnswers);
}

int ConsoleExerciseControl::CurrentSectionIndex() const {
  return int(exercise->GetTimeline().GetCurrentSectionIndex());
}

int ConsoleExerciseControl::ShownStatisticsSection() const {
  const QString chosen = ui.TimeSlider->property("sectionStatisticsMode").toString();
  const std::array<QToolButton*, 5> buttons = TimelineSectionButtons();
  for (int i = int(buttons.size()) - 1; i > 0; --i)
    if (buttons[std::size_t(i)]->styleSheet() == chosen) return i;
  return 0;
}

void ConsoleExerciseControl::loadStatisticsData(bool global) {
  if (!exercise) return;
  exercise->SetGlobalStatistics(global);
  std::vector<Core::ExStat> records;
  exercise->GetStatistics(CurrentSectionIndex(), records);

  if (!global) {
    ui.viewHistory->setText(tr("View History"));
    ui.clearHistory->setText(QString());
    ui.clearHistory->setEnabled(false);
  } else {
    ui.viewHistory->setText(quizMode ? tr("View quiz statistics") : tr("View lesson statistics"));
    ui.clearHistory->setText(tr("Clear History"));
    ui.clearHistory->setEnabled(quizMode || !records.empty());
  }
  loadStatistics(statisticsSection != -1 ? statisticsSection : CurrentSectionIndex(),
                 int(exerciseId), -1);
}

void ConsoleExerciseControl::toggleStatistics() {
  if (!exercise) return;
  loadStatisticsData(!exercise->IsGlobalStatistics());
}

void ConsoleExerciseControl::clearStatisticsHistory() {
  if (!exercise) return;
  try {
    exercise->ClearGlobalStatistics();
  } catch (const Error& error) {
    if (error.GetCode() != Error::XmlSave) throw;
    // The file keeps its records: so does the list, and the button stays for another try.
    ShowNotice(
        window(), QStringLiteral("clearHistoryFailure"), tr("Clear History"),
        {tr("The history could not be cleared: %1").arg(error.GetMessage()).toHtmlEscaped()});
    return;
  }
  loadStatistics(ShownStatisticsSection(), int(exerciseId), -1);
  ui.clearHistory->setEnabled(false);
}

void ConsoleExerciseControl::SwitchToStatSection(int section) {
  UpdateStatSectionButtons(section);
  if (!exercise) return;
  if (currentView == StatisticsView) {
    loadStatistics(section, int(exerciseId), -1);
    ui.StatisticsWidget->show();
    if (exerciseId == 1) {
      // Only the ear trainer has sections of both layouts.
      if (section == 4) {
        extendedStatisticsShown = true;
        emit statisticsToExtendedStatisticsTrans();
      } else {
        extendedStatisticsShown = false;
        emit extendedStatisticsToStatisticsTrans();
      }
    }
    statisticsBottomSpacer->changeSize(20, 10, QSizePolicy::Fixed, QSizePolicy::Minimum);
    ui.statisticsScrollArea->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  }
  if (IsFinished()) statisticsSection = section;
}

void ConsoleExerciseControl::loadStatistics(int section, int trainer, int octave) {
  if (section < 0 || unsigned(section) >= exercise->GetTimeline().GetSectionCount()) return;
  setStatisticsText(exercise->GetTimeline().GetSectionName(static_cast<unsigned long>(section)),
                    trainer, octave);
  std::vector<StatisticsRow> rows;
  GkcStats keys;
  getStatisticsDataSet(section, trainer, octave, rows, keys);

  for (std::size_t i = 0; i < statisticsWidgetRows.size(); ++i) {
    const StatisticsWidgetRow& row = statisticsWidgetRows[i];
    if (i >= rows.size()) {
      row.widget->hide();
      continue;
    }
    row.label->clear();
    row.label->setFixedWidth(LabelWidth);
    row.label->setText(RowLabel(rows[i].text));
    row.label->setContentsMargins(24, 0, 0, 0);
    row.bar->setValues(rows[i].wrong, rows[i].correct);
    row.widget->show();
    row.label->show();
    row.bar->show();
  }
  statisticsSummaryRow.widget->hide();

  if (StatisticsData::IsKeySection(trainer, section)) {
    ui.Gkc->switchMode(Keyboard::HoverOctaves);
    ui.Gkc->cleanAllKeys();
    ui.Gkc->highlightKeys(keys.goodKeys, keys.badKeys);
    connect(ui.Gkc, &Keyboard::hover, this, &ConsoleExerciseControl::onStatisticsGkcHover,
            Qt::UniqueConnection);
  }
}

void ConsoleExerciseControl::getStatisticsDataSet(int section, int trainer, int octave,
                                                  std::vector<StatisticsRow>& rows,
                                                  GkcStats& keys) {
  StatisticsData::Compute(*exercise, trainer, section, octave, rows, keys);
}

void ConsoleExerciseControl::setStatisticsText(const QString& sectionName, int trainer,
                                               int octave) {
  const QString details = tr("\nFor details, hover over a keyboard note below.");
  auto keySection = [&](const char* what) {
    if (octave == -1) return tr("This is your score for %1.").arg(what) + details;
    return tr("&nbsp;&nbsp;&nbsp;This is your score for all %1 within octave <b style='color:blue; "
              "font-size:18px;'>%2</b><img src=':/PIX/pixmap/pointer.png'/><br>")
               .arg(what)
               .arg(octave) +
           details;
  };
  auto plain = [&](const QString& what) { return tr("This is your score for %1.").arg(what); };

  QString text;
  if (trainer == 0 || trainer == 1) {
    if (sectionName == "Single Notes")
      text = keySection("notes");
    else if (sectionName == "Intervals")
      text = keySection("intervals");
    else if (sectionName == "Chords")
      text = keySection("chords");
    else if (sectionName == "Scales" && trainer == 1)
      text = keySection("scales");
    else if (sectionName == "Tempo" && trainer == 1)
      text = plain(tr("tempo"));
  } else if (trainer == 2) {
    if (sectionName == "Note Lengths")
      text = plain(tr("note lengths"));
    else if (sectionName == "Key Signatures")
      text = plain(tr("key signatures"));
    else if (sectionName == "Tempo")
      text = plain(tr("tempo"));
    else if (sectionName == "Loudness")
      text = plain(tr("loudness"));
    else if (sectionName == "Note Modifiers")
      text = plain(tr("note modifiers"));
  }
  ui.StatisticsHeaderLbl->setText(text);
}

void ConsoleExerciseControl::onStatisticsGkcHover(int key) {
  if (key == currentNote) return;
  currentNote = key;
  // A hover connection made for an earlier section outlives a switch to a section without keys.
  const int section = ShownStatisticsSection();
  if (!StatisticsData::IsKeySection(exerciseId, section)) return;
  loadStatistics(section, int(exerciseId), key == -1 ? -1 : int(Core::octave(key)));
  ui.StatisticsWidget->show();
}

}  // namespace UI
