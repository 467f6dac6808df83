#include "src/ui/score_board/score_board.h"

#include <gtest/gtest.h>

#include <QPaintEvent>
#include <QTest>

#include "score_fixtures.h"

namespace {

using namespace ScoreBoardTesting;
using UI::ScoreBoard;

std::shared_ptr<Core::ScoreSet> OneEntry(Core::ScoresDescription score) {
  return std::make_shared<Core::ScoreSet>(Core::ScoreSet{std::move(score)});
}

// Records the rectangle of every paint the board receives.
class PaintLog : public QObject {
 public:
  QList<QRect> rects;
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::Paint) rects.append(static_cast<QPaintEvent*>(event)->rect());
    return false;
  }
};

TEST(ScoreBoard, RowsFitTheUsedHeightOfTheShownHand) {
  struct Case {
    int boardHeight, usedHeight, rows;
  };
  for (const Case c : {Case{700, 300, 2}, Case{700, 0, 1}, Case{250, 300, 1}, Case{900, 300, 3}}) {
    ScoreBoard board(nullptr);
    board.resize(400, c.boardHeight);
    EXPECT_EQ(board.RowCount(), 0);
    Core::ScoresDescription score;
    score.usedHeight = c.usedHeight;
    board.handMode = 0;
    board.Reset(OneEntry(score));
    EXPECT_EQ(board.RowCount(), c.rows) << c.boardHeight << "/" << c.usedHeight;
    EXPECT_EQ(board.GetState(), UI::Ready);
  }
}

TEST(ScoreBoard, ExerciseModePaintsTheStaffMiddleOnTheBoardsMiddleOnlyWithASet) {
  ScoreBoard board(nullptr);
  board.resize(1200, 500);
  board.displayMode = UI::Exercise;
  board.handMode = 0;
  board.setAttribute(Qt::WA_TranslucentBackground);
  board.setAutoFillBackground(false);
  auto render = [&](const QRegion& region) {
    QImage image = Transparent(1200, 500);
    board.render(&image, QPoint(), region, QWidget::DrawChildren);
    return image;
  };
  const QImage nothing = Transparent(1200, 500);
  EXPECT_EQ(render(QRegion(board.rect())), nothing);
  board.Reset(nullptr);
  EXPECT_EQ(board.GetState(), UI::None);
  EXPECT_EQ(render(QRegion(board.rect())), nothing);

  Core::ScoresDescription score = SolidPages(1, 1050, 350, 350, Qt::transparent, Qt::transparent);
  score.pages[0].width = 180;
  score.pages[0].staffTop = 43;
  score.pages[0].height = 70;
  QPainter(score.pages[0].score.get()).fillRect(0, 78, 180, 1, Qt::black);
  board.Reset(OneEntry(score));
  const QImage full = render(QRegion(board.rect()));
  EXPECT_TRUE(IsColour(full, 600, 250, Qt::black));
  EXPECT_FALSE(IsColour(full, 600, 249, Qt::black));

  // A partial repaint (an overlay closing above the board) keeps the score where it was.
  const QRect part(500, 200, 300, 100);
  const QImage partial = render(QRegion(part));
  EXPECT_EQ(partial.copy(QRect(QPoint(0, 0), part.size())), full.copy(part));

  board.text = "ignored in this mode";
  EXPECT_EQ(render(QRegion(board.rect())), full);
}

TEST(ScoreBoard, PositionMarkRepaintsOnlyTheStripItTravelled) {
  Core::ScoresDescription score = SolidPages(1, 300, 100, 60, Qt::white, Qt::transparent);
  score.usedHeight = 100;
  score.notes = {[] {
                   Core::NoteDesc n;
                   n.time = 0;
                   n.x = 100;
                   n.page = 0;
                   return n;
                 }(),
                 [] {
                   Core::NoteDesc n;
                   n.time = 10;
                   n.x = 110;
                   n.page = 0;
                   return n;
                 }()};
  ScoreBoard board(nullptr);
  board.displayMode = UI::Pages;
  board.handMode = 0;
  board.resize(400, 200);
  board.Reset(OneEntry(score));
  board.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&board));
  PaintLog log;
  board.installEventFilter(&log);

  board.ChangePosition(0);
  board.repaint();
  log.rects.clear();
  board.ChangePosition(10);
  EXPECT_FLOAT_EQ(board.MarkX(), 110);
  ASSERT_EQ(log.rects.size(), 1);
  EXPECT_EQ(log.rects[0], QRect(88, 0, 34, 200));

  board.ChangePosition(10.5);  // less than 1.0 from the last accepted time
  EXPECT_EQ(log.rects.size(), 1);
  EXPECT_FLOAT_EQ(board.MarkX(), 110);
}

TEST(ScoreBoard, PagesAndHandsClampToTheShownEntry) {
  auto set = std::make_shared<Core::ScoreSet>(
      Core::ScoreSet{SolidPages(3, 10, 10, 10, Qt::white, Qt::white),
                     SolidPages(1, 10, 10, 10, Qt::white, Qt::white)});
  ScoreBoard board(nullptr);
  board.handMode = 0;
  board.Reset(set);
  struct Step {
    std::function<void()> act;
    int page;
  };
  const Step steps[] = {{[&] { board.NextPage(); }, 1},     {[&] { board.NextPage(); }, 2},
                        {[&] { board.NextPage(); }, 2},     {[&] { board.GoToPage(-4); }, 0},
                        {[&] { board.GoToPage(1); }, 1},    {[&] { board.F(); }, 0},
                        {[&] { board.SetHandMode(7); }, 0}, {[&] { board.PrevPage(); }, 0}};
  for (const Step& step : steps) {
    step.act();
    EXPECT_EQ(board.CurrentPage(), step.page);
  }
  EXPECT_EQ(board.GetScore(1), &(*set)[1]);
  EXPECT_EQ(board.GetScore(2), nullptr);
}

TEST(ScoreBoard, MistakesAreListedWithTheirFlagsInOrder) {
  const QVector<UI::ScoreBoardMistake> mistakes = {{60, UI::LatePress | UI::WrongNote, 0.25},
                                                   {61, UI::MistakeProc | UI::EarlyPress, 1}};
  EXPECT_EQ(UI::ListMistakes(mistakes),
            "Note 60 Late press, Wrong note, Delay=0.25\n"
            "Note 61 Early press, MistakeProc, Delay=1\n");
}

}  // namespace
