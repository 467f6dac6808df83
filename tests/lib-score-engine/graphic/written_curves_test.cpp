// Slurs and beams whose shape the text gives: a slur's written height bends the way its sign
// says, and a beam written with its stems' lengths meets those stems on either side.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "drawn_score.h"

namespace {

constexpr int kOther = 2, kStem = 10, kBeam = 14, kSlur = 17;
constexpr unsigned int kHead = 88;

class WrittenCurvesTest : public EngineTesting::DrawnScore {};

// c2 e2 g2 e2 have their stems down. A positive height bends the slur up from the line between
// its end heads by about that height (4 half spaces), a negative one down; a written peak place
// alone keeps the slur over the heads, away from the stems.
TEST_F(WrittenCurvesTest, ASlursWrittenHeightBendsTheWayItsSignSays) {
  struct Case {
    char const* slur;
    int side;  // 1 above the end heads, -1 below
  };
  for (Case const& c : {Case{"h=4", 1}, Case{"h=-4", -1}, Case{"r3=0.3", 1}}) {
    SCOPED_TRACE(c.slur);
    Draw(std::string("[ \\slur<") + c.slur + ">(c2/4 e2 g2 e2) ]");
    auto const heads = Glyphs(kHead);
    ASSERT_EQ(heads.size(), 4u);
    float const high = std::min(heads.front().y, heads.back().y);
    float const low = std::max(heads.front().y, heads.back().y);
    auto const slurs = Records(kOther, kSlur);
    ASSERT_EQ(slurs.size(), 1u);
    if (c.side > 0) {
      EXPECT_LT(slurs[0].top, high - 50);
      EXPECT_NEAR(slurs[0].bottom, low, 1);
    } else {
      EXPECT_GT(slurs[0].bottom, low + 50);
      EXPECT_NEAR(slurs[0].top, high, 1);
    }
  }
}

// A beam written with one length for all its stems or one for each end stands that far from the
// heads along the stems, whichever way they go, and every stem reaches it.
TEST_F(WrittenCurvesTest, AWrittenBeamMeetsItsStemsOnEitherSide) {
  struct Case {
    char const* text;
    float first, last;  // the stems' lengths the text gives
  };
  for (Case const& c : {Case{"[ \\beam<dy=10>( c2/8 d2 ) ]", 250, 250},
                        Case{"[ \\beam<dy1=6, dy2=9>( c2/8 d2 ) ]", 150, 225},
                        Case{"[ \\beam<dy1=6, dy2=9>( c1/8 d1 ) ]", 150, 225},
                        Case{"[ \\stemsDown \\beam<dy=8>( g1/8 a1 h1 ) ]", 200, 200}}) {
    SCOPED_TRACE(c.text);
    Draw(c.text);
    auto const beams = Records(kOther, kBeam);
    ASSERT_EQ(beams.size(), 1u);
    ScoreElementDesc const& beam = beams[0];
    auto const stems = LeftToRight(Records(kOther, kStem));
    auto const heads = Glyphs(kHead);
    ASSERT_GE(stems.size(), 2u);
    ASSERT_EQ(heads.size(), stems.size());
    for (size_t i = 0; i < stems.size(); ++i) {
      ScoreElementDesc const& stem = stems[i];
      bool const down = stem.bottom > heads[i].y + 1;
      float const tip = down ? stem.bottom : stem.top;
      EXPECT_GE(tip, beam.top - 0.5f) << i;
      EXPECT_LE(tip, beam.bottom + 0.5f) << i;
      // The beam stands on the stems' side of the heads.
      EXPECT_TRUE(down ? beam.top > heads[i].y : beam.bottom < heads[i].y) << i;
    }
    EXPECT_NEAR(stems.front().bottom - stems.front().top, c.first, 0.5f);
    EXPECT_NEAR(stems.back().bottom - stems.back().top, c.last, 0.5f);
  }
}

}  // namespace
