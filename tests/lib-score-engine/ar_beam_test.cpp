#include <gtest/gtest.h>

#include "ARBeam.h"
#include "ARShareLocation.h"
#include "ARShareStem.h"
#include "tag_testing.h"

namespace {

using EngineTesting::Given;
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
    EngineTesting::Apply(beam, c.given);
    TagParameterFloat const* corners[] = {beam.getDX1(), beam.getDY1(), beam.getDX2(),
                                          beam.getDY2(), beam.getDX3(), beam.getDY3(),
                                          beam.getDX4(), beam.getDY4()};
    for (int i = 0; i < 8; ++i) EXPECT_FLOAT_EQ(Units(corners[i]), c.corners[i]) << i;
    EXPECT_EQ(beam.isRazidSpecBeam(), c.specBeam);
  }
}

TEST(ARBeamTest, SharedStemsAndLocationsKeepTheCommonParametersOnly) {
  ARShareLocation location;
  EngineTesting::Apply(location, Given().Text("red", "color"));
  std::unique_ptr<ARMusicalObject> copy(static_cast<ARMusicalTag&>(location).Copy());
  EXPECT_STREQ(dynamic_cast<ARShareLocation&>(*copy).getColor()->getValue(), "red");

  ARShareStem stem;
  EngineTesting::Apply(stem, Given().Float(2, "size"));
  EXPECT_FLOAT_EQ(stem.getSize()->getUnitValue(), 2);
  std::unique_ptr<ARMusicalObject> stemCopy(static_cast<ARMusicalTag&>(stem).Copy());
  EXPECT_NE(dynamic_cast<ARShareStem*>(stemCopy.get()), nullptr);
}

}  // namespace
