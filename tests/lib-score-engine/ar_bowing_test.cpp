#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "ARSlur.h"
#include "ARTie.h"
#include "bound_tag.h"

namespace {

using EngineTesting::Given;
using EngineTesting::Rmn;
using EngineTesting::Units;

// The six values of a curve in layout units (50 per line space, so 1 hs is 25).
struct Geometry {
  float dx1, dy1, dx2, dy2, r3, h;
};

void ExpectGeometry(ARBowing const& bow, Geometry g) {
  EXPECT_NEAR(Units(bow.getDX1()), g.dx1, 1e-4);
  EXPECT_NEAR(Units(bow.getDY1()), g.dy1, 1e-4);
  EXPECT_NEAR(Units(bow.getDX2()), g.dx2, 1e-4);
  EXPECT_NEAR(Units(bow.getDY2()), g.dy2, 1e-4);
  EXPECT_NEAR(Units(bow.getR3()), g.r3, 1e-6);
  EXPECT_NEAR(Units(bow.getH()), g.h, 1e-4);
}

TEST(ARBowingTest, TheTextGivesADirectionOrTheGeometry) {
  struct Case {
    Given given;
    Geometry geometry;
    bool parSet;
    char const* rmn;
    int written;  // parameters the tag hands back as written
  };
  const Case cases[] = {
      {Given(), {0, 0, 0, 0, 0.5f, -50}, false, "\\slur( ", 0},
      {Given().Text("up", "curve"), {0, 0, 0, 0, 0.5f, 50}, true, "\\slur<curve=\"up\">( ", 1},
      {Given().Text("down", "curve"), {0, 0, 0, 0, 0.5f, -50}, true, "\\slur<curve=\"down\">( ", 1},
      {Given().Float(3, "dy1", "hs"), {50, 75, -50, 25, 0.5f, 50}, true, "\\slur<dy1=3hs>( ", 1},
      {Given().Float(1, "h", "hs").Float(0.3f, "r3"),
       {50, 25, -50, 25, 0.3f, 25},
       true,
       "\\slur<r3=0.3,h=1hs>( ",
       2},
  };
  for (Case const& c : cases) {
    ARSlur slur;
    slur.setRange(true);
    EngineTesting::Bind(slur, c.given);
    SCOPED_TRACE(c.rmn);
    ExpectGeometry(slur, c.geometry);
    EXPECT_EQ(slur.getParSet(), c.parSet);
    EXPECT_EQ(Rmn(slur), c.rmn);
    std::unique_ptr<TagParameterList> written(slur.getTagParameterList());
    EXPECT_EQ(written->GetCount(), c.written);

    // A curve the text gave is kept; otherwise the end points decide.
    slur.setCurve(1, 0.0f, 0.0f, 100.0f, 0.0f);
    EXPECT_FLOAT_EQ(Units(slur.getH()), c.parSet ? c.geometry.h : 18.75f);
  }
}

TEST(ARBowingTest, CurveFromTheEndPoints) {
  struct Case {
    float x2, y2;
    float r3, h;  // h in half spaces
  };
  const Case cases[] = {
      {100, 0, 0.5f, 0.75f},                        // flat and short
      {200, 0, 0.5f, 1.5f},                         // flat and long
      {100, 1, 0.500025f, 0.75f},                   // |angle| within 0.02 counts as flat
      {100, 100, 0.5f / std::cos(M_PI / 4), 2.0f},  // steep: h from the rise
      {100, 20, 0.5f / std::cos(std::atan(0.2f)), 1.9f},
      {0, 80, 0.5f, 0.75f},  // vertical: no 0/0 for the peak's place
      {0, 0, 0.5f, 0.75f},
  };
  for (Case const& c : cases) {
    ARTie tie;  // made by the tie pass: no parameters read
    tie.setCurve(1, 0.0f, 0.0f, c.x2, c.y2);
    SCOPED_TRACE(testing::Message() << c.x2 << "," << c.y2);
    ExpectGeometry(tie, {0, 0, 0, 0, c.r3, c.h * 25});
    EXPECT_FALSE(tie.getParSet());
  }
}

TEST(ARBowingTest, ACopyMayHaveItsCurveWorkedOutAgain) {
  ARSlur slur;
  EngineTesting::Bind(slur, Given().Float(2, "h", "hs").Text("blue", "color"));
  slur.setRange(true);
  std::unique_ptr<ARMusicalObject> object(static_cast<ARMusicalTag&>(slur).Copy());
  auto& copy = dynamic_cast<ARSlur&>(*object);
  EXPECT_FALSE(copy.getParSet());
  EXPECT_FLOAT_EQ(Units(copy.getH()), 50);
  EXPECT_STREQ(copy.getColor()->getValue(), "blue");
  copy.setCurve(1, 0.0f, 0.0f, 300.0f, 0.0f);
  EXPECT_FLOAT_EQ(Units(copy.getH()), 37.5f);
}

}  // namespace
