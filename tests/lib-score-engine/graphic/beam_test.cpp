// Beams over parsed eighths and sixteenths, measured with the real music font: corners, slope,
// stem lengths, further levels, automatic beams and a beam broken over two systems.
#include <gtest/gtest.h>

#include <algorithm>

#include "ARBeam.h"
#include "GRAutoBeam.h"
#include "GRBeam.h"
#include "GRFlag.h"
#include "GRSimpleBeam.h"
#include "GRSingleNote.h"
#include "spanner_scene.h"

namespace {

using EngineTesting::SpannerScene;
using Save = GRBeam::GRBeamSaveStruct;

class BeamTest : public SpannerScene {
 protected:
  template <class Beam = GRBeam>
  Beam* BeamOver(std::vector<GREvent*> const& events) {
    return Span(new Beam(staff, Own(new ARBeam)), events);
  }
  Save const& Main(GRBeam const* beam, GRSystem const* system = nullptr) {
    Save const* save = Piece<Save>(beam, system ? system : grSystem.get());
    EXPECT_NE(save, nullptr);
    return *save;
  }
  // How many flags the events draw (their glyphs all the eighth flag's).
  int FlagsDrawn(std::vector<GREvent*> const& events) {
    device.calls.clear();
    for (GREvent* event : events) event->OnDraw(device, map);
    std::string const code =
        std::to_string(static_cast<GRSingleNote*>(events[0])->getFlag()->getSymbol()) + "@";
    auto const symbols = Symbols();
    return std::count_if(symbols.begin(), symbols.end(),
                         [&](std::string const& s) { return s.rfind(code, 0) == 0; });
  }
  static std::vector<float> Stems(std::vector<GREvent*> const& events) {
    std::vector<float> lengths;
    for (GREvent* event : events) lengths.push_back(event->getStemLength());
    return lengths;
  }
};

void ExpectCorners(Save const& save, std::vector<NVPoint> const& expected) {
  for (int i = 0; i < 4; ++i) {
    EXPECT_NEAR(save.p[i].x, expected[i].x, 0.01) << "corner " << i;
    EXPECT_NEAR(save.p[i].y, expected[i].y, 0.01) << "corner " << i;
  }
}

TEST_F(BeamTest, SteepBeamIsCutToATenthByRaisingTheStartAwayFromTheHeads) {
  auto& voice = Voice("[ e1/8 f1/8 ]", {100, 300});
  auto* beam = BeamOver(voice.events);
  ExpectCorners(Main(beam), {{126, 19.8f}, {126, 42.3f}, {324, 0}, {324, 22.5f}});
  std::vector<float> const stems = Stems(voice.events);
  EXPECT_NEAR(stems[0], 180.2, 0.01);
  EXPECT_NEAR(stems[1], 175.2, 0.01);
  EXPECT_EQ(FlagsDrawn(voice.events), 0);

  DrawSystem(grSystem.get(), beam);
  EXPECT_EQ(Calls({"Polygon"}), (std::vector<std::string>{"Polygon(4)"}));
  auto const records = Records(2, 14);
  ASSERT_EQ(records.size(), 1u);
  EXPECT_EQ(records[0].left, 126);
  EXPECT_EQ(records[0].top, 0);
  EXPECT_EQ(records[0].right, 324);
  EXPECT_NEAR(records[0].bottom, 42.3, 0.01);
}

TEST_F(BeamTest, StemTooShortMovesTheWholeBeam) {
  auto& voice = Voice("[ e2/8 c2/8 e2/8 ]", {100, 200, 300});
  auto* beam = BeamOver(voice.events);
  // c2's stem would be 125 long: the beam moves down 50 and every stem is worked out again.
  ExpectCorners(Main(beam), {{70, 250}, {70, 227.5f}, {270, 250}, {270, 227.5f}});
  EXPECT_EQ(Stems(voice.events), (std::vector<float>{225, 175, 225}));
}

TEST_F(BeamTest, SixteenthGetsAStubOneLineSpaceLongTowardsItsNeighbour) {
  struct Case {
    char const* text;
    bool stubRight;
  };
  for (Case const& c : {Case{"[ g1/16 g1/8 ]", true}, Case{"[ g1/8 g1/16 ]", false}}) {
    SCOPED_TRACE(c.text);
    auto& voice = Voice(c.text, {100, 300});
    auto* beam = BeamOver(voice.events);
    Save const& save = Main(beam);
    ASSERT_TRUE(save.simpleBeams);
    ASSERT_EQ(save.simpleBeams->GetCount(), 1);
    GRSimpleBeam const* stub = save.simpleBeams->GetHead();
    EXPECT_NEAR(stub->getPoint(2).x - stub->getPoint(0).x, 50, 0.01);
    GREvent* sixteenth = voice.events[c.stubRight ? 0 : 1];
    float const at = c.stubRight ? stub->getPoint(0).x : stub->getPoint(2).x;
    EXPECT_EQ(at, c.stubRight ? sixteenth->getStemStartPos().x : sixteenth->getStemEndPos().x);
    // One level down, 0.4 line space thick.
    EXPECT_NEAR(stub->getPoint(0).y - save.p[0].y, 37.5, 0.01);
    EXPECT_NEAR(stub->getPoint(1).y - stub->getPoint(0).y, 20, 0.01);
  }
}

TEST_F(BeamTest, AutomaticBeamDissolvesOverOneNoteAndGoesOverARestBetweenNotes) {
  auto& one = Voice("[ g1/8 ]", {100});
  auto* single = BeamOver<GRAutoBeam>(one.events);
  EXPECT_EQ(one.events[0]->getBeamCount(), 0);
  EXPECT_EQ(FlagsDrawn(one.events), 1);

  // A quarter is no beamable event.
  auto& quarter = Voice("[ g1/8 g1/4 ]", {100, 300});
  EXPECT_NE(BeamOver(quarter.events)->getError(), 0);

  device.calls.clear();
  DrawSystem(grSystem.get(), single);
  EXPECT_TRUE(device.calls.empty());

  auto& overRest = Voice("[ g1/8 _/8 a1/8 ]", {100, 200, 300});
  auto* beam = BeamOver<GRAutoBeam>(overRest.events);
  EXPECT_EQ(beam->getError(), 0);
  std::vector<GREvent*> const notes = {overRest.events[0], overRest.events[2]};
  EXPECT_EQ(FlagsDrawn(notes), 0);
  Save const& save = Main(beam);
  EXPECT_NEAR(save.p[0].x, notes[0]->getStemStartPos().x, 0.01);
  EXPECT_NEAR(save.p[2].x, notes[1]->getStemEndPos().x, 0.01);
}

TEST_F(BeamTest, BeamBrokenBySystemBreakDrawsHorizontalPieces) {
  AddSecondSystem(900);
  auto& first = VoiceOn(staff, "[ g1/16 a1/16 ]", {100, 300});
  auto& second = VoiceOn(staff2, "[ h1/16 c2/16 ]", {200, 400});
  auto* beam = SpanBreak(new GRBeam(staff, Own(new ARBeam)), first.events, second.events);

  Save const& before = Main(beam, grSystem.get());
  EXPECT_EQ(before.p[2].x, 900);
  EXPECT_EQ(before.p[0].y, before.p[2].y);
  EXPECT_EQ(before.p[1].y, before.p[3].y);
  Save const& after = Main(beam, system2.get());
  EXPECT_EQ(after.p[0].x, 50);
  EXPECT_EQ(after.p[0].y, after.p[2].y);
  // The second level goes on horizontally over both breaks.
  for (Save const* piece : {&before, &after}) {
    ASSERT_TRUE(piece->simpleBeams);
    GRSimpleBeam const* level = piece->simpleBeams->GetHead();
    EXPECT_EQ(level->getPoint(0).y, level->getPoint(2).y);
  }
  EXPECT_EQ(before.simpleBeams->GetHead()->getPoint(2).x, 900);
  EXPECT_EQ(after.simpleBeams->GetHead()->getPoint(0).x, 50);

  DrawSystem(grSystem.get(), beam);
  DrawSystem(system2.get(), beam);
  EXPECT_EQ(Calls({"Polygon"}).size(), 4u);
  EXPECT_EQ(Records(2, 14).size(), 2u);
}

TEST_F(BeamTest, BeamOverTwoStavesIsPlacedOnlyByItsSystem) {
  auto* lower = new GRStaff(staff->getGRSystemSlice());
  staff->getGRSystemSlice()->addStaff(lower, 1);
  lower->setPosition(NVPoint{0, 400});
  auto& top = Voice("[ g1/8 ]", {100});
  auto& bottom = VoiceOn(lower, "[ g1/8 ]", {300});
  auto* beam = BeamOver({top.events[0], bottom.events[0]});
  EXPECT_EQ(beam->getTagType(), GRTag::SYSTEMTAG);
  EXPECT_EQ(Main(beam).p[2].x, 0) << "not placed when its last note is";
  beam->checkPosition(grSystem.get());
  // Relative to the upper staff: the end lies on the lower one.
  EXPECT_EQ(Main(beam).p[2].x, bottom.events[0]->getStemEndPos().x);
  EXPECT_GT(Main(beam).p[2].y, 0);
}

}  // namespace
