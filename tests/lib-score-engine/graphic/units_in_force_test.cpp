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
  // The notes stand in the staff with their stems up, so that the text stands where its dy
  // puts it, under them.
  struct Case {
    char const* score;
    float drop;  // of "A" under where it stands without its dy, in layout units
    char const* unitsWritten;
    char const* plain = "[ \\text<\"A\",dy=0> g a g a ]";
  };
  for (Case const& c : {
           Case{"[ \\units<\"cm\"> \\text<\"A\",dy=-1> g a \\units<\"hs\"> g a ]", kCentimetre,
                "\\units<\"cm\"> \\units<\"hs\"> "},
           Case{"[ \\text<\"A\",dy=-4> g a \\units<\"cm\"> g a ]", 4 * kHalfSpace,
                "\\units<\"cm\"> "},
           Case{"[ \\units<\"cm\"> \\units<\"hs\"> \\text<\"A\",dy=-4> g a g a ]", 4 * kHalfSpace,
                "\\units<\"cm\"> \\units<\"hs\"> "},
           Case{"{ [ \\units<\"mm\"> g a g a ], [ \\text<\"A\",dy=-10> g a g a ] }", kCentimetre,
                "\\units<\"mm\"> ", "{ [ g a g a ], [ \\text<\"A\",dy=0> g a g a ] }"},
       }) {
    SCOPED_TRACE(c.score);
    float const plain = HeightOfA(c.plain);
    EXPECT_NEAR(HeightOfA(c.score) - plain, c.drop, 1);

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
