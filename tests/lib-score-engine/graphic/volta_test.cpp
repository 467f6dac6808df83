// Volta brackets over parsed notes standing in their staff: shapes, ends, text, the broken
// pieces and the table of last voltas.
#include <gtest/gtest.h>

#include <sstream>

#include "ARVolta.h"
#include "GRVolta.h"
#include "engine_reset.h"
#include "lib-score-engine/given_parameters.h"
#include "spanner_scene.h"

namespace {

using EngineTesting::Given;
using EngineTesting::SpannerScene;
using EngineTesting::VoiceElements;
using Lines = std::vector<std::string>;

std::string Line(float x1, float y1, float x2, float y2) {
  std::ostringstream os;
  os << "Line(" << x1 << "," << y1 << "," << x2 << "," << y2 << ")";
  return os.str();
}

// The height of a drawn line's start.
float TopOf(std::string const& line) {
  return std::stof(line.substr(line.find(',') + 1));
}

float PageLeft(GRNotationElement const* e) {
  return e->getPosition().x + e->getBoundingBox().left;
}
float PageTop(GRNotationElement const* e) {
  return e->getPosition().y + e->getBoundingBox().top;
}

class VoltaTest : public SpannerScene {
 protected:
  void TearDown() override {
    // The staves hand their borrowed events back before the voices delete them.
    for (auto& [on, element] : listed) {
      on->setOwnership(0);
      on->getElements().RemoveElement(element);
      on->setOwnership(1);
    }
    listed.clear();
    SpannerScene::TearDown();
  }
  // The voice's events stand in the staff's element list, as the layout puts them.
  VoiceElements& Listed(GRStaff* on, char const* text, std::vector<float> xs) {
    VoiceElements& voice = VoiceOn(on, text, std::move(xs));
    for (GREvent* event : voice.events) {
      on->AddTail(event);
      listed.emplace_back(on, event);
    }
    return voice;
  }
  ARVolta* Ending(char const* format) {
    auto* ar = Own(new ARVolta);
    Given given;
    given.Text("1").Text("1.").Text(format);
    ar->setTagParameterList(given.list());
    return ar;
  }
  // The piece on a system, the volta's own system unless one is given.
  Lines Drawn(GRVolta* volta, GRSystem const* system = nullptr) {
    device.calls.clear();
    if (system) {
      DrawSystem(system, volta);
    } else {
      volta->OnDraw(device, map);
    }
    return Calls({"Line", "DrawString"});
  }

  std::vector<std::pair<GRStaff*, GRNotationElement*>> listed;
};

TEST_F(VoltaTest, FormatGivesTheHooksAndTheBracketEndsBeforeTheNextNote) {
  auto& voice = Listed(staff, "[ g1/4 a1/4 h1/4 ]", {100, 300, 500});
  std::vector<GREvent*> const ending = {voice.events[0], voice.events[1]};
  float const left = PageLeft(voice.events[0]);
  float const right = PageLeft(voice.events[2]) - 12.5f;
  float const bottom = std::min({0.0f, PageTop(voice.events[0]), PageTop(voice.events[1])});
  float const top = bottom - 100;
  std::string const line = Line(left, top, right, top);
  std::string const leftHook = Line(left, top, left, bottom - 25);
  std::string const rightHook = Line(right, top, right, bottom - 25);
  struct Case {
    char const* format;
    Lines lines;
  };
  Case const cases[] = {{"", {line, leftHook, rightHook}},
                        {"|-", {line, leftHook}},
                        {"-|", {line, rightHook}},
                        {"-", {line}}};
  for (Case const& c : cases) {
    SCOPED_TRACE(c.format);
    auto* volta = Span(new GRVolta(staff, Ending(c.format)), ending);
    volta->FinishPTag(staff);
    Lines drawn = Drawn(volta);
    ASSERT_EQ(drawn.size(), c.lines.size() + 1);
    std::ostringstream text;
    text << "DrawString(" << left + 25 << "," << bottom - 25 << ",1.,2) font=Times@75";
    EXPECT_EQ(drawn.back().rfind(text.str(), 0), 0u) << drawn.back();
    drawn.pop_back();
    EXPECT_EQ(drawn, c.lines);
  }
  EXPECT_EQ(bottom, -50) << "over a1's stem, the hooks 75 long";
}

TEST_F(VoltaTest, BrokenVoltaDrawsAnOpeningPieceWithTextThenAClosingOne) {
  AddSecondSystem(900);
  auto& first = Listed(staff, "[ g1/4 ]", {700});
  auto& second = Listed(staff2, "[ g1/4 a1/4 ]", {200, 400});
  auto* volta = SpanBreak(new GRVolta(staff, Ending("")), first.events, {second.events[0]});
  volta->FinishPTag(staff2);
  Lines const opening = Drawn(volta, grSystem.get());
  Lines const closing = Drawn(volta, system2.get());
  ASSERT_EQ(opening.size(), 3u);  // top, left hook, text
  EXPECT_EQ(opening[2].rfind("DrawString", 0), 0u);
  ASSERT_EQ(closing.size(), 2u);  // top, right hook
  EXPECT_EQ(closing[1].rfind("Line(" + std::to_string(int(PageLeft(second.events[1]) - 12.5f)), 0),
            0u)
      << closing[1];
  // Both pieces stand at one height.
  EXPECT_EQ(TopOf(opening[0]), TopOf(closing[0]));
}

TEST_F(VoltaTest, TableOfLastVoltasForgetsVoltasThatGoAndIsClearedByTheReset) {
  auto& voice = Listed(staff, "[ g1/4 a1/4 ]", {100, 300});
  auto* first = new GRVolta(staff, Ending(""));
  first->addAssociation(voice.events[0]);
  first->FinishPTag(staff);
  EXPECT_TRUE(Drawn(first).empty()) << "never placed, so nothing to draw";
  EXPECT_EQ(GRVolta::getPrevious(staff->getStaffNumber()), first);
  first->DeleteStaff(staff);
  delete first;
  EXPECT_EQ(GRVolta::getPrevious(staff->getStaffNumber()), nullptr);

  auto* second = Span(new GRVolta(staff, Ending("")), {voice.events[1]});
  second->FinishPTag(staff);
  EXPECT_EQ(GRVolta::getPrevious(staff->getStaffNumber()), second);
  RazidResetEngineState();
  EXPECT_EQ(GRVolta::getPrevious(staff->getStaffNumber()), nullptr);
}

}  // namespace
