// A length written without a unit is read in the unit the units tag before it set, whatever
// units tags come after it, and the music written back keeps each units tag's own unit.
#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "ARUnits.h"
#include "drawn_score.h"

namespace {

using EngineTesting::DrawnScore;

class UnitsInForceTest : public DrawnScore {
 protected:
  void SetUp() override {
    DrawnScore::SetUp();
    saved = ARUnits::sType;
  }
  void TearDown() override {
    ARUnits::sType = saved;
    DrawnScore::TearDown();
  }

  // Where the text "A" is drawn, after the default unit is set back to half spaces.
  float HeightOfA(std::string const& score) {
    ARUnits::sType = "hs";
    Draw(score);
    auto const texts = Texts("A");
    return texts.empty() ? 0 : texts.front().y;
  }

  NVstring saved;
};

TEST_F(UnitsInForceTest, ALengthTakesTheUnitInForceWhereItIsWritten) {
  constexpr float kCentimetre = 237.10631f;
  constexpr float kHalfSpace = 25;
  struct Case {
    char const* score;
    float lift;  // of "A" over where it stands without its dy, in layout units
    char const* unitsWritten;
    char const* plain = "[ \\text<\"A\",dy=0> c d e f ]";
  };
  for (Case const& c : {
           Case{"[ \\units<\"cm\"> \\text<\"A\",dy=1> c d \\units<\"hs\"> e f ]", kCentimetre,
                "\\units<\"cm\"> \\units<\"hs\"> "},
           Case{"[ \\text<\"A\",dy=4> c d \\units<\"cm\"> e f ]", 4 * kHalfSpace,
                "\\units<\"cm\"> "},
           Case{"[ \\units<\"cm\"> \\units<\"hs\"> \\text<\"A\",dy=4> c d e f ]", 4 * kHalfSpace,
                "\\units<\"cm\"> \\units<\"hs\"> "},
           Case{"{ [ \\units<\"mm\"> c d e f ], [ \\text<\"A\",dy=10> c d e f ] }", kCentimetre,
                "\\units<\"mm\"> ", "{ [ c d e f ], [ \\text<\"A\",dy=0> c d e f ] }"},
       }) {
    SCOPED_TRACE(c.score);
    float const plain = HeightOfA(c.plain);
    EXPECT_NEAR(plain - HeightOfA(c.score), c.lift, 1);

    std::ostringstream written;
    written << *parsed;
    std::string units;
    for (size_t at = written.str().find("\\units"); at != std::string::npos;
         at = written.str().find("\\units", at + 1))
      units += written.str().substr(at, written.str().find(' ', at) + 1 - at);
    EXPECT_EQ(units, c.unitsWritten) << written.str();
  }
}

}  // namespace
