// A staff drawn larger or smaller than usual: its rests, beams and spacing keep the shape they
// have on a staff of the usual size, measured in the staff's own line space.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>

#include "drawn_score.h"

namespace {

using EngineTesting::DrawnScore;

constexpr unsigned int kFilledHead = 88;

class StaffSizeTest : public DrawnScore {
 protected:
  // The line space of the first staff drawn.
  float LineSpace() const {
    auto const staves = Records(2, 5);
    return staves.empty() ? 0 : (staves[0].bottom - staves[0].top) / 4;
  }
};

// On every staff whole and half rests are blocks one space wide and half a space high, the half
// rest after a bar line keeps clear of it, and the levels of a sixteenth beam keep their
// thickness and distance in the staff's spaces, so that two beams read as two.
TEST_F(StaffSizeTest, RestsAndBeamsKeepTheirShapeInTheStaffsSpaces) {
  for (char const* size : {"", "\\staffFormat<size=6pt> ", "\\staffFormat<size=1.5pt> "}) {
    SCOPED_TRACE(size);
    Draw(std::string("[ ") + size +
         "\\meter<\"4/4\"> _/1 | _/2 c2/2 | c2/16 d e f g a h c3 c3/2 ]");
    float const ls = LineSpace();
    ASSERT_GT(ls, 0);
    std::vector<EngineTesting::PlacingDevice::Shape> blocks, beams;
    for (auto const& shape : drawn.shapes) (shape.xs.empty() ? blocks : beams).push_back(shape);
    ASSERT_EQ(blocks.size(), 2u);
    for (auto const& block : blocks) {
      EXPECT_NEAR(block.right - block.left, ls, 0.5f);
      EXPECT_NEAR(block.bottom - block.top, ls / 2, 0.5f);
    }
    auto const bars = LeftToRight(Records(3, 0));
    ASSERT_FALSE(bars.empty());
    EXPECT_GT(blocks[1].left, bars[0].left + ls / 2) << "the half rest on the bar line";
    // Per beat the main beam, then the second level from the same stem; each polygon's first two
    // corners lie on its left end, one above the other.
    ASSERT_EQ(beams.size(), 4u);
    for (size_t i = 0; i < beams.size(); i += 2) {
      auto const& main = beams[i];
      auto const& second = beams[i + 1];
      ASSERT_NEAR(main.xs[0], second.xs[0], 1);
      auto const [mainTop, mainBottom] = std::minmax(main.ys[0], main.ys[1]);
      auto const [secondTop, secondBottom] = std::minmax(second.ys[0], second.ys[1]);
      EXPECT_NEAR(mainBottom - mainTop, 0.45f * ls, 0.5f);
      EXPECT_NEAR(secondBottom - secondTop, 0.4f * ls, 0.5f);
      EXPECT_GT(std::max(mainTop - secondBottom, secondTop - mainBottom), 0.25f * ls)
          << "the beams merge";
    }
  }
}

// Notes are spaced by their staff's own space: on a staff twice the usual size the heads of a
// run of sixteenths in full lines stand as far apart, in spaces, as on a staff of the usual size.
TEST_F(StaffSizeTest, SpacingFollowsTheStaffsSpace) {
  std::string music;
  for (int bar = 0; bar < 4; ++bar) music += " c2/16 d e f g a h c3 | c3/16 h2 a g f e d c |";
  float narrowest[2] = {};
  int const sizes = 2;
  char const* formats[sizes] = {"", "\\staffFormat<size=6pt> "};
  for (int s = 0; s < sizes; ++s) {
    SCOPED_TRACE(formats[s]);
    Draw(std::string("[ ") + formats[s] + "\\meter<\"2/4\">" + music + " c2/4 ]");
    float const ls = LineSpace();
    ASSERT_GT(ls, 0);
    auto heads = Glyphs(kFilledHead);
    ASSERT_GE(heads.size(), 64u);
    narrowest[s] = 1e9f;
    for (size_t i = 1; i < heads.size(); ++i) {
      if (heads[i].page != heads[i - 1].page || std::abs(heads[i].y - heads[i - 1].y) > 4 * ls ||
          heads[i].x < heads[i - 1].x)
        continue;  // another line
      EXPECT_GT(heads[i].ink.left - heads[i - 1].ink.right, 0.25f * ls)
          << "heads touching at " << heads[i].x;
      narrowest[s] = std::min(narrowest[s], (heads[i].x - heads[i - 1].x) / ls);
    }
  }
  EXPECT_NEAR(narrowest[1], narrowest[0], 0.25f * narrowest[0]);
}

}  // namespace
