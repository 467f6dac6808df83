#include <gtest/gtest.h>

#include <memory>

#include "ARAcc.h"
#include "ARAlter.h"
#include "tag_testing.h"

namespace {

using EngineTesting::Given;
using EngineTesting::Rmn;

TEST(ARAlterTest, DetuningShowsItsValueUnlessATextIsWritten) {
  struct Case {
    Given given;
    char const* text;
    float value;
    char const* rmn;
  };
  const Case cases[] = {
      {Given().Float(0.5f), "0.50", 0.5f, "\\alter<detune=0.5> "},
      {Given().Float(-1.25f, "detune"), "-1.25", -1.25f, "\\alter<detune=-1.25> "},
      {Given().Float(0.5f).Text("+q"), "+q", 0.5f, "\\alter<detune=0.5,text=\"+q\"> "},
      {Given().Float(3e38f), "", 3e38f, ""},  // the longest value still fits its text
      {Given().Text("x", "text"), "", 0.0f, "\\alter<detune=0> "},  // detune is required
  };
  for (Case const& c : cases) {
    ARAlter alter;
    EngineTesting::Apply(alter, c.given);
    EXPECT_FLOAT_EQ(alter.getAlterVal(), c.value);
    if (*c.rmn == '\0') continue;
    EXPECT_EQ(alter.getAlterText(), c.text);
    EXPECT_EQ(Rmn(alter), c.rmn);
  }
}

TEST(ARAlterTest, ClosingARangeRestoresTheEarlierDetuning) {
  ARAlter first;
  EngineTesting::Apply(first, Given().Float(0.25f).Text("quarter"));
  ARAlter second(&first);
  EngineTesting::Apply(second, Given().Float(0.5f));
  EXPECT_TRUE(second.IsStateTag());

  std::unique_ptr<ARAlter> restored(second.getEndTag());
  EXPECT_EQ(restored->getPrevious(), nullptr);
  EXPECT_FLOAT_EQ(restored->getAlterVal(), 0.25f);
  EXPECT_EQ(restored->getAlterText(), "quarter");
  std::unique_ptr<ARAlter> none(first.getEndTag());
  EXPECT_FLOAT_EQ(none->getAlterVal(), 0.0f);
  EXPECT_EQ(none->getAlterText(), "");
}

TEST(ARAccTest, TheStyleIsKeptAndCopied) {
  ARAcc acc;
  EngineTesting::Apply(acc, Given().Text("cautionary", "style"));
  ARAcc copy(acc);
  EXPECT_STREQ(copy.getStyle()->getValue(), "cautionary");
  EXPECT_EQ(Rmn(copy), "\\acc<style=\"cautionary\"> ");
  ARAcc plain;
  EngineTesting::Apply(plain, Given());
  EXPECT_EQ(plain.getStyle(), nullptr);
}

}  // namespace
