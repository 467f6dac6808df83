#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "ARBar.h"
#include "ARDoubleBar.h"
#include "ARFinishBar.h"
#include "ARRepeatBegin.h"
#include "ARRepeatEnd.h"
#include "GRAccolade.h"
#include "GRBar.h"
#include "GRDoubleBar.h"
#include "GRFinishBar.h"
#include "GRRepeatBegin.h"
#include "GRRepeatEnd.h"
#include "make_curve.h"
#include "marks_fixture.h"

namespace {

using EngineTesting::MarksFixture;
using testing::ElementsAre;

class BarTest : public MarksFixture {
 protected:
  ARBar arBar;
};

// Glyphs are 100 wide: a bar line draws at (-50, 200) from its place.
TEST_F(BarTest, EveryDrawnBarOrRepeatSendsOneZeroWidthBarRecord) {
  ARDoubleBar arDouble;
  ARFinishBar arFinish;
  ARRepeatBegin arRepeatBegin;
  ARRepeatEnd arRepeatEnd;
  GRBar bar(&arBar, staff, Frac_1_2);
  GRFinishBar finish(&arFinish, staff, Frac_1);
  GRRepeatEnd repeatEnd(&arRepeatEnd, staff, Frac_1_2);
  GRRepeatBegin repeatBegin(&arRepeatBegin);
  GRDoubleBar doubleBar(&arDouble, staff, Frac_1_2);
  struct Case {
    GRNotationElement* bar;
    float leftSpace, rightSpace, date;
    std::string drawn;
  } const cases[] = {
      {&bar, 50, 50, 0.5, "DrawMusicSymbol(250,200,139)"},
      {&finish, 55, 0, 1, "DrawMusicSymbol(260,200,92)"},
      // Repeat signs are drawn centred on their place and take half their width each side.
      {&repeatEnd, 50, 50, 0.5, "DrawMusicSymbol(300,200,125)"},
      {&repeatBegin, 50, 50, 0, "DrawMusicSymbol(300,200,93)"},
  };
  for (Case const& c : cases) {
    device.calls.clear();
    map.elements.clear();
    EXPECT_EQ(c.bar->getLeftSpace(), c.leftSpace);
    EXPECT_EQ(c.bar->getRightSpace(), c.rightSpace);
    c.bar->setHPosition(300);
    c.bar->OnDraw(device, map);
    EXPECT_THAT(Drawn(), ElementsAre(c.drawn));
    ASSERT_EQ(map.elements.size(), 1u);
    ScoreElementDesc const& r = map.elements[0];
    EXPECT_EQ(std::vector<float>(
                  {float(r.kind), float(r.subtype), r.date, r.left, r.top, r.right, r.bottom}),
              std::vector<float>({3, 0, c.date, 300, 0, 300, 200}));
  }
  EXPECT_THAT(CallsFrom("DrawMusicSymbol")[0], testing::HasSubstr("align=9"));
  // A double bar draws two bar lines 20 apart around its place, takes room for both, and sends
  // no record.
  device.calls.clear();
  doubleBar.setHPosition(300);
  doubleBar.OnDraw(device, map);
  EXPECT_THAT(Drawn(), ElementsAre("DrawMusicSymbol(240,200,139)", "DrawMusicSymbol(260,200,139)"));
  EXPECT_EQ(map.elements.size(), 1u);
  EXPECT_EQ(doubleBar.getLeftSpace(), 60);
  EXPECT_EQ(doubleBar.getRightSpace(), 60);
  EXPECT_TRUE(bar == static_cast<GRTag const&>(doubleBar));
  EXPECT_FALSE(bar == static_cast<GRTag const&>(finish));
}

TEST_F(BarTest, SystemBarRepeatsItsGlyphDownToItsEnd) {
  struct Case {
    float top, bottom;
    std::vector<std::string> drawn;
  } const cases[] = {
      {0,
       520,
       {"DrawMusicSymbol(50,200,139)", "DrawMusicSymbol(50,350,139)", "DrawMusicSymbol(50,500,139)",
        "DrawMusicSymbol(50,520,139)"}},
      {0, 150, {"DrawMusicSymbol(50,150,139)"}},
      {100, 100, {}},
  };
  for (Case const& c : cases) {
    device.calls.clear();
    GRBar bar(&arBar, &grSystem, staff, Frac_0);
    EXPECT_EQ(bar.getGRStaff(), nullptr);
    EXPECT_EQ(bar.getTagType(), GRTag::SYSTEMTAG);
    bar.setPosFrom(c.top);
    bar.setPosTo(c.bottom);
    bar.setHPosition(100);
    bar.OnDraw(device, map);
    EXPECT_EQ(Drawn(), c.drawn);
  }
  EXPECT_EQ(map.elements.size(), 3u);
}

TEST_F(BarTest, AccoladesAreABracketWithHookedEndsOrABraceOfTwoCurvedHalves) {
  CurvePoints points;
  EXPECT_EQ(makeCurve(0, 0, 0, 100, 100, 100, 100, 0, 25, points), 27);
  EXPECT_EQ(points.xs[0], points.xs[1]);
  EXPECT_FLOAT_EQ(points.ys[13], 3 * 0.48f * 0.52f * 100);

  for (int id : {1, 2, 4}) GRAccolade(id, 0).draw(device, NVPoint{0, 0}, NVPoint{0, 500});
  EXPECT_THAT(device.calls,
              ElementsAre("PushPen(rgba(0,0,0,0),0)", "PushFillColor(rgba(0,0,0,255))",
                          "Rectangle(-50,-2.5,-25,502.5)", "Polygon(18)", "Polygon(18)",
                          "PopFillColor()", "PopPen()",  // the bracket
                          "PushPen(rgba(0,0,0,255),1)", "PushFillColor(rgba(0,0,0,255))",
                          "Polygon(54)", "Polygon(54)", "PopFillColor()", "PopPen()"));
}

}  // namespace
