#include <gtest/gtest.h>

#include <array>
#include <climits>
#include <memory>
#include <string>

#include "ARABreak.h"
#include "ARAuto.h"
#include "ARBar.h"
#include "ARColor.h"
#include "ARDefineTag.h"
#include "ARDotFormat.h"
#include "ARInstrument.h"
#include "ARNewSystem.h"
#include "ARNoteFormat.h"
#include "AROctava.h"
#include "ARRestFormat.h"
#include "ARSpecial.h"
#include "ARTDummy.h"
#include "ARTHead.h"
#include "ARTStem.h"
#include "TagParameterString.h"
#include "bound_tag.h"

namespace {

using EngineTesting::Bind;
using EngineTesting::Given;
using EngineTesting::Rmn;

constexpr float kLineSpace = 50.0f;

TEST(AutoTagTest, WrittenSwitchesAndTheirOutput) {
  using Switches = std::array<int, ARAuto::SWITCH_COUNT>;
  struct Case {
    Given given;
    Switches switches;
    int written;
    char const* rmn;
  };
  Case cases[] = {
      {Given(), {0, 0, 0, 0, 1, 1}, 0, "\\set "},
      {Given().Text("off", "endBar"), {1, 0, 0, 0, 1, 1}, 1, "\\set<endBar=\"off\"> "},
      {Given().Text("on", "endBar").Text("yes", "clefKeyMeterOrder"),
       {0, 0, 0, 0, 1, 1},
       2,
       "\\set "},
      {Given().Text("off", "autoEndBar").Text("on", "autoStretchFirstLine"),
       {1, 0, 0, 0, 1, 0},
       2,
       "\\set<endBar=\"off\",stretchFirstLine=\"on\"> "},
      {Given().Text("off").Text("off").Text("off").Text("off").Text("on").Text("on"),
       {1, 1, 1, 1, 0, 0},
       6,
       "\\set<endBar=\"off\",pageBreak=\"off\",systemBreak=\"off\",clefKeyMeterOrder=\"off\","
       "stretchLastLine=\"on\",stretchFirstLine=\"on\"> "},
  };
  for (Case const& c : cases) {
    ARAuto tag;
    Bind(tag, c.given);
    for (int i = 0; i < ARAuto::SWITCH_COUNT; ++i)
      EXPECT_EQ(tag.getSwitch(ARAuto::Switch(i)), c.switches[i]) << c.rmn << " switch " << i;
    EXPECT_EQ(tag.getNumberOfSetParameters(), c.written);
    EXPECT_EQ(Rmn(tag), c.rmn);
  }
}

TEST(RangeStateTagsTest, EndTagsRestoreTheSavedState) {
  ARTStem down(ARTStem::DOWN);
  Bind(down, Given().Float(3, "length", "hs"));
  EXPECT_EQ(Rmn(down), "\\stemsDown<3hs> ");
  ARTStem up(ARTStem::UP, &down);
  Bind(up);
  EXPECT_FLOAT_EQ(up.getLength()->getValue(kLineSpace), 175.0f) << "7 half spaces by default";
  EXPECT_EQ(Rmn(up), "\\stemsUp ");
  std::unique_ptr<ARTStem> restored(up.getEndTag()), automatic(down.getEndTag());
  EXPECT_EQ(restored->getStemState(), ARTStem::DOWN);
  EXPECT_FLOAT_EQ(restored->getLength()->getValue(kLineSpace), 75.0f);
  EXPECT_EQ(automatic->getStemState(), ARTStem::AUTO);
  EXPECT_EQ(automatic->getLength(), nullptr);

  ARTHead reverse(ARTHead::REVERSE);
  ARTHead center(ARTHead::CENTER, &reverse);
  center.setRange(true);
  EXPECT_EQ(Rmn(center), "\\headsCenter( ");
  std::unique_ptr<ARTHead> headBack(center.getEndTag()), noHead(reverse.getEndTag());
  EXPECT_EQ(headBack->getHeadState(), ARTHead::REVERSE);
  EXPECT_EQ(noHead->getHeadState(), ARTHead::NOHEADSTATE);
  EXPECT_EQ(Rmn(*noHead), "\\headsNormal ");

  ARNoteFormat slash;
  Bind(slash, Given().Text("slash"));
  ARNoteFormat diamond(&slash);
  Bind(diamond, Given().Text("diamond", "style").Text("red", "color"));
  EXPECT_EQ(Rmn(diamond), "\\noteFormat<style=\"diamond\",color=\"red\"> ");
  std::unique_ptr<ARNoteFormat> formatBack(diamond.getEndTag());
  EXPECT_STREQ(formatBack->getTPStyle()->getValue(), "slash");
  EXPECT_EQ(formatBack->getColor(), nullptr);

  ARRestFormat high;
  EXPECT_EQ(high.getPosy(), nullptr);
  Bind(high, Given().Float(4, "posy", "hs"));
  ARRestFormat low(&high);
  Bind(low, Given().Float(-2));
  EXPECT_EQ(Rmn(low), "\\restFormat<posy=-2> ");
  std::unique_ptr<ARRestFormat> restBack(low.getEndTag());
  EXPECT_FLOAT_EQ(restBack->getPosy()->getValue(kLineSpace), 100.0f);

  AROctava up8;
  Bind(up8, Given().Int(1, "i"));
  AROctava missing(&up8);
  EXPECT_EQ(Bind(missing, Given().Int(1, "x")),
            "Razid Warning: Required tag parameter was not set:  i\n");
  EXPECT_EQ(missing.getTPOctava(), nullptr);
  EXPECT_EQ(missing.getOctava(), 0);
  std::unique_ptr<AROctava> octavaBack(missing.getEndTag()), none(up8.getEndTag());
  EXPECT_EQ(octavaBack->getOctava(), 1);
  EXPECT_EQ(Rmn(*octavaBack), "\\oct<i=1> ");
  EXPECT_EQ(none->getTPOctava(), nullptr);
  // Added to a note's register, the largest count must not overflow.
  Bind(up8, Given().Int(INT_MAX));
  EXPECT_EQ(up8.getOctava(), 20);
}

TEST(RangeStateTagsTest, CopiesKeepValueSavedTagAndRange) {
  ARTStem saved(ARTStem::UP);
  ARTStem stem(ARTStem::OFF, &saved);
  stem.setRange(true);
  Bind(stem, Given().Float(2, "", "cm").Text("blue", "color"));
  std::unique_ptr<ARMusicalObject> object(stem.Copy());
  auto& copy = dynamic_cast<ARTStem&>(*object);
  EXPECT_EQ(Rmn(copy), "\\stemsOff<2cm,color=\"blue\">( ");
  EXPECT_EQ(copy.getSavedTag(), &saved);
  EXPECT_EQ(copy.getRangeSetting(), ARMusicalTag::RANGEDC);
  EXPECT_TRUE(copy.IsStateTag());
}

TEST(RangeStateTagsTest, DotFormatsStartAtTheirDefaults) {
  auto expectDefaults = [](ARDotFormat const& format) {
    EXPECT_FLOAT_EQ(format.getDX()->getValue(kLineSpace), 45.0f);
    EXPECT_FLOAT_EQ(format.getDY()->getValue(kLineSpace), 0.0f);
    EXPECT_FLOAT_EQ(format.getSize()->getValue(kLineSpace), 1.0f);
    EXPECT_FLOAT_EQ(format.getDD()->getValue(kLineSpace), 25.0f);
  };
  expectDefaults(defaultARDotFormat);
  EXPECT_EQ(Rmn(defaultARDotFormat), "\\dotFormat<dx=1.8hs,dy=0,mDD=1hs> ");

  ARDotFormat wide(&defaultARDotFormat);
  Bind(wide, Given().Float(2, "dd", "hs").Float(1, "dy", "cm").Float(0.5f, "size"));
  EXPECT_EQ(Rmn(wide), "\\dotFormat<dx=1.8hs,dy=1cm,mDD=2hs> ");
  EXPECT_FLOAT_EQ(wide.getSize()->getValue(kLineSpace), 0.5f);
  std::unique_ptr<ARDotFormat> back(wide.getEndTag()), fresh(defaultARDotFormat.getEndTag());
  expectDefaults(*back);
  expectDefaults(*fresh);
}

TEST(StateTagsTest, ColourInstrumentDefinitionsAndBreaks) {
  ARColor color;
  EXPECT_EQ(Bind(color, Given().Int(1).Float(0.5f).Int(1, "alpha")),
            "Razid Warning: Required tag parameter was not set:  blue\n");
  EXPECT_EQ(color.getRed(), 0.0f);
  Bind(color, Given().Int(1).Float(0.5f).Int(0, "blue"));
  EXPECT_EQ(color.getGreen(), 0.5f);
  EXPECT_EQ(color.getAlpha(), 0.0f);
  EXPECT_EQ(Rmn(color), "\\color<1,0.5,0> ");

  ARInstrument instrument;
  Bind(instrument, Given().Text("Piano"));
  EXPECT_STREQ(instrument.getName(), "Piano");
  EXPECT_EQ(instrument.getSecondName(), nullptr);
  EXPECT_EQ(instrument.getTransp(), nullptr);
  EXPECT_EQ(Rmn(instrument), "\\instr<\"Piano\"> ");

  ARDefineTag define;
  Bind(define, Given().Text("mytag").Text("I,n,1,o").Text("x"));
  EXPECT_EQ(Rmn(define), "\\defineTag<\"mytag\",\"I,n,1,o\",\"x\"> ");

  ARNewSystem plain, lowered;
  Bind(plain);
  Bind(lowered, Given().Float(2, "dy", "cm"));
  EXPECT_EQ(Rmn(plain), "\\newSystem ");
  EXPECT_EQ(Rmn(lowered), "\\newSystem<dy=2cm> ");

  ARABreak breaks;
  EXPECT_EQ(Rmn(breaks), "\\autoBreak<pageBreak=\"on\",systemBreak=\"on\"> ");
  Bind(breaks, Given().Text("off", "page").Text("no", "system"));
  EXPECT_EQ(breaks.getPageBreakState(), ARABreak::OFF);
  EXPECT_EQ(breaks.getSystemBreakState(), ARABreak::ON);
  EXPECT_EQ(Rmn(breaks), "\\autoBreak<pageBreak=\"off\",systemBreak=\"on\"> ");
}

TEST(StateTagsTest, OnlyStateTagsSayTheyAre) {
  std::unique_ptr<ARMusicalTag> states[] = {
      std::make_unique<ARAuto>(),       std::make_unique<ARColor>(),
      std::make_unique<ARABreak>(),     std::make_unique<ARTStem>(),
      std::make_unique<ARTHead>(),      std::make_unique<AROctava>(),
      std::make_unique<ARNoteFormat>(), std::make_unique<ARRestFormat>(),
      std::make_unique<ARDotFormat>(),  std::make_unique<ARInstrument>()};
  for (auto const& tag : states) EXPECT_TRUE(tag->IsStateTag()) << Rmn(*tag);
  std::unique_ptr<ARMusicalTag> others[] = {
      std::make_unique<ARDefineTag>(), std::make_unique<ARNewSystem>(),
      std::make_unique<ARTDummy>(), std::make_unique<ARBar>(), std::make_unique<ARSpecial>()};
  for (auto const& tag : others) EXPECT_FALSE(tag->IsStateTag()) << Rmn(*tag);
  EXPECT_EQ(Rmn(*others[2]), "") << "an unknown tag writes nothing";
}

}  // namespace
