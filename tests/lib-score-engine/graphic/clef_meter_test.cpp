#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "ARBar.h"
#include "ARClef.h"
#include "ARKey.h"
#include "ARMeter.h"
#include "ARRepeatEnd.h"
#include "GRBar.h"
#include "GRClef.h"
#include "GRGlue.h"
#include "GRKey.h"
#include "GRMeter.h"
#include "GRRepeatEnd.h"
#include "lib-score-engine/bound_tag.h"
#include "marks_fixture.h"

namespace {

using EngineTesting::Bind;
using EngineTesting::Given;
using EngineTesting::MarksFixture;
using testing::HasSubstr;

class ClefMeterTest : public MarksFixture {
 protected:
  static ARClef* Clef(char const* name) {
    auto* clef = new ARClef;
    clef->setName(NVstring(name));
    return clef;
  }
};

// Glyphs are 100 wide: a clef claims 60 each side and draws at (-60, 50) from its place.
TEST_F(ClefMeterTest, EachClefKindSetsGlyphPitchOctaveLineBoxAndRecord) {
  struct Case {
    char const* name;
    int glyph, pitch, octave, line;
    float y, top, bottom, leftSpace, rightSpace;
    char const* drawn;
  } const cases[] = {
      {"g2", 38, 6, 1, 3, 150, -240, 135, 60, 60, "DrawMusicSymbol(40,200,38)"},
      {"c3", 66, 2, 1, 2, 100, -100, 100, 60, 60, "DrawMusicSymbol(40,200,66)"},
      {"g2+8", 38, 6, 2, 3, 150, -315, 135, 60, 60,
       "DrawMusicSymbol(40,200,38) DrawString(100,-90,8,1)"},
      {"f4-15", 63, 5, -2, 1, 50, -50, 225, 60, 60,
       "DrawMusicSymbol(40,200,63) DrawString(100,275,15,2)"},
      // Two treble glyphs side by side and never an octave mark.
      {"gg2-8", 38, 6, 0, 3, 150, -240, 210, 60, 160,
       "DrawMusicSymbol(40,200,38) DrawMusicSymbol(140,200,38)"},
      // Nothing drawn, but the clef is still reported.
      {"none", 0, 6, 1, 3, 0, 0, 0, 10, 10, ""},
  };
  for (Case const& c : cases) {
    SCOPED_TRACE(c.name);
    device.calls.clear();
    map.elements.clear();
    GRClef clef(Clef(c.name), staff, true);
    EXPECT_EQ(std::vector<int>(
                  {int(clef.getSymbol()), clef.mClefPitch, clef.mClefOctave, clef.mClefStaffLine}),
              std::vector<int>({c.glyph, c.pitch, c.octave, c.line}));
    EXPECT_EQ(clef.getRightSpace(), c.rightSpace);
    clef.setHPosition(100);
    clef.OnDraw(device, map);
    EXPECT_EQ(DrawnText(), c.drawn);
    ASSERT_EQ(map.elements.size(), 1u);
    ScoreElementDesc const& r = map.elements[0];
    EXPECT_EQ(std::vector<float>({float(r.kind), float(r.subtype), r.left, r.top, r.right, r.bottom,
                                  r.refX, r.refY}),
              std::vector<float>({2, 13, 100 - c.leftSpace, c.y + c.top, 100 + c.rightSpace,
                                  c.y + c.bottom, 100, c.y}));
  }
}

TEST_F(ClefMeterTest, OctaveMarkInTheCachedTextFontAndClefEquality) {
  GRClef clef(Clef("g2+8"), staff, true);
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

  GRClef treble(Clef("treble"), staff, true);
  EXPECT_TRUE(GRClef(Clef("g2"), staff, true) == static_cast<GRTag const&>(treble));
  EXPECT_FALSE(treble == static_cast<GRTag const&>(clef));
}

TEST_F(ClefMeterTest, MeterNumbersAreDrawnDigitByDigitAndCAsOneGlyph) {
  ARMeter common;
  Bind(common, Given().Text("C"));
  ARMeter cut;
  Bind(cut, Given().Text("C/"));
  struct Case {
    ARMeter* meter;
    float left, right;
    char const* drawn;
  } const cases[] = {
      // Widths: "12" 200, "8" and "4" 100, "100" 300; reference x is -(half width + 10). Digits
      // stand 60 apart around one middle.
      {new ARMeter(12, 8), -110, 150,
       "DrawMusicSymbol(860,50,49) DrawMusicSymbol(920,50,50) DrawMusicSymbol(890,150,56)"},
      // Every digit is drawn, and the room before the number takes all of its first digit.
      {new ARMeter(100, 4), -220, 200,
       "DrawMusicSymbol(780,50,49) DrawMusicSymbol(840,50,48) DrawMusicSymbol(900,50,48) "
       "DrawMusicSymbol(840,150,52)"},
      {new ARMeter(3, 1024), -300, 250,
       "DrawMusicSymbol(790,50,51) DrawMusicSymbol(700,150,49) DrawMusicSymbol(760,150,48) "
       "DrawMusicSymbol(820,150,50) DrawMusicSymbol(880,150,52)"},
      {&common, -60, 100, "DrawMusicSymbol(940,100,99)"},
      {&cut, -60, 100, "DrawMusicSymbol(940,100,67)"},
  };
  for (Case const& c : cases) {
    device.calls.clear();
    GRMeter meter(c.meter, staff, c.meter != &common && c.meter != &cut);
    EXPECT_EQ(meter.getBoundingBox(), (NVRect{c.left, 0, c.right, 250}));
    EXPECT_EQ(meter.getLeftSpace(), -c.left);
    meter.setHPosition(1000);
    meter.OnDraw(device, map);
    EXPECT_EQ(DrawnText(), c.drawn);
  }
  EXPECT_TRUE(map.elements.empty());
  GRMeter common2(&common, staff, false);
  GRMeter cut2(&cut, staff, false);
  EXPECT_FALSE(common2 == static_cast<GRTag const&>(cut2));
}

TEST_F(ClefMeterTest, SharedSpringOrderIsBarClefKeyMeterThenOthersByExactClass) {
  ARClef arClef;
  ARMeter arMeter(3, 4);
  ARBar arBar;
  ARRepeatEnd arRepeat;
  ARKey arKey(1);
  GRClef clef(&arClef, staff, false);
  GRKey key(staff, &arKey, 0, false);
  GRMeter meter(&arMeter, staff, false);
  GRBar bar(&arBar, staff, Frac_0);
  GRBar bar2(&arBar, staff, Frac_0);
  // A repeat end is a bar, but not of the bar's own class.
  GRRepeatEnd repeat(&arRepeat, staff, Frac_0);
  GRGlue start(nullptr, GRGlue::START_GLUE);
  struct Case {
    GRNotationElement const* a;
    GRNotationElement const* b;
    int order;
  } const cases[] = {{&bar, &clef, -1},     {&clef, &bar, 1},   {&clef, &key, -1},
                     {&key, &meter, -1},    {&meter, &key, 1},  {&meter, &bar, 1},
                     {&meter, &repeat, -1}, {&repeat, &bar, 1}, {&bar, &bar2, 0},
                     {&start, &bar, -1}};
  for (Case const& c : cases) EXPECT_EQ(GRNotationElement::ComparePos(c.a, c.b), c.order);
}

}  // namespace
