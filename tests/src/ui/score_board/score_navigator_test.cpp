#include "src/ui/score_board/score_navigator.h"

#include <gtest/gtest.h>

#include <limits>

#include "score_fixtures.h"

namespace {

using ScoreBoardTesting::At;

std::pair<int, float> PositionAt(const Core::ScoresDescription* score, double time) {
  int page = -7;
  float x = -7;
  UI::ScoreNavigator(score).GetGraphicsPosition(time, page, x);
  return {page, x};
}

TEST(ScoreNavigator, InterpolatesBetweenNotesAndAcrossPageEnds) {
  // Page 0 ends at time 2 (x 300); page 1 starts at x 20 and ends at time 6 (x 400). A position
  // without a time sorts last and is never reached.
  Core::ScoresDescription score;
  score.measureLength = 1;
  score.pages.resize(2);
  score.pages[0].lastMeasure = 1;
  score.pages[0].musicEndX = 300;
  score.pages[1].lastMeasure = 5;
  score.pages[1].musicStartX = 20;
  score.pages[1].musicEndX = 400;
  score.notes = {At(0.5, 100, 0), At(1.5, 200, 0), At(4, 50, 1),
                 At(std::numeric_limits<double>::quiet_NaN(), 999, 1)};
  const std::tuple<double, int, float> cases[] = {{-1, 0, 0},    {0.25, 0, -1},  {0.5, 0, 100},
                                                  {1.0, 0, 150}, {1.75, 0, 250}, {3, 1, 35},
                                                  {4, 1, 50},    {5, 1, 225},    {10, 1, 400}};
  for (auto [time, page, x] : cases)
    EXPECT_EQ(PositionAt(&score, time), std::pair(page, x)) << time;

  score.notes[2].page = 9;  // a stored position naming a page the score lacks
  EXPECT_EQ(PositionAt(&score, 3), std::pair(0, 200.0f));
  Core::ScoresDescription empty;
  EXPECT_EQ(PositionAt(&empty, 1), std::pair(0, 0.0f));
  EXPECT_EQ(PositionAt(nullptr, 1), std::pair(0, 0.0f));
}

}  // namespace
