#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "ARBar.h"
#include "ARClef.h"
#include "ARMeter.h"
#include "ARRepeatEnd.h"
#include "GRBar.h"
#include "GRClef.h"
#include "GRGlue.h"
#include "GRMeter.h"
#include "GRRepeatEnd.h"
#include "lib-score-engine/bound_tag.h"
#include "marks_fixture.h"

namespace {

using EngineTesting::MarksFixture;
using testing::ElementsAre;
using testing::HasSubstr;

class ClefTest : public MarksFixture {
 protected:
  ARClef* Clef(char const* name) {
    auto* clef = new ARClef;
    clef->setName(NVstring(name));
    return clef;
  }
};

TEST_F(ClefTest, EachKindSetsGlyphPitchOctaveLineAndBox) {
  struct Case {
    char const* name;
    unsigned int glyph;
    int pitch, octave, line;
    float y, top, bottom, rightSpace;
    std::vector<std::string> drawn;
  } const cases[] = {
      {"g2", 38, 6, 1, 3, 150, -205, 135, 60, {"DrawMusicSymbol(40,200,38)"}},
      {"f4", 63, 5, 0, 1, 50, -50, 150, 60, {"DrawMusicSymbol(40,200,63)"}},
      {"c3", 66, 2, 1, 2, 100, -100, 100, 60, {"DrawMusicSymbol(40,200,66)"}},
      {"perc", 38, 6, 1, 3, 150, -205, 135, 60, {"DrawMusicSymbol(40,200,38)"}},
      // Two treble glyphs side by side and never an octave mark.
      {"gg2-8",
       38,
       6,
       0,
       3,
       150,
       -205,
       210,
       160,
       {"DrawMusicSymbol(40,200,38)", "DrawMusicSymbol(140,200,38)"}},
      {"g2+8",
       38,
       6,
       2,
       3,
       150,
       -280,
       135,
       60,
       {"DrawMusicSymbol(40,200,38)", "DrawString(100,-55,8,1)"}},
      {"f4-15",
       63,
       5,
       -2,
       1,
       50,
       -50,
       225,
       60,
       {"DrawMusicSymbol(40,200,63)", "DrawString(100,275,15,2)"}},
      // Nothing drawn, but the clef is still reported.
      {"none", 0, 6, 1, 3, 0, 0, 0, 10, {}},
  };
  for (Case const& c : cases) {
    SCOPED_TRACE(c.name);
    device.calls.clear();
    map.elements.clear();
    GRClef clef(Clef(c.name), staff, true);
    EXPECT_EQ(clef.getSymbol(), c.glyph);
    EXPECT_EQ(clef.mClefPitch, c.pitch);
    EXPECT_EQ(clef.mClefOctave, c.octave);
    EXPECT_EQ(clef.mClefStaffLine, c.line);
    EXPECT_EQ(clef.getPosition().y, c.y);
    EXPECT_EQ(clef.getBoundingBox().top, c.top);
    EXPECT_EQ(clef.getBoundingBox().bottom, c.bottom);
    EXPECT_EQ(clef.getRightSpace(), c.rightSpace);
    EXPECT_EQ(clef.getNeedsSpring(), 1);
    clef.setHPosition(100);
    clef.OnDraw(device, map);
    EXPECT_EQ(Drawn(), c.drawn);
    ASSERT_EQ(map.elements.size(), 1u);
    ScoreElementDesc const& record = map.elements[0];
    float const leftSpace = c.glyph ? 60 : 10;
    EXPECT_EQ(std::vector<float>({float(record.kind), float(record.subtype), record.left,
                                  record.top, record.right, record.bottom, record.refX}),
              std::vector<float>(
                  {2, 13, 100 - leftSpace, c.y + c.top, 100 + c.rightSpace, c.y + c.bottom, 100}));
  }
}

TEST_F(ClefTest, GlyphAndOctaveMarkAreDrawnInTheirOwnAlignmentAndFont) {
  GRClef clef(Clef("g2+8"), staff, true);
  clef.setHPosition(100);
  clef.OnDraw(device, map);
  EXPECT_THAT(CallsFrom("DrawMusicSymbol")[0], HasSubstr("align=17"));
  EXPECT_THAT(CallsFrom("DrawString")[0],
              HasSubstr("font=Times@75 color=rgba(0,0,0,255) align=10"));
  // A clef in error draws and reports nothing.
  clef.setError(1);
  device.calls.clear();
  clef.OnDraw(device, map);
  EXPECT_TRUE(device.calls.empty());
  EXPECT_EQ(map.elements.size(), 1u);
}

TEST_F(ClefTest, ClefsOfTheSameKindLineAndOctavaAreEqual) {
  GRClef treble(Clef("g2"), staff, true);
  GRClef treble2(Clef("treble"), staff, true);
  GRClef octave(Clef("g2+8"), staff, true);
  GRClef bass(Clef("f4"), staff, true);
  GRMeter meter(new ARMeter(3, 4), staff, true);
  EXPECT_TRUE(treble == static_cast<GRTag const&>(treble2));
  EXPECT_FALSE(treble == static_cast<GRTag const&>(octave));
  EXPECT_FALSE(treble == static_cast<GRTag const&>(bass));
  EXPECT_FALSE(treble == static_cast<GRTag const&>(meter));
}

class MeterTest : public MarksFixture {};

TEST_F(MeterTest, NumbersAreDrawnDigitByDigitAndCAsOneGlyph) {
  ARMeter common;
  EngineTesting::Bind(common, EngineTesting::Given().Text("C"));
  ARMeter cut;
  EngineTesting::Bind(cut, EngineTesting::Given().Text("C/"));
  struct Case {
    ARMeter* meter;
    float left, right;
    std::vector<std::string> drawn;
  } const cases[] = {
      // Widths: "12" 200, "4" and "8" 100, "100" 300; reference x is -(half width + 10).
      {new ARMeter(12, 8),
       -110,
       150,
       {"DrawMusicSymbol(860,50,49)", "DrawMusicSymbol(920,50,50)", "DrawMusicSymbol(890,150,56)"}},
      {new ARMeter(3, 4), -60, 100, {"DrawMusicSymbol(940,50,51)", "DrawMusicSymbol(940,150,52)"}},
      {new ARMeter(100, 4),
       -160,
       200,
       {"DrawMusicSymbol(810,50,49)", "DrawMusicSymbol(870,50,48)", "DrawMusicSymbol(840,150,52)"}},
      {&common, -60, 100, {"DrawMusicSymbol(940,100,99)"}},
      {&cut, -60, 100, {"DrawMusicSymbol(940,100,67)"}},
  };
  for (Case const& c : cases) {
    SCOPED_TRACE(c.drawn.back());
    device.calls.clear();
    GRMeter meter(c.meter, staff, c.meter != &common && c.meter != &cut);
    EXPECT_EQ(meter.getBoundingBox().left, c.left);
    EXPECT_EQ(meter.getBoundingBox().right, c.right);
    EXPECT_EQ(meter.getBoundingBox().bottom, 250);
    EXPECT_EQ(meter.getLeftSpace(), -c.left);
    meter.setHPosition(1000);
    meter.OnDraw(device, map);
    EXPECT_EQ(Drawn(), c.drawn);
  }
  EXPECT_TRUE(map.elements.empty());
  GRMeter common2(&common, staff, false);
  GRMeter cut2(&cut, staff, false);
  EXPECT_FALSE(common2 == static_cast<GRTag const&>(cut2));
}

TEST_F(MeterTest, SharedSpringOrderIsBarClefKeyMeterThenOthersByExactClass) {
  ARClef arClef;
  ARMeter arMeter(3, 4);
  ARBar arBar;
  ARRepeatEnd arRepeat;
  GRClef clef(&arClef, staff, false);
  GRMeter meter(&arMeter, staff, false);
  GRBar bar(&arBar, staff, Frac_0);
  GRBar bar2(&arBar, staff, Frac_0);
  // A repeat end is a bar, but not of the bar's own class.
  GRRepeatEnd repeat(&arRepeat, staff, Frac_0);
  GRGlue start(nullptr, GRGlue::START_GLUE);
  GRBar later(&arBar, staff, Frac_1_2);
  struct Case {
    GRNotationElement const* a;
    GRNotationElement const* b;
    int order;
  } const cases[] = {
      {&bar, &clef, -1},     {&clef, &bar, 1},      {&clef, &meter, -1},  {&meter, &clef, 1},
      {&bar, &meter, -1},    {&meter, &repeat, -1}, {&repeat, &bar, 1},   {&bar, &bar2, 0},
      {&repeat, &later, -1}, {&start, &bar, -1},    {&later, &repeat, 1},
  };
  for (Case const& c : cases) {
    SCOPED_TRACE(testing::Message() << &c - cases);
    EXPECT_EQ(GRNotationElement::ComparePos(c.a, c.b), c.order);
  }
}

}  // namespace
