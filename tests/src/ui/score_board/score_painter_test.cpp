#include "src/ui/score_board/score_painter.h"

#include <gtest/gtest.h>

#include <QPainter>

#include "score_fixtures.h"

namespace {

using namespace ScoreBoardTesting;
using UI::ScorePainter;

const QColor Red(255, 0, 0), Blue(0, 0, 255);

// Pages of 100 x 260 in rows of 300 on a 700-pixel board: two rows with 25 pixels of band above
// each, so page 0's score starts at y 45 and page 3 (slot 1) at y 345, both 15 pixels in.
class PagePainting : public testing::Test {
 protected:
  Core::ScoresDescription score = SolidPages(4, 100, 300, 260, Red, Blue);
  QImage board = Transparent(200, 700);

  void Paint(int page, unsigned overlays, QRect update) {
    QPainter painter(&board);
    ScorePainter(&score, overlays).UpdatePage(painter, page, 2, update);
  }
  bool IsRed(int x, int y) const { return board.pixelColor(x, y) == Red; }
};

TEST_F(PagePainting, PagesSitInTheirSlotFifteenPixelsIn) {
  Paint(0, 0, QRect(0, 0, 200, 700));
  Paint(3, 0, QRect(0, 0, 200, 700));
  for (auto [x, y, red] : {std::tuple{15, 45, true},
                           {14, 45, false},
                           {15, 44, false},
                           {114, 304, true},
                           {15, 305, false},
                           {15, 345, true},
                           {15, 344, false},
                           {15, 605, false}})
    EXPECT_EQ(IsRed(x, y), red) << x << "," << y;
}

TEST_F(PagePainting, AStripInTheRowsTopDrawsOnlyTheFingers) {
  Paint(0, ScorePainter::Fingers, QRect(0, 25, 200, 16));  // rows 25..40, above the score
  Paint(1, 0, QRect(0, 25, 200, 16));
  EXPECT_FALSE(IsRed(15, 45) || IsRed(15, 345));
  EXPECT_EQ(board.pixelColor(15, 40), Blue);
  EXPECT_NE(board.pixelColor(15, 41), Blue);
}

TEST_F(PagePainting, PositionMarkIsATriangleAndALine) {
  QPainter painter(&board);
  EXPECT_TRUE(
      ScorePainter(&score, 0).UpdatePositionMark(painter, 0, 2, 100, board.rect()).isNull());
  painter.end();
  // Corners (97, 45), (103, 45) and (100, 52); the line runs to rowTop + rowHeight - 20 = 305.
  for (auto [y, ink] : {std::pair{46, true}, {150, true}, {304, true}, {40, false}, {310, false}})
    EXPECT_EQ(qAlpha(board.pixel(100, y)) > 0, ink) << y;
}

TEST(ExerciseScorePainting, StaffMiddleOnTheRectMiddleAndFrameRoundTheHighlightedPair) {
  Core::ScoresDescription score = SolidPages(1, 1050, 350, 350, Qt::transparent, Qt::transparent);
  score.pages[0].width = 200;
  score.pages[0].staffTop = 100;
  score.pages[0].height = 70;
  score.noteRects = {QRectF(100, 50, 10, 8), QRectF(130, 40, 10, 8), QRectF(160, 45, 10, 8)};
  for (auto [highlight, frame] : {std::pair{0, std::optional(QRectF(90, 30, 60, 38))},
                                  {1, QRectF(120, 30, 60, 33)},
                                  {-1, std::nullopt},
                                  {2, std::nullopt},
                                  {5, std::nullopt}}) {
    score.highlightIndex = highlight;
    EXPECT_EQ(ScorePainter(&score, 0).HighlightFrame(), frame) << highlight;
  }

  score.highlightIndex = 0;
  QImage board = Transparent(600, 400);
  QPainter painter(&board);
  ScorePainter exercise(&score, 0);
  const QPoint origin = exercise.ExerciseScoreOrigin(board.rect());
  EXPECT_EQ(origin, QPoint(200, 200 - 100 - 35));
  exercise.PaintExerciseScore(painter, board.rect());
  painter.end();
  EXPECT_EQ(board.pixelColor(origin + QPoint(90, 50)).red(), 255);  // the frame's left edge
  EXPECT_EQ(qAlpha(board.pixel(origin + QPoint(120, 50))), 0);      // no fill inside
}

}  // namespace
