#include <gtest/gtest.h>

#include <cstring>

#include "ARUnits.h"
#include "TagParameterFloat.h"
#include "TagParameterInt.h"
#include "TagParameterString.h"
#include "assertion_pattern.h"

namespace {

using EngineTesting::AssertionPattern;

constexpr float kUnitsPerCm = 237.10631f;

// Units tags change the process-wide default; every test leaves it as it found it.
class DefaultUnit {
 public:
  explicit DefaultUnit(char const* unit) : mSaved(ARUnits::sType) { ARUnits::sType = unit; }
  ~DefaultUnit() { ARUnits::sType = mSaved; }

 private:
  NVstring mSaved;
};

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

  TagParameterFloat parameter(7.0f);
  parameter.setUnit("cm");
  parameter.setValue("3");  // no suffix: the unit stays
  EXPECT_FLOAT_EQ(parameter.getUnitValue(), 3.0f);
  EXPECT_FLOAT_EQ(parameter.getValue(50.0f), 3.0f * kUnitsPerCm);
  parameter.setValue("");
  EXPECT_FLOAT_EQ(parameter.getUnitValue(), 0.0f);
}

TEST(TagParameterFloatTest, AnEmptyUnitFollowsTheDefaultUnit) {
  TagParameterFloat parameter(2.0f);
  parameter.setUnit("");
  EXPECT_FLOAT_EQ(parameter.getValue(50.0f), 50.0f);
  {
    DefaultUnit units("cm");
    EXPECT_FLOAT_EQ(parameter.getValue(50.0f), 2.0f * kUnitsPerCm);
  }
  {
    DefaultUnit units("inch");  // read like a stored unit: "in"
    EXPECT_FLOAT_EQ(parameter.getValue(50.0f), 2.0f * 2.54f * kUnitsPerCm);
  }
  EXPECT_FLOAT_EQ(TagParameterFloat::convertValue(4.0f, "", 10.0f), 20.0f);
}

TEST(TagParameterFloatTest, ResetChoosesBetweenLengthAndPlainNumber) {
  TagParameterFloat parameter(0.0f);
  parameter.reset(1.5f, "hs");
  EXPECT_FLOAT_EQ(parameter.getValue(50.0f), 37.5f);
  parameter.reset(0.7f, "");
  EXPECT_FLOAT_EQ(parameter.getValue(50.0f), 0.7f);
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
  TagParameterInt target(9);
  EXPECT_FALSE(target.copyValue(&withUnit));
  EXPECT_EQ(target.getValue(), 9);
  EXPECT_FALSE(plain.copyValue(&withUnit));
  EXPECT_FLOAT_EQ(plain.getUnitValue(), 3.0f);

  // A length keeps its flag and takes the unit with the value.
  TagParameterFloat length(0.0f);
  length.setUnit("");
  EXPECT_TRUE(length.copyValue(&withUnit));
  EXPECT_FLOAT_EQ(length.getValue(50.0f), kUnitsPerCm);

  TagParameterString text("x");
  EXPECT_FALSE(plain.copyValue(&text));
  EXPECT_FALSE(plain.copyValue(nullptr));
  EXPECT_FALSE(text.copyValue(&plain));
}

TEST(TagParameterIntTest, HoldsTruncatedIntegers) {
  TagParameterInt parameter(0);
  parameter.setValue("42");
  EXPECT_EQ(parameter.getValue(), 42);
  TagParameterInt negative(0);
  TagParameterFloat fractional(-2.7f);
  EXPECT_FALSE(negative.copyValue(&fractional));
  EXPECT_TRUE(fractional.copyValue(&parameter));
  EXPECT_EQ(static_cast<int>(fractional.getUnitValue()), 42);
}

TEST(TagParameterStringTest, ValueCopiesAndComparisons) {
  TagParameterString parameter("black");
  EXPECT_TRUE(parameter == "black");
  EXPECT_FALSE(parameter == "Black");

  TagParameterString other("red");
  other.mName = "color";
  parameter.set(other);
  EXPECT_STREQ(parameter.getValue(), "red");
  EXPECT_TRUE(parameter.mName.equal("color"));

  TagParameterInt number(1);
  EXPECT_FALSE(parameter.copyValue(&number));
  TagParameterString source("blue");
  EXPECT_TRUE(parameter.copyValue(&source));
  EXPECT_STREQ(parameter.getValue(), "blue");
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
      {"WHITE", true, {255, 255, 255, 255}},  {"0x1g2233", true, {1, 0, 0, 255}},
      {"0xzz223344", true, {0, 0, 0, 0}},     {"0x12345", false, {0, 0, 0, 255}},
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
}

TEST(TagParameterStringDeathTest, NullTextStops) {
  EXPECT_DEATH(TagParameterString(nullptr),
               AssertionPattern("theString", "TagParameterString",
                                "lib-score-engine/abstract/TagParameterString.cpp"));
}

}  // namespace
