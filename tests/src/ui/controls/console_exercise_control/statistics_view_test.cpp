// The statistics panel on the real window: rows and key colours from the trainer's own groups and
// the database's records, the octave hover, the lesson and all-time figures, and clearing them.

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QMessageBox>
#include <QTest>

#include <gmock/gmock.h>
#include <map>

#include "src/core/exercise/exercise.h"
#include "src/ui/controls/console_exercise_control/statistics_data_set.h"
#include "src/ui/gkc_initializer.h"
#include "src/ui/keyboard.h"
#include "src/ui/keyboard_geometry.h"
#include "views_fixture.h"

namespace Testing {
namespace {

using ::testing::UnorderedElementsAre;

constexpr int C4 = 39;
constexpr int D4 = 41;
constexpr int E4 = 43;

class StatisticsViewTest : public ExerciseViewsTest {
 protected:
  void OpenStatistics(int trainer, bool quiz, const std::function<void()>& record = {}) {
    Open(trainer, quiz);
    if (record) record();
    Click(Toolbar().Statistics);
    ASSERT_TRUE(Settled());
  }
  int Highlight(int key) const { return Form().Gkc->keyState(key).highlight; }
  void HoverOver(int key) const {
    const GKCKeyPositon& position = GKCinitializer::Keys()[size_t(key)];
    QTest::mouseMove(
        Form().Gkc,
        Form().Gkc->scaleKeyRect(position.white ? position.lower : position.upper).center());
  }
  // Rows that show any answer.
  QStringList Answered() const {
    QStringList rows = ShownRows();
    rows.removeIf([](const QString& row) { return row.endsWith(" 0/0"); });
    return rows;
  }
};

TEST_F(StatisticsViewTest, KeysTurnGreenOrRedByTheirRecordAndEveryNoteHasARow) {
  OpenStatistics(0, false, [&] {
    Record(0, C4, 9, 1);
    Record(0, D4, 8, 1);
    Record(0, E4, 3, 0);
    Record(0, E4 + 12, 0, 2);  // E5: the same row as E4
    Record(0, 100000, 5, 5);   // an id no question has: neither row nor key
  });
  std::vector<int> marked;
  for (int key = 0; key < 88; ++key)
    if (Highlight(key) != KeyState::None) marked.push_back(key);
  EXPECT_EQ(marked, (std::vector<int>{C4, D4, E4, E4 + 12}));
  EXPECT_EQ(Highlight(C4), KeyState::Green) << "1 wrong against 9 right";
  EXPECT_EQ(Highlight(D4), KeyState::Red) << "1 wrong against 8 right";
  EXPECT_EQ(Highlight(E4), KeyState::Green);
  EXPECT_EQ(Highlight(E4 + 12), KeyState::Red);
  EXPECT_EQ(Form().Gkc->mode(), Keyboard::HoverOctaves);

  const QStringList rows = ShownRows();
  ASSERT_EQ(rows.size(), 12);
  EXPECT_EQ(Answered(), (QStringList{Exercise()->GetGroupTextById(0, C4) + " 1/9",
                                     Exercise()->GetGroupTextById(0, D4) + " 1/8",
                                     Exercise()->GetGroupTextById(0, E4) + " 2/3"}));
  EXPECT_EQ(Form().StatisticsHeaderLbl->text(),
            "This is your score for notes.\nFor details, hover over a keyboard note below.");
}

TEST_F(StatisticsViewTest, HoveringAnOctaveCountsOnlyItsRecordsAndLeavingItCountsAllAgain) {
  int inOctave4 = -1;
  int inOctave2 = -1;
  OpenStatistics(0, false, [&] {
    inOctave4 = FindId(1, [](int key, const QString&) { return key >= C4 && key < C4 + 12; });
    const QString kind4 = Exercise()->GetGroupTextById(1, inOctave4);
    inOctave2 = FindId(
        1, [&](int key, const QString& kind) { return key >= 15 && key < 27 && kind != kind4; });
    Record(1, inOctave4, 4, 1);
    Record(1, inOctave2, 2, 3);
  });
  Form().TimelineButton2->click();
  const QString kind4 = Exercise()->GetGroupTextById(1, inOctave4);
  const QString kind2 = Exercise()->GetGroupTextById(1, inOctave2);
  EXPECT_EQ(Form().StatisticsHeaderLbl->text(),
            "This is your score for intervals.\nFor details, hover over a keyboard note below.");
  EXPECT_THAT(Answered(), UnorderedElementsAre(kind4 + " 1/4", kind2 + " 3/2"));
  const int groups = int(ShownRows().size());

  HoverOver(C4 + 2);
  EXPECT_EQ(Answered(), QStringList{kind4 + " 1/4"});
  EXPECT_EQ(int(ShownRows().size()), groups);
  EXPECT_TRUE(
      Form().StatisticsHeaderLbl->text().contains("octave <b style='color:blue; "
                                                  "font-size:18px;'>4</b>"));
  HoverOver(C4 + 5);  // the same octave
  EXPECT_EQ(Answered(), QStringList{kind4 + " 1/4"});
  HoverOver(1);  // below the octaves
  EXPECT_THAT(Answered(), UnorderedElementsAre(kind4 + " 1/4", kind2 + " 3/2"));
  EXPECT_TRUE(Form().StatisticsHeaderLbl->text().startsWith("This is your score for intervals."));
}

TEST_F(StatisticsViewTest, LessonFiguresCannotBeClearedAndQuizFiguresClearToZero) {
  OpenStatistics(0, false);
  EXPECT_EQ(Form().viewHistory->text(), "View History");
  EXPECT_EQ(Form().clearHistory->text(), "");
  EXPECT_FALSE(Form().clearHistory->isEnabled());
  Form().viewHistory->click();  // all-time figures of a lesson without any
  EXPECT_EQ(Form().viewHistory->text(), "View lesson statistics");
  EXPECT_FALSE(Form().clearHistory->isEnabled());
  CloseConsole();

  OpenStatistics(0, true, [&] { Record(0, C4, 3, 2); });
  QTest::mouseClick(Form().viewHistory, Qt::LeftButton);
  EXPECT_EQ(Form().viewHistory->text(), "View quiz statistics");
  EXPECT_EQ(Form().clearHistory->text(), "Clear History");
  ASSERT_TRUE(Form().clearHistory->isEnabled());
  EXPECT_EQ(Answered().size(), 1);

  QTest::mouseClick(Form().clearHistory, Qt::LeftButton);
  EXPECT_TRUE(Answered().isEmpty());
  EXPECT_EQ(ShownRows().size(), 12);
  EXPECT_FALSE(Form().clearHistory->isEnabled());
  std::vector<Core::ExStat> left;
  Exercise()->GetStatistics(0, left);
  EXPECT_TRUE(left.empty());
}

TEST_F(StatisticsViewTest, AHistoryThatCannotBeWrittenStaysListedAndTheLearnerIsTold) {
  OpenStatistics(0, false, [&] { Record(0, C4, 3, 2); });
  Form().viewHistory->click();
  const QStringList before = ShownRows();
  ASSERT_TRUE(Form().clearHistory->isEnabled());
  // The all-time file's place is taken by a folder, so the file cannot be replaced.
  const QString file = m_env.DataHome() + "/Quorvale/MelvarinStudio/stats.xml";
  ASSERT_TRUE(QFile::exists(file)) << file.toStdString();
  ASSERT_TRUE(QFile::remove(file));
  ASSERT_TRUE(QDir().mkpath(file + "/blocked"));

  Form().clearHistory->click();
  auto* notice = Screen()->findChild<QMessageBox*>("clearHistoryFailure");
  ASSERT_TRUE(notice);
  EXPECT_TRUE(notice->isVisible());
  EXPECT_TRUE(notice->text().startsWith("The history could not be cleared"));
  EXPECT_EQ(ShownRows(), before);
  EXPECT_TRUE(Form().clearHistory->isEnabled());
  notice->close();
}

// The merging of records into groups, on the trainer's own groups.
TEST_F(StatisticsViewTest, RecordsOfOneGroupMergeWhereverTheyStand) {
  Open(0, false);
  // C in three octaves, D in two, E once, spread so that merging swaps from the end.
  std::vector<Core::ExStat> stats{{C4, 0, 0, 1, 0}, {D4, 0, 0, 2, 0},       {C4 + 12, 0, 0, 4, 1},
                                  {E4, 0, 0, 8, 0}, {D4 - 12, 0, 0, 16, 0}, {C4 - 12, 0, 0, 32, 2}};
  UI::StatisticsData::GroupStats(*Exercise(), 0, stats);
  ASSERT_EQ(stats.size(), 3u);
  std::map<int, std::pair<int, int>> byGroup;
  for (const Core::ExStat& s : stats) byGroup[s.Id % 12] = {s.Correct, s.Wrong};
  EXPECT_EQ(byGroup[C4 % 12], std::make_pair(37, 3));
  EXPECT_EQ(byGroup[D4 % 12], std::make_pair(18, 0));
  EXPECT_EQ(byGroup[E4 % 12], std::make_pair(8, 0));
}

// Pictures of both layouts for review, in the test program's folder.
TEST_F(StatisticsViewTest, ScreenshotsOfThePlainAndTheExtendedLayout) {
  const QString folder = QCoreApplication::applicationDirPath() + "/screenshots";
  ASSERT_TRUE(QDir().mkpath(folder));
  OpenStatistics(0, false, [&] {
    Record(0, C4, 9, 1);
    Record(0, D4, 8, 1);
    Record(0, E4 + 12, 5, 0);
  });
  EXPECT_TRUE(m_console->grab().save(folder + "/statistics-plain.png"));
  CloseConsole();
  OpenStatistics(2, false, [&] { Record(0, 0, 4, 2); });
  EXPECT_TRUE(m_console->grab().save(folder + "/statistics-extended.png"));
}

}  // namespace
}  // namespace Testing
