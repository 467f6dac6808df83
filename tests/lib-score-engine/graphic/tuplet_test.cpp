// Tuplet numbers and brackets over parsed notes, placed clear of them or where the format puts
// them; one system and across a break.
#include <gtest/gtest.h>

#include "ARTuplet.h"
#include "GRNewTuplet.h"
#include "MoreMusicalTags.h"
#include "spanner_scene.h"

namespace {

using EngineTesting::SpannerScene;

class TupletTest : public SpannerScene {
 protected:
  // A triplet as the engine makes it: no format of its own, the number from its base.
  ARTuplet* Triplet(char const* format = nullptr) {
    auto* ar = Own(new ARTuplet);
    if (format) {
      ar->setName(format);
      ar->parseTupletFormatString();
    } else {
      ARBase base;
      base.setBase(Fraction(3, 2));
      ar->setupTuplet(&base);
    }
    return ar;
  }
  std::vector<std::string> Drawn() const {
    return Calls({"DrawString", "Line", "PushPen", "SetFontBackgroundColor"});
  }
};

TEST_F(TupletTest, QuarterTripletDrawsItsNumberOnWhiteBetweenTheBracketHalves) {
  auto& voice = Voice("[ g1/4 g1/4 g1/4 ]", {100, 200, 300});
  auto* tuplet = Span(new GRNewTuplet(staff, Triplet()), voice.events);
  DrawSystem(grSystem.get(), tuplet);
  std::vector<std::string> const drawn = Drawn();
  ASSERT_EQ(drawn.size(), 8u);
  EXPECT_EQ(drawn[0], "SetFontBackgroundColor(rgba(255,255,255,255))");
  EXPECT_EQ(drawn[1].rfind("DrawString(200,-37.5,3,1)", 0), 0u) << drawn[1];
  EXPECT_NE(drawn[1].find("align=10"), std::string::npos) << drawn[1];
  EXPECT_EQ(drawn[2], "SetFontBackgroundColor(rgba(255,255,255,0))");
  EXPECT_EQ(drawn[3], "PushPen(rgba(0,0,0,255),4)");
  EXPECT_EQ(
      std::vector<std::string>(drawn.begin() + 4, drawn.end()),
      (std::vector<std::string>{"Line(67.5,-62.5,67.5,-87.5)", "Line(67.5,-87.5,162.5,-87.5)",
                                "Line(237.5,-87.5,332.5,-87.5)", "Line(332.5,-87.5,332.5,-62.5)"}));
}

TEST_F(TupletTest, StemsDownPutTheBracketBelowAndANoteAboveTheLineBendsIt) {
  auto& down = Voice("[ c2/4 d2/4 c2/4 ]", {100, 200, 300});
  auto* below = Span(new GRNewTuplet(staff, Triplet()), down.events);
  auto const* save = Piece<GRNewTuplet::GRNewTupletSaveStruct>(below, grSystem.get());
  // Under the staff: no end higher than the staff's height.
  EXPECT_GE(save->p1.y, staff->getDredgeSize());
  EXPECT_GE(save->p2.y, staff->getDredgeSize());

  auto& up = Voice("[ e1/4 c2/4 e1/4 ]", {100, 200, 300});
  auto* over = Span(new GRNewTuplet(staff, Triplet()), up.events);
  save = Piece<GRNewTuplet::GRNewTupletSaveStruct>(over, grSystem.get());
  float const middleTop = up.events[1]->getPosition().y + up.events[1]->getBoundingBox().top;
  EXPECT_LE((save->p1.y + save->p2.y) / 2, middleTop - 62.5);
}

// A format without heights names the number and the hooks; the bracket still stands clear of
// the stems, where the number of a tuplet without format stands.
TEST_F(TupletTest, FormatGivesTheNumberAndTheBracketClearOfTheStems) {
  struct Case {
    char const* format;
    size_t calls;  // the number alone, or with both bracket halves and their hooks
  };
  for (Case const& c : {Case{"3:2", 3}, Case{"-3:2-", 8}}) {
    SCOPED_TRACE(c.format);
    device.calls.clear();
    auto& voice = Voice("[ g1/4 g1/4 g1/4 ]", {100, 200, 300});
    auto* tuplet = Span(new GRNewTuplet(staff, Triplet(c.format)), voice.events);
    DrawSystem(grSystem.get(), tuplet);
    std::vector<std::string> const drawn = Drawn();
    ASSERT_EQ(drawn.size(), c.calls);
    EXPECT_EQ(drawn[1].rfind("DrawString(200,-37.5,3:2,3)", 0), 0u) << drawn[1];
  }
}

TEST_F(TupletTest, OverOnePlaceNothingIsDrawnButEachPieceOfABrokenTupletShowsItsNumber) {
  // Over one event its ends stand at one x; over a break each piece spans the events of its own
  // line, however few.
  auto& one = Voice("[ g1/4 ]", {100});
  auto* single = Span(new GRNewTuplet(staff, Triplet()), one.events);
  DrawSystem(grSystem.get(), single);
  EXPECT_TRUE(Drawn().empty());

  AddSecondSystem();
  auto& first = VoiceOn(staff, "[ g1/4 g1/4 ]", {100, 300});
  auto& second = VoiceOn(staff2, "[ g1/4 ]", {200});
  auto* broken = SpanBreak(new GRNewTuplet(staff, Triplet()), first.events, second.events);
  for (GRSystem const* system : {grSystem.get(), system2.get()}) {
    device.calls.clear();
    DrawSystem(system, broken);
    ASSERT_EQ(Drawn().size(), 7u);  // the number, the pen, a hook and both halves
    EXPECT_EQ(Drawn()[1].rfind("DrawString(", 0), 0u);
  }
}

}  // namespace
