// Crescendo and diminuendo wedges under parsed notes; one system and across a break.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ARCrescendo.h"
#include "ARDiminuendo.h"
#include "GRCrescendo.h"
#include "GRDiminuendo.h"
#include "spanner_scene.h"

namespace {

using EngineTesting::SpannerScene;
using Lines = std::vector<std::string>;

class HairpinTest : public SpannerScene {
 protected:
  Lines Drawn(GRDynamics* wedge, GRSystem const* system = nullptr) {
    device.calls.clear();
    DrawSystem(system ? system : grSystem.get(), wedge);
    return Calls({"MoveTo", "LineTo"});
  }
};

// The open end is one line space wide, drawn with a pen heavier than the staff lines'.
TEST_F(HairpinTest, WedgesStandOneLineSpaceUnderTheStaffAndOpenToOneLineSpace) {
  auto& voice = Voice("[ a1/4 a1/4 ]", {100, 300});
  auto* cresc = Span(new GRCrescendo(staff, Own(new ARCrescendo)), voice.events);
  EXPECT_EQ(Drawn(cresc), (Lines{"MoveTo(112.5,250)", "LineTo(370.5,225)", "MoveTo(112.5,250)",
                                 "LineTo(370.5,275)"}));
  EXPECT_EQ(Calls({"PushPen"}), (Lines{"PushPen(rgba(0,0,0,255),6)"}));
  auto* dim = Span(new GRDiminuendo(staff, Own(new ARDiminuendo)), voice.events);
  EXPECT_EQ(Drawn(dim), (Lines{"MoveTo(112.5,225)", "LineTo(370.5,250)", "MoveTo(112.5,275)",
                               "LineTo(370.5,250)"}));
}

TEST_F(HairpinTest, LowNoteTakesTheWedgeFiftyBelowIt) {
  auto& voice = Voice("[ a1/4 a0/4 ]", {100, 300});
  auto* cresc = Span(new GRCrescendo(staff, Own(new ARCrescendo)), voice.events);
  GREvent* low = voice.events[1];
  float const bottom = low->getPosition().y + low->getBoundingBox().bottom;
  ASSERT_GT(bottom, 200);
  auto const* piece = Piece<GRDynamics::GRDynamicsSaveStruct>(cresc, grSystem.get());
  EXPECT_EQ(piece->point.y, bottom + 50);
}

TEST_F(HairpinTest, BrokenWedgeDrawsOnePerSystemAtTheSameHeight) {
  AddSecondSystem(900);
  auto& first = VoiceOn(staff, "[ a1/4 ]", {700});
  auto& second = VoiceOn(staff2, "[ a1/4 ]", {300});
  auto* cresc =
      SpanBreak(new GRCrescendo(staff, Own(new ARCrescendo)), first.events, second.events);
  Lines const before = Drawn(cresc, grSystem.get());
  Lines const after = Drawn(cresc, system2.get());
  ASSERT_EQ(before.size(), 4u);
  ASSERT_EQ(after.size(), 4u);
  // The first piece runs from its note to the line's end glue at 900, the continuation from the
  // next line's music at 50, part open around the same middle.
  EXPECT_EQ(before[0], "MoveTo(712.5,250)");
  EXPECT_EQ(before[1], "LineTo(900,225)");
  EXPECT_EQ(after[0], "MoveTo(50,237.5)");
  EXPECT_EQ(after[2], "MoveTo(50,262.5)");
}

// Over a break each system has its own piece, open at the break: a crescendo opens fully at the
// end of its first piece and its continuation starts part open (a quarter space); a diminuendo
// ends its first piece part open and closes to a point only at its end.
TEST_F(HairpinTest, BrokenWedgesStayOpenAtTheBreak) {
  AddSecondSystem(900);
  auto& first = VoiceOn(staff, "[ a1/4 ]", {700});
  auto& second = VoiceOn(staff2, "[ a1/4 ]", {300});
  auto* cresc =
      SpanBreak(new GRCrescendo(staff, Own(new ARCrescendo)), first.events, second.events);
  auto* dim =
      SpanBreak(new GRDiminuendo(staff, Own(new ARDiminuendo)), first.events, second.events);
  // Each piece as (start half-opening, end half-opening), leg by leg.
  auto openings = [&](GRDynamics* wedge, GRSystem const* system) {
    Lines const legs = Drawn(wedge, system);
    std::vector<float> ys;
    for (std::string const& call : legs) ys.push_back(std::stof(call.substr(call.find(',') + 1)));
    EXPECT_EQ(ys.size(), 4u);
    float const middle = (ys[0] + ys[2]) / 2;
    return std::vector<float>{middle - ys[0], ys[2] - middle, middle - ys[1], ys[3] - middle};
  };
  EXPECT_EQ(openings(cresc, grSystem.get()), (std::vector<float>{0, 0, 25, 25}));
  EXPECT_EQ(openings(cresc, system2.get()), (std::vector<float>{12.5f, 12.5f, 25, 25}));
  EXPECT_EQ(openings(dim, grSystem.get()), (std::vector<float>{25, 25, 12.5f, 12.5f}));
  EXPECT_EQ(openings(dim, system2.get()), (std::vector<float>{25, 25, 0, 0}));
}

}  // namespace
