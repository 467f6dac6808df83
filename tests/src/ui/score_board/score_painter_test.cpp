#include "src/ui/score_board/score_painter.h"

#include <gtest/gtest.h>

#include "score_fixtures.h"

namespace {

using namespace ScoreBoardTesting;
using UI::ScorePainter;

const QColor Red(255, 0, 0), Blue(0, 0, 255);

// Four pages of 100 x 260 in rows of 300 on a 700-pixel board: two rows, 25 pixels of band above
// each row, so page 0's score starts at y 45 and page 3 (slot 1) at y 345.
class PagePainting : public testing::Test {
 protected:
  Core::ScoresDescription score = SolidPages(4, 100, 300, 260, Red, Blue);
  QImage board = Transparent(200, 700);

  void Paint(int page, unsigned overlays, QRect update) {
    QPainter painter(&board);
    ScorePainter(&score, overlays).UpdatePage(painter, page, 2, update);
  }
};

TEST_F(PagePainting, PagesSitInTheirSlotFifteenPixelsIn) {
  Paint(0, 0, QRect(0, 0, 200, 700));
  Paint(3, 0, QRect(0, 0, 200, 700));
  struct Probe {
    int x, y;
    bool score;
  };
  for (const Probe p : {Probe{15, 45, true},
                        {14, 45, false},
                        {15, 44, false},
                        {114, 304, true},
                        {115, 200, false},
                        {15, 305, false},
                        {15, 345, true},
                        {15, 344, false},
                        {15, 604, true},
                        {15, 605, false}})
    EXPECT_EQ(IsColour(board, p.x, p.y, Red), p.score) << p.x << "," << p.y;
}

TEST_F(PagePainting, AStripInTheRowsTopDrawsOnlyTheFingers) {
  Paint(0, ScorePainter::Fingers, QRect(0, 25, 200, 16));  // rows 25..40: above the score band
  EXPECT_FALSE(IsColour(board, 15, 45, Red));
  EXPECT_TRUE(IsColour(board, 15, 40, Blue));
  EXPECT_FALSE(IsColour(board, 15, 41, Blue));
  Paint(1, 0, QRect(0, 25, 200, 16));
  EXPECT_FALSE(IsColour(board, 15, 345, Red));
}

TEST_F(PagePainting, PositionMarkIsATriangleAndALine) {
  QPainter painter(&board);
  EXPECT_TRUE(ScorePainter(&score, 0)
                  .UpdatePositionMark(painter, 0, 2, 200 - 100, QRect(0, 0, 200, 700))
                  .isNull());
  painter.end();
  // Corners (97, 45), (103, 45) and (100, 52); the line runs to rowTop + rowHeight - 20 = 305.
  for (QPoint inside : {QPoint(100, 46), QPoint(100, 150), QPoint(100, 304)})
    EXPECT_GT(qAlpha(board.pixel(inside)), 0) << inside.x() << "," << inside.y();
  for (QPoint outside : {QPoint(100, 40), QPoint(96, 60), QPoint(100, 310)})
    EXPECT_EQ(qAlpha(board.pixel(outside)), 0) << outside.x() << "," << outside.y();
}

TEST(ExerciseScorePainting, StaffMiddleOnTheRectMiddleAndFrameRoundTheHighlightedPair) {
  Core::ScoresDescription score = SolidPages(1, 1050, 350, 350, Qt::transparent, Qt::transparent);
  Core::ScorePageDescription& page = score.pages[0];
  page.width = 200;
  page.staffTop = 100;
  page.height = 70;  // staff middle at pixmap y 135
  QPainter(page.score.get()).fillRect(0, 135, 1050, 1, Qt::black);
  score.noteRects = {QRectF(100, 50, 10, 8), QRectF(130, 40, 10, 8), QRectF(160, 45, 10, 8)};

  struct Case {
    int highlight;
    std::optional<QRectF> frame;
  };
  for (const Case& c : {Case{0, QRectF(90, 30, 60, 38)}, Case{1, QRectF(120, 30, 60, 33)},
                        Case{-1, std::nullopt}, Case{2, std::nullopt}, Case{5, std::nullopt}}) {
    score.highlightIndex = c.highlight;
    EXPECT_EQ(ScorePainter(&score, 0).HighlightFrame(), c.frame) << c.highlight;
  }

  score.highlightIndex = 0;
  QImage board = Transparent(600, 400);
  QPainter painter(&board);
  ScorePainter exercise(&score, 0);
  const QPoint origin = exercise.ExerciseScoreOrigin(board.rect());
  EXPECT_EQ(origin, QPoint(200, 200 - 100 - 35));
  exercise.PaintExerciseScore(painter, board.rect());
  painter.end();
  EXPECT_TRUE(IsColour(board, 300, 200, Qt::black));                         // the staff middle
  EXPECT_EQ(board.pixelColor(origin.x() + 90, origin.y() + 50).red(), 255);  // frame's left edge
  EXPECT_EQ(qAlpha(board.pixel(origin.x() + 120, origin.y() + 50)), 0);      // no fill inside
}

}  // namespace
