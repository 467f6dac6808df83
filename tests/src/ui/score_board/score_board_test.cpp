#include "src/ui/score_board/score_board.h"

#include <gtest/gtest.h>

#include <QPaintEvent>
#include <QPainter>
#include <QTest>

#include "score_fixtures.h"

namespace {

using namespace ScoreBoardTesting;
using UI::ScoreBoard;

std::shared_ptr<Core::ScoreSet> Set(std::initializer_list<Core::ScoresDescription> entries) {
  return std::make_shared<Core::ScoreSet>(entries);
}

TEST(ScoreBoard, RowsFitTheUsedHeightOfTheShownHand) {
  for (auto [boardHeight, used, rows] :
       {std::tuple{700, 300, 2}, {700, 0, 1}, {250, 300, 1}, {900, 300, 3}}) {
    ScoreBoard board(nullptr);
    board.resize(400, boardHeight);
    EXPECT_EQ(board.RowCount(), 0);
    Core::ScoresDescription score;
    score.usedHeight = used;
    board.handMode = 0;
    board.Reset(Set({score}));
    EXPECT_EQ(board.RowCount(), rows) << boardHeight << "/" << used;
  }
}

TEST(ScoreBoard, ExerciseModePaintsTheStaffMiddleOnTheBoardsMiddleOnlyWithASet) {
  ScoreBoard board(nullptr);
  board.resize(1200, 500);
  board.displayMode = UI::Exercise;
  board.setAttribute(Qt::WA_TranslucentBackground);  // as the exercise screen shows it
  auto render = [&](const QRect& region) {
    QImage image = Transparent(1200, 500);
    board.render(&image, QPoint(), QRegion(region));
    return image;
  };
  const QImage nothing = Transparent(1200, 500);
  EXPECT_EQ(render(board.rect()), nothing);
  board.Reset(nullptr);
  EXPECT_EQ(board.GetState(), UI::None);
  EXPECT_EQ(render(board.rect()), nothing);

  Core::ScoresDescription score = SolidPages(1, 1050, 350, 350, Qt::transparent, Qt::transparent);
  score.pages[0].width = 180;
  score.pages[0].staffTop = 43;
  score.pages[0].height = 70;  // the staff's middle at pixmap row 78
  QPainter(score.pages[0].score.get()).fillRect(0, 78, 180, 1, Qt::black);
  board.Reset(Set({score}));
  EXPECT_EQ(board.GetState(), UI::Ready);
  const QImage full = render(board.rect());
  EXPECT_EQ(full.pixelColor(600, 250), Qt::black);
  EXPECT_EQ(full.pixelColor(600, 249), Qt::transparent);

  // A partial repaint (an overlay closing above the board) leaves the score in place.
  const QRect part(500, 200, 300, 100);
  EXPECT_EQ(render(part).copy(QRect(QPoint(0, 0), part.size())), full.copy(part));
  board.text = "not shown in this mode";
  EXPECT_EQ(render(board.rect()), full);
}

TEST(ScoreBoard, PositionMarkRepaintsOnlyTheStripItTravelled) {
  Core::ScoresDescription score = SolidPages(1, 300, 100, 60, Qt::white, Qt::transparent);
  score.usedHeight = 100;
  score.notes = {At(0, 100, 0), At(10, 110, 0)};
  ScoreBoard board(nullptr);
  board.displayMode = UI::Pages;
  board.handMode = 0;
  board.resize(400, 200);
  board.Reset(Set({score}));
  board.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&board));
  board.ChangePosition(0);
  board.repaint();

  struct PaintLog : QObject {
    QList<QRect> rects;
    bool eventFilter(QObject*, QEvent* event) override {
      if (event->type() == QEvent::Paint) rects.append(static_cast<QPaintEvent*>(event)->rect());
      return false;
    }
  } log;
  board.installEventFilter(&log);
  board.ChangePosition(10);
  board.ChangePosition(10.5);  // less than 1.0 from the last accepted time: ignored
  EXPECT_FLOAT_EQ(board.MarkX(), 110);
  EXPECT_EQ(log.rects, QList<QRect>{QRect(88, 0, 34, 200)});
}

TEST(ScoreBoard, PagesCountFromZeroAndClampToTheShownHand) {
  auto set = Set({SolidPages(3, 10, 10, 10, Qt::white, Qt::white),
                  SolidPages(1, 10, 10, 10, Qt::white, Qt::white)});
  ScoreBoard board(nullptr);
  board.handMode = 0;
  board.Reset(set);
  const std::pair<std::function<void()>, int> steps[] = {
      {[&] { board.NextPage(); }, 1},    {[&] { board.NextPage(); }, 2},
      {[&] { board.NextPage(); }, 2},    {[&] { board.GoToPage(-4); }, 0},
      {[&] { board.GoToPage(1); }, 1},   {[&] { board.F(); }, 0},
      {[&] { board.SetHandMode(7); }, 0}};
  for (const auto& [act, page] : steps) {
    act();
    EXPECT_EQ(board.CurrentPage(), page);
  }
  EXPECT_EQ(board.GetScore(1), &(*set)[1]);
  EXPECT_EQ(board.GetScore(2), nullptr);
}

TEST(ScoreBoard, MistakesAreListedWithTheirFlagsInOrder) {
  EXPECT_EQ(
      UI::ListMistakes(
          {{60, UI::LatePress | UI::WrongNote, 0.25}, {61, UI::MistakeProc | UI::EarlyPress, 1}}),
      "Note 60 Late press, Wrong note, Delay=0.25\nNote 61 Early press, MistakeProc, Delay=1\n");
}

}  // namespace
