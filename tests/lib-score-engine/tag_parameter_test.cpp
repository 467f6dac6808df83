#include <gtest/gtest.h>

#include <cfloat>
#include <climits>
#include <cstring>

#include "ARUnits.h"
#include "TagParameterFloat.h"
#include "TagParameterInt.h"
#include "TagParameterString.h"
#include "assertion_pattern.h"

namespace {

using EngineTesting::AssertionPattern;

constexpr float kUnitsPerCm = 237.10631f;

float ValueOf(char const* text, float lspace = 50.0f) {
  TagParameterFloat parameter(0.0f);
  parameter.setValue(text);
  return parameter.getValue(lspace);
}

TEST(TagParameterFloatTest, TextSplitsIntoNumberAndUnit) {
  EXPECT_FLOAT_EQ(ValueOf("2hs"), 50.0f);
  EXPECT_FLOAT_EQ(ValueOf("1cm"), kUnitsPerCm);
  EXPECT_FLOAT_EQ(ValueOf("10mm"), kUnitsPerCm);
  EXPECT_FLOAT_EQ(ValueOf("2"), 2.0f);
  EXPECT_FLOAT_EQ(ValueOf("1.5inch"), 1.5f * 2.54f * kUnitsPerCm);  // cut to "in"
  EXPECT_FLOAT_EQ(ValueOf("-0.5hs", 40.0f), -10.0f);
  // Numbers that are no lengths, or beyond the float range, stay defined.
  EXPECT_FLOAT_EQ(ValueOf("nan1"), 0.0f);
  EXPECT_FLOAT_EQ(ValueOf("1e60"), FLT_MAX);

  TagParameterFloat parameter(7.0f);
  parameter.setUnit("cm");
  parameter.setValue("3");  // no suffix: the unit stays
  EXPECT_FLOAT_EQ(parameter.getValue(50.0f), 3.0f * kUnitsPerCm);
}

TEST(TagParameterFloatTest, AnEmptyUnitFollowsTheDefaultUnit) {
  TagParameterFloat parameter(2.0f);
  parameter.setUnit("");
  EXPECT_FLOAT_EQ(parameter.getValue(50.0f), 50.0f);
  const NVstring saved(ARUnits::sType);
  ARUnits::sType = "inch";  // read like a stored unit: "in"
  EXPECT_FLOAT_EQ(parameter.getValue(50.0f), 2.0f * 2.54f * kUnitsPerCm);
  ARUnits::sType = saved;

  parameter.reset(1.5f, "hs");
  EXPECT_FLOAT_EQ(parameter.getValue(50.0f), 37.5f);
  parameter.reset(0.7f, "");
  EXPECT_FLOAT_EQ(parameter.getValue(10.0f), 0.7f);
}

TEST(TagParameterFloatTest, ConvertsUnits) {
  EXPECT_DOUBLE_EQ(gd_convertUnits(1, "in", "pt"), 72.27);
  EXPECT_NEAR(gd_convertUnits(1, "pc", "pt"), 12.0, 1e-12);
  EXPECT_DOUBLE_EQ(gd_convertUnits(3, "zz", "zz"), 3.0);
  EXPECT_DOUBLE_EQ(gd_convertUnits(1, "cm", "furlong"), -9.99999e99);
  EXPECT_DOUBLE_EQ(gd_convertUnits(5, "parsec", "cm"), 0.5);  // unknown source: millimetres
}

TEST(TagParameterFloatTest, CopyValueFollowsTheKindRules) {
  TagParameterInt integer(3);
  TagParameterFloat plain(0.0f);
  EXPECT_TRUE(plain.copyValue(&integer));
  EXPECT_FLOAT_EQ(plain.getUnitValue(), 3.0f);

  TagParameterFloat withUnit(1.0f);
  withUnit.setUnit("cm");
  EXPECT_FALSE(integer.copyValue(&withUnit));
  EXPECT_FALSE(plain.copyValue(&withUnit));
  EXPECT_FLOAT_EQ(plain.getUnitValue(), 3.0f);

  // A length keeps its flag and takes the unit with the value.
  TagParameterFloat length(0.0f);
  length.setUnit("");
  EXPECT_TRUE(length.copyValue(&withUnit));
  EXPECT_FLOAT_EQ(length.getValue(50.0f), kUnitsPerCm);

  TagParameterString text("x");
  EXPECT_FALSE(plain.copyValue(&text));
  EXPECT_FALSE(text.copyValue(&plain));
}

// Integers beyond the int range, from text or from a float, end at the range's ends.
TEST(TagParameterIntTest, HoldsTruncatedIntegersWithinRange) {
  TagParameterInt parameter(0);
  parameter.setValue("42");
  EXPECT_EQ(parameter.getValue(), 42);
  parameter.setValue("99999999999");
  EXPECT_EQ(parameter.getValue(), INT_MAX);
  parameter.setValue("-99999999999");
  EXPECT_EQ(parameter.getValue(), INT_MIN);
  TagParameterFloat& asFloat = parameter;
  asFloat.setValue(-2.7f);
  EXPECT_EQ(parameter.getValue(), -2);
  asFloat.setValue(1e20f);
  EXPECT_EQ(parameter.getValue(), INT_MAX);
}

// The colour scan writes exactly four bytes, whatever the text.
TEST(TagParameterStringTest, ReadsColours) {
  struct Case {
    char const* text;
    bool ok;
    unsigned char rgba[4];
  } const cases[] = {
      {"0xFF8000", true, {255, 128, 0, 255}}, {"0x11223344", true, {17, 34, 51, 68}},
      {"Yellow", true, {200, 200, 0, 255}},   {"orange", false, {0, 0, 0, 255}},
      {"0x1g2233", true, {1, 0, 0, 255}},     {"0xzz223344", true, {0, 0, 0, 0}},
  };
  for (Case const& c : cases) {
    TagParameterString parameter(c.text);
    unsigned char buffer[8];
    std::memset(buffer, 0xAB, sizeof buffer);
    EXPECT_EQ(parameter.getRGB(buffer), c.ok) << c.text;
    for (int i = 0; i < 4; ++i) EXPECT_EQ(buffer[i], c.rgba[i]) << c.text << " byte " << i;
    for (int i = 4; i < 8; ++i) EXPECT_EQ(buffer[i], 0xAB) << c.text << " byte " << i;
  }
  TagParameterString hex("0xFF8000");
  unsigned char rgba[4];
  hex.getRGB(rgba);
  EXPECT_STREQ(hex.getValue(), "0xff8000");
  EXPECT_TRUE(hex == "0xff8000");
  EXPECT_FALSE(hex == "0xFF8000");
}

TEST(TagParameterStringDeathTest, NullTextStops) {
  EXPECT_DEATH(TagParameterString(nullptr),
               AssertionPattern("theString", "TagParameterString",
                                "lib-score-engine/abstract/TagParameterString.cpp"));
}

}  // namespace
