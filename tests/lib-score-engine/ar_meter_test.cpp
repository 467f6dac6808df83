#include <gtest/gtest.h>

#include <climits>

#include "ARMeter.h"
#include "bound_tag.h"

namespace {

using EngineTesting::Bind;
using EngineTesting::Given;
using EngineTesting::Rmn;

TEST(ARMeterTest, ReadsNumbersAndKindFromTheText) {
  struct Case {
    char const* text;
    int numerator;
    int denominator;
    int kind;
  };
  // Kinds: 0 none, 1 numeric, 2 C, 3 C/. A measure of zero or less is no meter.
  const Case cases[] = {
      {"3/4", 3, 4, 1},  {" 3/ 4", 3, 4, 1}, {"3/4+2", 3, 4, 1}, {"99999999999/4", INT_MAX, 4, 1},
      {"C", 4, 4, 2},    {"C/", 2, 2, 3},    {"4", 0, 1, 0},     {"3 /4", 0, 1, 0},
      {"-3/4", 0, 1, 0}, {"3/-4", 0, 1, 0},  {"0/4", 0, 1, 0},
  };
  for (Case const& c : cases) {
    ARMeter meter;
    EXPECT_EQ(Bind(meter, Given().Text(c.text)), "");
    EXPECT_EQ(meter.getNumerator(), c.numerator) << c.text;
    EXPECT_EQ(meter.getDenominator(), c.denominator) << c.text;
    EXPECT_EQ(meter.getMeterType(), c.kind) << c.text;
    EXPECT_EQ(meter.getMeterTime(), Fraction(c.numerator, c.denominator));
    EXPECT_STREQ(meter.getName().c_str(), c.text) << "the text is kept as written";
    EXPECT_EQ(Rmn(meter), c.kind == 0 ? "" : "\\meter<\"" + std::string(c.text) + "\"> ");
  }
}

TEST(ARMeterTest, TakesItsOwnSizeAndTheBarLineSwitch) {
  ARMeter meter;
  EXPECT_FLOAT_EQ(meter.getMeterSize(), 1.0f);
  EXPECT_EQ(meter.getAutoBarlines(), 1);
  Bind(meter, Given().Text("6/8").Float(0.5f, "size").Text("off", "autoBarlines"));
  EXPECT_FLOAT_EQ(meter.getMeterSize(), 0.5f);
  EXPECT_EQ(meter.getSize(), nullptr) << "the size named in the tag is the meter's own";
  EXPECT_EQ(meter.getAutoBarlines(), 0);
  for (char const* other : {"on", "", "Off"}) {
    Bind(meter, Given().Text("6/8").Text(other, "autoBarlines"));
    EXPECT_EQ(meter.getAutoBarlines(), 1) << other;
    EXPECT_FLOAT_EQ(meter.getMeterSize(), 1.0f);
  }

  const ARMeter made(6, 8);
  EXPECT_EQ(Rmn(made), "\\meter<\"6/8\"> ");
  EXPECT_EQ(ARMeter(3, 0).getMeterTime(), Fraction(0, 1)) << "3/0 is no meter";
}

}  // namespace
