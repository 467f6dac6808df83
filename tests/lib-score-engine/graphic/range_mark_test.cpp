// Trills, tremolos and tempo changes drawn once at the first note of their range; ranges whose
// events take their tag as an articulation. One system and across a break.
#include <gtest/gtest.h>

#include "ARAccelerando.h"
#include "ARRitardando.h"
#include "ARStaccato.h"
#include "ARTremolo.h"
#include "ARTrill.h"
#include "GRAccelerando.h"
#include "GRRange.h"
#include "GRRitardando.h"
#include "GRTremolo.h"
#include "GRTrill.h"
#include "spanner_scene.h"

namespace {

using EngineTesting::SpannerScene;

class RangeMarkTest : public SpannerScene {
 protected:
  std::vector<std::string> Drawn(GRNotationElement* mark, GRSystem const* system = nullptr) {
    device.calls.clear();
    DrawSystem(system ? system : grSystem.get(), mark);
    return Calls({"DrawMusicSymbol", "DrawString"});
  }
};

// Every mark stands centred on its line a space over the first note's stem (g1, stem up to
// -25), clear of the staff and the head.
TEST_F(RangeMarkTest, EachMarkDrawsOnceCentredOverTheFirstNote) {
  auto& voice = Voice("[ g1/4 a1/4 h1/4 ]", {100, 200, 300});
  struct Case {
    GRNotationElement* mark;
    char const* drawn;
  };
  Case const cases[] = {
      {Span(new GRTrill(staff, Own(new ARTrill(ARTrill::MORD))), voice.events),
       "DrawMusicSymbol(100,-75,77)"},
      {Span(new GRTrill(staff, Own(new ARTrill(ARTrill::TRILL))), voice.events),
       "DrawString(100,-75,trill,-1)"},
      {Span(new GRTrill(staff, Own(new ARTrill(ARTrill::TURN))), voice.events),
       "DrawString(100,-75,turn,-1)"},
      {Span(new GRTremolo(staff, Own(new ARTremolo)), voice.events),
       "DrawString(100,-75,trem.,-1)"},
      {Span(new GRAccelerando(staff, Own(new ARAccelerando)), voice.events),
       "DrawString(100,-75,accel,-1)"},
      {Span(new GRRitardando(staff, Own(new ARRitardando)), voice.events),
       "DrawString(100,-75,rit,-1)"},
  };
  for (Case const& c : cases) {
    std::vector<std::string> const drawn = Drawn(c.mark);
    ASSERT_EQ(drawn.size(), 1u) << c.drawn;
    EXPECT_EQ(drawn[0].rfind(c.drawn, 0), 0u) << drawn[0];
    EXPECT_NE(drawn[0].find("align=9"), std::string::npos) << drawn[0];
  }
}

TEST_F(RangeMarkTest, MarkInErrorDrawsNothing) {
  auto& voice = Voice("[ g1/4 a1/4 ]", {100, 200});
  for (ARMusicalTag* tag :
       std::vector<ARMusicalTag*>{Own(new ARTrill(ARTrill::MORD)), Own(new ARTrill(ARTrill::TRILL)),
                                  Own(new ARTrill(ARTrill::TURN)), Own(new ARTremolo),
                                  Own(new ARAccelerando), Own(new ARRitardando)}) {
    tag->setError(1);
    GRFirstNoteMark* mark = nullptr;
    if (auto* trill = dynamic_cast<ARTrill*>(tag)) mark = new GRTrill(staff, trill);
    if (auto* tremolo = dynamic_cast<ARTremolo*>(tag)) mark = new GRTremolo(staff, tremolo);
    if (auto* accel = dynamic_cast<ARAccelerando*>(tag)) mark = new GRAccelerando(staff, accel);
    if (auto* rit = dynamic_cast<ARRitardando*>(tag)) mark = new GRRitardando(staff, rit);
    EXPECT_TRUE(Drawn(Span(mark, voice.events)).empty());
  }
}

TEST_F(RangeMarkTest, MarkOverABreakDrawsOnTheFirstSystemOnly) {
  AddSecondSystem();
  auto& first = VoiceOn(staff, "[ g1/4 ]", {700});
  auto& second = VoiceOn(staff2, "[ g1/4 ]", {300});
  auto* trill =
      SpanBreak(new GRTrill(staff, Own(new ARTrill(ARTrill::MORD))), first.events, second.events);
  EXPECT_EQ(Drawn(trill, grSystem.get()).size(), 1u);
  EXPECT_TRUE(Drawn(trill, system2.get()).empty());
}

TEST_F(RangeMarkTest, RangeGivesItsEventsTheTagAsArticulationAndDrawsNothing) {
  AddSecondSystem();
  auto& first = VoiceOn(staff, "[ g1/4 ]", {100});
  auto& second = VoiceOn(staff2, "[ a1/4 ]", {300});
  auto* range = SpanBreak(new GRRange(staff, Own(new ARStaccato)), first.events, second.events);
  EXPECT_NE(first.events[0]->getArticulationFlags(), 0);
  EXPECT_NE(second.events[0]->getArticulationFlags(), 0);
  device.calls.clear();
  DrawSystem(grSystem.get(), range);
  DrawSystem(system2.get(), range);
  EXPECT_TRUE(device.calls.empty());
}

}  // namespace
