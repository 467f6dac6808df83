#include "src/ui/score_board/score_navigator.h"

#include <gtest/gtest.h>

#include <limits>

namespace {

Core::NoteDesc At(double time, double x, int page) {
  Core::NoteDesc note;
  note.time = time;
  note.x = x;
  note.page = page;
  return note;
}

// Page 0 ends at time 2 (x 300); page 1 starts at x 20 and ends at time 6 (x 400).
Core::ScoresDescription TwoPages() {
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
  return score;
}

TEST(ScoreNavigator, InterpolatesBetweenNotesAndAcrossPageEnds) {
  const Core::ScoresDescription score = TwoPages();
  struct Case {
    double time;
    int page;
    float x;
  };
  const Case cases[] = {
      {-1, 0, 0},    {0.25, 0, -1}, {0.5, 0, 100},
      {1.0, 0, 150}, {1.5, 0, 200}, {1.75, 0, 250},  // runs on to page 0's music end
      {3, 1, 35},                                    // from page 1's music start to its first note
      {4, 1, 50},    {5, 1, 225},   {10, 1, 400},
  };
  for (const Case& c : cases) {
    int page = -7;
    float x = -7;
    UI::ScoreNavigator(&score).GetGraphicsPosition(c.time, page, x);
    EXPECT_EQ(page, c.page) << c.time;
    EXPECT_FLOAT_EQ(x, c.x) << c.time;
  }
}

TEST(ScoreNavigator, NoNotesNoScoreOrUnknownPagesStayPut) {
  int page = -1;
  float x = -1;
  UI::ScoreNavigator(nullptr).GetGraphicsPosition(1, page, x);
  EXPECT_EQ(std::pair(page, x), std::pair(0, 0.0f));
  Core::ScoresDescription empty;
  UI::ScoreNavigator(&empty).GetGraphicsPosition(1, page, x);
  EXPECT_EQ(std::pair(page, x), std::pair(0, 0.0f));

  Core::ScoresDescription score = TwoPages();
  score.notes[2].page = 9;  // a stored position naming a page the score lacks
  UI::ScoreNavigator(&score).GetGraphicsPosition(3, page, x);
  EXPECT_EQ(std::pair(page, x), std::pair(0, 200.0f));
}

}  // namespace
