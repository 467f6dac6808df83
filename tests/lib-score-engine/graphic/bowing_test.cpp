// Slurs and ties over parsed notes, measured with the real music font: direction, anchors,
// control point, the drawn band and its record; one system and across a break.
#include <gtest/gtest.h>

#include "ARSlur.h"
#include "ARTie.h"
#include "GRSlur.h"
#include "GRTie.h"
#include "draw_slur.h"
#include "spanner_scene.h"

namespace {

using EngineTesting::SpannerScene;
using Save = GRBowing::GRBowingSaveStruct;

class BowingTest : public SpannerScene {
 protected:
  GRSlur* SlurOver(std::vector<GREvent*> const& events) {
    return Span(new GRSlur(staff, Own(new ARSlur)), events);
  }
  GRTie* TieOver(std::vector<GREvent*> const& events) {
    return Span(new GRTie(staff, Own(new ARTie)), events);
  }
  static NVPoint At(Save const* save, int i) { return save->position + save->offsets[i]; }
  Save const* Bow(GRBowing const* bow, GRSystem const* system = nullptr) {
    return Piece<Save>(bow, system ? system : grSystem.get());
  }
};

void ExpectPoint(NVPoint const& p, float x, float y) {
  EXPECT_NEAR(p.x, x, 0.01);
  EXPECT_NEAR(p.y, y, 0.01);
}

TEST_F(BowingTest, SlurUnderStemsUpFromAnchorsBelowTheHeads) {
  auto& voice = Voice("[ e1/4 g1/4 ]", {100, 300});
  auto* slur = SlurOver(voice.events);
  Save const* save = Bow(slur);
  ExpectPoint(At(save, 0), 100.75f, 262.5f);
  ExpectPoint(At(save, 2), 300.75f, 212.5f);
  ExpectPoint(At(save, 1), 200.75f, 302.5f);
  EXPECT_EQ(save->inflexion, 6.0f);

  DrawSystem(grSystem.get(), slur);
  EXPECT_EQ(Calls({"Polygon"}), (std::vector<std::string>{"Polygon(54)"}));
  auto const records = Records(2, 17);
  ASSERT_EQ(records.size(), 1u);
  EXPECT_NEAR(records[0].left, 100.75, 0.01);
  EXPECT_NEAR(records[0].top, 212.5, 0.01);
  EXPECT_NEAR(records[0].bottom, 302.5, 0.01);
}

TEST_F(BowingTest, OutlineIsTwoCurvesOf27PointsFromTheStart) {
  CurvePoints one;
  EXPECT_EQ(makeCurve(0, 0, 10, 10, 20, 10, 30, 0, 25, one), 27);
  CurvePoints const band = slurOutline(100.75f, 262.5f, 200.75f, 302.5f, 300.75f, 212.5f, 6);
  ASSERT_EQ(band.count(), 54);
  for (int i : {0, 1}) {
    EXPECT_EQ(band.xs[i], 100.75f);
    EXPECT_EQ(band.ys[i], 262.5f);
  }
  EXPECT_EQ(band.xs[53], 100.75f);
  EXPECT_EQ(slurOutline(5, 0, 5, 10, 5, 0, 6).count(), 0) << "both ends at one x";
}

TEST_F(BowingTest, SlurRisesOverAHighNoteBetweenItsEnds) {
  // Stems down at both ends: the slur goes over, and over the high a2 in the middle.
  auto& voice = Voice("[ c2/4 a2/4 d2/4 ]", {100, 300, 500});
  auto* slur = SlurOver(voice.events);
  Save const* save = Bow(slur);
  GREvent* middle = voice.events[1];
  float const top = middle->getPosition().y + middle->getBoundingBox().top;
  EXPECT_LT(At(save, 0).y, voice.events[0]->getPosition().y);
  float const rise = top - At(save, 1).y;
  EXPECT_GE(rise, 40 - 0.01);
  EXPECT_LE(rise, 160 + 0.01);
}

TEST_F(BowingTest, SlurEndsAtItsFirstAndLastNotesNotAtRestsBeyondThem) {
  struct Case {
    char const* music;
    size_t start, end;
  };
  for (Case const& c : {Case{"[ _/4 e1/4 g1/4 ]", 1, 2}, Case{"[ e1/4 g1/4 _/4 ]", 0, 1},
                        Case{"[ _/8 e1/4 g1/4 _/8 ]", 1, 2}, Case{"[ e1/4 _/4 g1/4 ]", 0, 2},
                        // With one note only, the rests stay its ends: a slur needs two.
                        Case{"[ _/4 e1/4 _/4 ]", 0, 2}}) {
    auto& voice = Voice(c.music, {100, 300, 500, 700});
    auto* slur = SlurOver(voice.events);
    EXPECT_EQ(slur->getStartElement(staff), voice.events[c.start]) << c.music;
    EXPECT_EQ(slur->getEndElement(staff), voice.events[c.end]) << c.music;
  }
}

TEST_F(BowingTest, TieLeavesTheLineOrSpaceByItsOwnAmount) {
  struct Case {
    char const* text;
    float away;  // from the heads' height
  };
  // e1 sits on a line, f1 in a space; both have stems up, so the tie goes under.
  for (Case const& c : {Case{"[ e1/4 e1/4 ]", 12.5f}, Case{"[ f1/4 f1/4 ]", 37.5f}}) {
    SCOPED_TRACE(c.text);
    auto& voice = Voice(c.text, {100, 300});
    Save const* save = Bow(TieOver(voice.events));
    float const y = voice.events[0]->getPosition().y;
    EXPECT_NEAR(At(save, 0).y - y, c.away, 0.01);
    EXPECT_NEAR(At(save, 2).y - y, c.away, 0.01);
    EXPECT_NEAR(At(save, 1).y - At(save, 0).y, 25, 0.01) << "half a line space";
  }
}

TEST_F(BowingTest, TieMadeFromItsEndsIsPlacedWithTheEnd) {
  auto& voice = Voice("[ e1/4 e1/4 ]", {100, 300});
  auto* tie = new GRTie(staff, voice.events[0], voice.events[1]);
  marks.emplace_back(tie, tie);
  Place(tie, voice.events[1]);
  EXPECT_NEAR(At(Bow(tie), 0).y - voice.events[0]->getPosition().y, 12.5, 0.01);
  DrawSystem(grSystem.get(), tie);
  EXPECT_EQ(Calls({"Polygon"}), (std::vector<std::string>{"Polygon(54)"}));
}

TEST_F(BowingTest, WrongElementsPutTheBowingInErrorAndItDrawsNothing) {
  auto& rest = Voice("[ g1/4 _/4 ]", {100, 300});
  auto* tie = TieOver(rest.events);
  EXPECT_NE(tie->getError(), 0);
  // A glue is no event.
  GRGlue glue(staff, GRGlue::SECOND_GLUE);
  auto* slur = Span(new GRSlur(staff, Own(new ARSlur)), {});
  slur->addAssociation(&glue);
  EXPECT_NE(slur->getError(), 0);
  device.calls.clear();
  DrawSystem(grSystem.get(), tie);
  DrawSystem(grSystem.get(), slur);
  EXPECT_TRUE(device.calls.empty());
}

TEST_F(BowingTest, SlurBrokenByASystemBreakDrawsOpenPiecesOnBoth) {
  AddSecondSystem(900);
  auto& first = VoiceOn(staff, "[ e1/4 ]", {800});
  auto& second = VoiceOn(staff2, "[ g1/4 ]", {100});
  auto* slur = SpanBreak(new GRSlur(staff, Own(new ARSlur)), first.events, second.events);
  Save const* before = Bow(slur, grSystem.get());
  Save const* after = Bow(slur, system2.get());
  // Each piece at least 75 long, its open end 50 beyond its note end.
  EXPECT_GE(At(before, 2).x - At(before, 0).x, 75);
  EXPECT_NEAR(At(before, 2).y - At(before, 0).y, 50, 0.01);
  EXPECT_GE(At(after, 2).x - At(after, 0).x, 75);
  EXPECT_NEAR(At(after, 0).y - At(after, 2).y, 50, 0.01);

  DrawSystem(grSystem.get(), slur);
  DrawSystem(system2.get(), slur);
  EXPECT_EQ(Calls({"Polygon"}).size(), 2u);
  EXPECT_EQ(Records(2, 17).size(), 2u);
}

}  // namespace
