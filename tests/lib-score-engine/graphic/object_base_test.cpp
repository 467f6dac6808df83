#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ARNote.h"
#include "GRARCompositeNotationElement.h"
#include "GRGlue.h"
#include "NEPointerList.h"
#include "NVstring.h"
#include "graphic_fixture.h"
#include "lib-score-engine/assertion_pattern.h"

namespace {

using EngineTesting::GraphicFixture;
using Calls = std::vector<std::string>;

// An element whose display settings a test sets directly.
class Probe : public GRNotationElement {
 public:
  explicit Probe(NVPoint at = {}, unsigned int symbol = 0) {
    mPosition = at;
    mSymbol = symbol;
  }
  unsigned char const* getColRef() const override { return color.empty() ? nullptr : color.data(); }
  float getSize() const override { return size; }
  NVPoint const& getReferencePosition() const override { return reference; }
  NVPoint const& getOffset() const override { return offset; }
  NVstring const* getFont() const override { return font.length() ? &font : nullptr; }
  NVstring const* getFontAttrib() const override {
    return attributes.length() ? &attributes : nullptr;
  }
  int getFontSize() const override { return fontSize; }

  std::vector<unsigned char> color;
  float size = 1;
  NVPoint reference;
  NVPoint offset;
  NVstring font;
  NVstring attributes;
  int fontSize = 75;
};

class ObjectBaseTest : public GraphicFixture {};

// Size 1 draws in the start-up font; another size asks the cache for 4 x 50 x size. Only the
// reference position scales; a colour is set around the symbol and left opaque black.
TEST_F(ObjectBaseTest, SymbolSizeChoosesTheFontAndScalesOnlyTheReferencePosition) {
  struct Case {
    float size;
    NVPoint offset;
    std::vector<unsigned char> color;
    Calls calls;
    Calls requests;
  } const cases[] = {
      // clang-format off
      {1, {5, 5}, {},
       {"SetFontAlign(17)", "SetMusicFont(Razid2@200)",
        "DrawMusicSymbol(75,55,65) font=Razid2@200 color=rgba(0,0,0,255) align=17"}, {}},
      {0.5f, {5, 5}, {},
       {"SetFontAlign(17)", "SetMusicFont(Razid2@100)",
        "DrawMusicSymbol(90,55,65) font=Razid2@100 color=rgba(0,0,0,255) align=17"},
       {"CreateVGFont(Razid2,100,0)"}},
      {0.75f, {}, {200, 10, 20, 128},
       {"SetFontColor(rgba(200,10,20,128))", "SetFontAlign(17)", "SetMusicFont(Razid2@150)",
        "DrawMusicSymbol(77.5,50,65) font=Razid2@150 color=rgba(200,10,20,128) align=17",
        "SetFontColor(rgba(0,0,0,255))"},
       {"CreateVGFont(Razid2,150,0)"}},
      // clang-format on
  };
  StartEngine();
  for (Case const& c : cases) {
    SCOPED_TRACE(c.size);
    Probe element({100, 50}, 65);
    element.reference = {-30, 0};
    element.offset = c.offset;
    element.size = c.size;
    element.color = c.color;
    device.calls.clear();
    system.requests.clear();
    element.OnDraw(device, map);
    EXPECT_EQ(device.calls, c.calls);
    EXPECT_EQ(system.requests, c.requests);
  }
  EXPECT_TRUE(map.IsEmpty()) << "plain symbols report nothing";
  device.calls.clear();
  Probe({100, 50}, 0).OnDraw(device, map);
  EXPECT_TRUE(device.calls.empty()) << "symbol 0 draws nothing";
}

TEST_F(ObjectBaseTest, TextUsesTheStartUpFontOrANamedOneAndScalesTheReferenceByFontSize) {
  StartEngine();
  Probe element({100, 50});
  element.reference = {0.5f, 1};
  element.fontSize = 40;
  element.OnDrawText(device, "p", 1);
  element.font = "Arial";
  element.attributes = "bi";
  element.color = {0, 0, 255, 255};
  element.OnDrawText(device, "f", 1);
  EXPECT_EQ(device.calls,
            (Calls{"SetTextFont(Times@75)", "SetFontAlign(17)",
                   "DrawString(120,90,p,1) font=Times@75 color=rgba(0,0,0,255) align=17",
                   "SetTextFont(Arial@40)", "SetFontColor(rgba(0,0,255,255))", "SetFontAlign(17)",
                   "DrawString(120,90,f,1) font=Arial@40 color=rgba(0,0,255,255) align=17",
                   "SetFontColor(rgba(0,0,0,255))"}));
  EXPECT_EQ(system.requests, (Calls{"CreateVGFont(Arial,40,3)"}));
}

TEST_F(ObjectBaseTest, SymbolWidthIsMeasuredOnceOnTheRegisteredDevice) {
  EXPECT_EQ(GObject::GetSymbolExtent(70), 0) << "no device yet";
  StartEngine();
  EXPECT_EQ(GObject::GetSymbolExtent(70), 0) << "the 0 measured without a device is kept";
  EXPECT_EQ(GObject::GetSymbolExtent(65), 60);
  EXPECT_EQ(GObject::GetSymbolExtent(65), 60);
  EXPECT_EQ(GObject::GetSymbolExtent(66), 60);
  EXPECT_EQ(system.measured, 2);
  EXPECT_EQ(GObject::GetSymbolExtent(65 + 256), 60) << "a code beyond a byte measures its low byte";
  EXPECT_EQ(system.measured, 2);
}

TEST_F(ObjectBaseTest, PositionsReachAssociatedElementsThatHaveNoSpringOfTheirOwn) {
  Probe follower, sprung, leader;  // the leader goes first, telling the others
  sprung.setNeedsSpring(1);
  leader.addAssociation(&follower);
  leader.addAssociation(&sprung);
  leader.setPosition({10, 20});
  leader.setHPosition(30);
  EXPECT_EQ(follower.getPosition(), (NVPoint{30, 20}));
  EXPECT_EQ(sprung.getPosition(), (NVPoint{0, 0}));
  {
    Probe gone;
    gone.addAssociation(&leader);
    leader.addAssociation(&gone);
  }
  EXPECT_EQ(leader.getAssociations()->GetCount(), 2) << "a deleted element is forgotten";
}

TEST_F(ObjectBaseTest, CompositeMovesItsPartsAndTakesTheirBoxAndSpaces) {
  ARNote ar(Fraction(1, 4), Fraction(1, 8));
  GRARCompositeNotationElement composite(&ar);
  EXPECT_EQ(composite.getRelativeEndTimePosition(), Fraction(3, 8));
  auto* head = new Probe;
  head->setBoundingBox({-10, -5, 10, 5});
  head->setLeftSpace(12);
  auto* dot = new Probe;
  dot->setBoundingBox({0, 0, 4, 4});
  dot->setRightSpace(30);
  composite.AddTail(head);
  composite.AddTail(dot);
  composite.setPosition({100, 50});
  EXPECT_EQ(dot->getPosition(), (NVPoint{100, 50}));
  EXPECT_EQ(composite.getBoundingBox(), (NVRect{-10, -5, 10, 5}));
  EXPECT_EQ(composite.getLeftSpace(), 12);
  EXPECT_EQ(composite.getRightSpace(), 30);
}

TEST_F(ObjectBaseTest, ElementLeavesItsAbstractObjectAndDeletesItOnlyWhenOwned) {
  ARNote kept(Fraction(1, 4));
  auto* element = new GRARNotationElement(&kept);
  kept.addGRRepresentation(element);
  delete element;
  EXPECT_EQ(kept.getGRRepresentation()->GetCount(), 0);
  delete new GRARNotationElement(new ARNote(Fraction(1, 4)), true);  // the leak check watches
  EXPECT_DEATH(GRARNotationElement(nullptr),
               EngineTesting::AssertionPattern("mAbstractRepresentation", "GRARNotationElement",
                                               "lib-score-engine/graphic/GRARNotationElement.cpp"));
}

TEST_F(ObjectBaseTest, SharedSpringOrderPutsTimeFirstThenBeginGluesAndEndGluesLast) {
  Probe early, late, note;
  late.setRelativeTimePosition(Fraction(1, 4));
  GRGlue start(nullptr, GRGlue::START_GLUE);
  GRGlue end(nullptr, GRGlue::END_GLUE);
  struct Case {
    GRNotationElement const* a;
    GRNotationElement const* b;
    int order;
  } const cases[] = {{&early, nullptr, -1}, {nullptr, &early, 1}, {&early, &late, -1},
                     {&late, &start, 1},    {&start, &note, -1},  {&note, &start, 1},
                     {&end, &note, 1},      {&note, &end, -1},    {&early, &note, 0}};
  for (Case const& c : cases) EXPECT_EQ(GRNotationElement::ComparePos(c.a, c.b), c.order);
}

TEST(GraphicValuesTest, RectanglesMergeOnlyWhatHasExtent) {
  struct Case {
    NVRect box;
    NVRect other;
    NVRect merged;
  } const cases[] = {
      {{0, 0, 10, 10}, {0, 0, 0, 0}, {0, 0, 10, 10}},    {{0, 0, 0, 0}, {1, 2, 3, 4}, {1, 2, 3, 4}},
      {{0, 0, 10, 10}, {20, 0, 20, 5}, {0, 0, 20, 10}},  // zero width, some height: counts
      {{5, 0, 5, 10}, {1, 2, 3, 4}, {1, 2, 3, 4}},       // a flat receiver is replaced
      {{0, 0, 10, 10}, {-5, 5, 5, 20}, {-5, 0, 10, 20}},
  };
  for (Case const& c : cases) {
    NVRect box = c.box;
    box.Merge(c.other);
    EXPECT_EQ(box, c.merged) << c.box << " + " << c.other;
  }
  EXPECT_FALSE(GObject::positionIsOnStaffLine(75, 50));
  EXPECT_TRUE(GObject::positionIsOnStaffLine(100, 50));
}

}  // namespace
