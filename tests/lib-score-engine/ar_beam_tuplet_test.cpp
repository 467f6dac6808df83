#include <gtest/gtest.h>

#include <climits>
#include <memory>

#include "ARBeam.h"
#include "ARDisplayDuration.h"
#include "ARTuplet.h"
#include "MoreMusicalTags.h"
#include "bound_tag.h"

namespace {

using EngineTesting::Given;
using EngineTesting::Rmn;
using EngineTesting::Units;

TEST(ARBeamTest, EachFormSetsItsCorners) {
  constexpr float kNone = -1000;  // absent
  struct Case {
    Given given;
    float corners[8];  // dx1 dy1 dx2 dy2 dx3 dy3 dx4 dy4 in layout units
    bool specBeam;
  };
  const Case cases[] = {
      {Given(), {kNone, kNone, kNone, kNone, kNone, kNone, kNone, kNone}, false},
      {Given().Float(3, "dy", "hs"), {kNone, 75, kNone, kNone, kNone, kNone, kNone, kNone}, true},
      {Given().Float(2, "dy1", "hs").Float(4, "dy2", "hs"),
       {kNone, 50, kNone, kNone, kNone, 100, kNone, kNone},
       true},
      {Given().Float(1, "dy1", "hs"), {kNone, 25, kNone, kNone, kNone, 175, kNone, kNone}, true},
      {Given()
           .Float(1, "dx1", "hs")
           .Float(2, "dy1", "hs")
           .Float(3, "dx2", "hs")
           .Float(4, "dy2", "hs")
           .Float(5, "dx3", "hs")
           .Float(6, "dy3", "hs")
           .Float(7, "dx4", "hs")
           .Float(8, "dy4", "hs"),
       {25, 50, 75, 100, 125, 150, 175, 200},
       false},
  };
  for (Case const& c : cases) {
    ARBeam beam;
    EngineTesting::Bind(beam, c.given);
    TagParameterFloat const* corners[] = {beam.getDX1(), beam.getDY1(), beam.getDX2(),
                                          beam.getDY2(), beam.getDX3(), beam.getDY3(),
                                          beam.getDX4(), beam.getDY4()};
    for (int i = 0; i < 8; ++i) EXPECT_FLOAT_EQ(Units(corners[i]), c.corners[i]) << i;
    EXPECT_EQ(beam.isRazidSpecBeam(), c.specBeam);
  }
}

TEST(ARTupletTest, TheFormatGivesNumbersAndHooks) {
  struct Case {
    char const* format;
    int numerator, denominator;
    bool left, right;
  };
  const Case cases[] = {
      {"-3:2-", 3, 2, true, true},
      {"-5:4-", 5, 4, true, true},
      {"-3-", 3, 0, true, true},
      {"3:2", 3, 2, false, false},
      {"3-", 3, 0, false, true},
      {"-", 0, 0, true, false},
      {"3:2-x7", 3, 2, false, true},  // a hook after the numbers ends the format
      {"99999999999:2", INT_MAX, 2, false, false},
  };
  for (Case const& c : cases) {
    ARTuplet tuplet;
    EngineTesting::Bind(tuplet, Given().Text(c.format));
    SCOPED_TRACE(c.format);
    EXPECT_EQ(tuplet.getNumerator(), c.numerator);
    EXPECT_EQ(tuplet.getDenominator(), c.denominator);
    EXPECT_EQ(tuplet.getLeftBrace(), c.left);
    EXPECT_EQ(tuplet.getRightBrace(), c.right);
    EXPECT_TRUE(tuplet.isFormatSet() && !tuplet.isDy1Set() && !tuplet.isDy2Set());
  }
}

TEST(ARTupletTest, BracketOffsetsAndTheEnginesOwnTuplets) {
  ARTuplet written;
  written.setRange(true);
  EngineTesting::Bind(written, Given().Text("3").Float(2, "dy1", "hs"));
  EXPECT_FLOAT_EQ(written.getDy1(), 50);
  EXPECT_FLOAT_EQ(written.getDy2(), 50) << "dy2 follows dy1 when not written";
  EXPECT_TRUE(written.isDy1Set());
  EXPECT_FALSE(written.isDy2Set());
  EXPECT_EQ(Rmn(written), "\\tuplet<\"3\",50>( ");

  ARTuplet automatic;
  automatic.setName("-auto-");
  ARBase base;
  base.setBase(Fraction(3, 2));
  automatic.setupTuplet(&base);
  EXPECT_EQ(automatic.getNumerator(), 3);
  EXPECT_EQ(automatic.getDenominator(), 0);
  EXPECT_FALSE(automatic.getLeftBrace() || automatic.isFormatSet());
  EXPECT_EQ(Rmn(automatic), "\\tupletBegin<\"-auto-\"> ");
}

TEST(ARDisplayDurationTest, LengthsAreDrawnAsPlainOrDottedValues) {
  struct Case {
    Fraction length, drawn;
    int dots;
  };
  const Case cases[] = {
      {{3, 16}, {1, 8}, 1}, {{6, 32}, {1, 8}, 1}, {{7, 32}, {1, 8}, 2},
      {{7, 4}, {1, 1}, 2},  {{3, 2}, {1, 1}, 1},  {{5, 16}, {5, 16}, 0},
      {{7, 2}, {7, 2}, 0},  {{3, 1}, {3, 1}, 0},  {{1, 4}, {1, 4}, 0},
  };
  for (Case const& c : cases) {
    ARDisplayDuration tag;
    tag.setDisplayDuration(c.length);
    SCOPED_TRACE(testing::Message() << c.length.getNumerator() << "/" << c.length.getDenominator());
    EXPECT_EQ(tag.getDisplayDuration().getNumerator(), c.drawn.getNumerator());
    EXPECT_EQ(tag.getDisplayDuration().getDenominator(), c.drawn.getDenominator());
    EXPECT_EQ(tag.getDots(), c.dots);
  }
}

TEST(ARDisplayDurationTest, WrittenLengthsAreKeptAsGivenUnlessNoLength) {
  struct Case {
    Given given;
    int numerator, denominator, dots;
  };
  const Case cases[] = {
      {Given().Int(2, "n").Int(8, "d"), 2, 8, 0}, {Given().Int(1).Int(4).Int(1), 1, 4, 1},
      {Given().Int(1).Int(0), 0, 1, 0},           {Given().Int(1).Int(-4), 0, 1, 0},
      {Given().Int(-1).Int(4), 0, 1, 0},          {Given().Int(1), 0, 1, 0},  // d is required
  };
  for (Case const& c : cases) {
    ARDisplayDuration tag;
    EngineTesting::Bind(tag, c.given);
    EXPECT_EQ(tag.getDisplayDuration().getNumerator(), c.numerator);
    EXPECT_EQ(tag.getDisplayDuration().getDenominator(), c.denominator);
    EXPECT_EQ(tag.getDots(), c.dots);
  }
  ARDisplayDuration written;
  EngineTesting::Bind(written, Given().Int(3).Int(8).Int(1));
  std::unique_ptr<ARMusicalObject> copy(static_cast<ARMusicalTag&>(written).Copy());
  EXPECT_EQ(Rmn(*copy), "\\dispDurBegin<0,1,0> ") << "a copy draws nothing of its own yet";
}

}  // namespace
