#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "drawn_score.h"

namespace {

using EngineTesting::DrawnScore;

class RepeatLineTest : public DrawnScore {};

// A line whose next line opens with a repeat begin still ends with a bar line where its staff
// ends; the repeat begin stands at the start of the next line.
TEST_F(RepeatLineTest, TheLineBeforeARepeatBeginEndsWithABarLine) {
  for (char const* score :
       {"[ \\meter<\"4/4\"> c2/1 | d2/1 \\newSystem \\repeatBegin e2/1 \\repeatEnd ]",
        "[ \\meter<\"4/4\"> c2/1 | d2/1 \\newPage \\repeatBegin e2/1 \\repeatEnd ]"}) {
    SCOPED_TRACE(score);
    Draw(score);
    auto const staves = Records(2, 5, 1);
    ASSERT_FALSE(staves.empty());
    float const firstTop = staves[0].top;
    float lineEnd = 0;
    for (auto const& staff : staves)
      if (staff.top == firstTop) lineEnd = std::max(lineEnd, staff.right);
    int endingBars = 0;
    int firstLineBars = 0;
    for (auto const& bar : Records(3, 0, 1)) {
      if (std::abs(bar.top - firstTop) > 1) continue;
      ++firstLineBars;
      if (std::abs(bar.left - lineEnd) < 5) ++endingBars;
    }
    EXPECT_EQ(firstLineBars, 2);  // after c and after d
    EXPECT_EQ(endingBars, 1);
    // The repeat signs are on the line after it.
    auto const all = Records(3);
    EXPECT_EQ(all.size(), 4u);
  }
}

}  // namespace
