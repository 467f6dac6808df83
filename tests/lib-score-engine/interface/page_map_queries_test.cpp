#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "CScoreElement.h"
#include "Razid.h"
#include "engine_state.h"
#include "lib-score-engine/graphic/scaling_device.h"
#include "lib-score-engine/sample_scores.h"
#include "tools/layout/fixed_width_fonts.h"

namespace {

// The question chord c1 e1 g1 laid out, and drawn or not; the queries of the page's map through
// its handle, for pages and handles that have no map as well.
class PageMapQueriesTest : public testing::Test {
 protected:
  void SetUp() override {
    RazidShutdown();
    RazidInitDesc init{&device, nullptr, nullptr, nullptr};
    ASSERT_EQ(RazidInit(&init), 0);
    ARHandle ar = nullptr;
    ASSERT_EQ(RazidParseString(SampleScores::QuestionScore(), &ar), 0);
    ASSERT_EQ(RazidAR2GR(ar, nullptr, &gr), 0);
    RazidFreeAR(ar);
    ARHandle other = nullptr;
    ASSERT_EQ(RazidParseString(SampleScores::QuestionScore(), &other), 0);
    ASSERT_EQ(RazidAR2GR(other, nullptr, &freed), 0);
    RazidFreeAR(other);
    RazidFreeGR(freed);
  }
  void TearDown() override {
    RazidFreeGR(gr);
    RazidShutdown();
  }

  void Draw() {
    RazidOnDrawDesc desc;
    desc.handle = gr;
    desc.hdc = &device;
    desc.page = 1;
    desc.sizex = 1000;
    desc.sizey = 1414;
    ASSERT_EQ(RazidOnDraw(&desc), 0);
  }

  // Page 0, a page past the last one, the page before it was drawn, and a freed handle.
  std::vector<std::pair<GRHandle, int>> Missing() const {
    return {{gr, 0}, {gr, 2}, {gr, 1}, {freed, 1}};
  }

  Layout::FixedWidthSystem system;
  EngineTesting::ScalingDevice device{&system};
  GRHandle gr = nullptr;
  GRHandle freed = nullptr;
};

TEST_F(PageMapQueriesTest, MinDateIsZeroWithoutAPageAndTheFirstEventsDateOnceDrawn) {
  for (auto [handle, page] : Missing())
    EXPECT_EQ(RazidMapGetMinDate(handle, page), handle == gr && page == 1 ? -1 : 0) << page;
  Draw();
  EXPECT_EQ(RazidMapGetMinDate(gr, 1), 0);
  EXPECT_EQ(RazidMapGetMinDate(gr, 2), 0);
}

TEST_F(PageMapQueriesTest, MaxDateIsZeroWithoutADrawAndTheLastEventsEndOnceDrawn) {
  for (auto [handle, page] : Missing()) EXPECT_EQ(RazidMapGetMaxDate(handle, page), 0) << page;
  Draw();
  EXPECT_FLOAT_EQ(RazidMapGetMaxDate(gr, 1), 0.25f);
}

TEST_F(PageMapQueriesTest, EventHitByAPointInsideANoteBoxIsThatNote) {
  Draw();
  CScoreElement* root = RazidMapGetRootElement(gr, 1);
  CScoreElement* note = nullptr;
  for (int n = 1; CScoreElement* event = RazidMapFindDeepNthElementOfType(root, 1, n); ++n)
    if (RazidMapGetElementSubType(event) == 10) note = note ? note : event;
  ASSERT_NE(note, nullptr);
  float left, top, right, bottom;
  RazidMapGetElementBoundingBox(note, &left, &top, &right, &bottom);
  float const x = (left + right) / 2, y = (top + bottom) / 2;
  EXPECT_EQ(RazidMapFindEventHitBy(gr, 1, x, y), note);
  EXPECT_EQ(RazidMapFindEventHitBy(gr, 1, -10, -10), nullptr);  // outside the page
  for (auto [handle, page] : Missing()) {
    if (handle == gr && page == 1) continue;  // drawn by now
    EXPECT_EQ(RazidMapFindEventHitBy(handle, page, x, y), nullptr) << page;
  }
}

TEST_F(PageMapQueriesTest, KindCountsAreThoseOfTheLastDraw) {
  for (auto [handle, page] : Missing())
    for (int kind = 0; kind < 10; ++kind)
      EXPECT_EQ(RazidMapGetElementCountForType(handle, page, kind), 0) << page << " " << kind;
  Draw();
  CScoreElement* root = RazidMapGetRootElement(gr, 1);
  int events = 0;
  while (RazidMapFindDeepNthElementOfType(root, 1, events + 1)) ++events;
  EXPECT_EQ(RazidMapGetElementCountForType(gr, 1, 1), events);
  EXPECT_GE(events, 3);  // the three notes, and the placeholders the chord holds
  EXPECT_EQ(RazidMapGetElementCountForType(gr, 1, 7), 1);
  EXPECT_EQ(RazidMapGetElementCountForType(gr, 1, 8), 1);
  EXPECT_EQ(RazidMapGetElementCountForType(gr, 1, -1), 0);
  EXPECT_EQ(RazidMapGetElementCountForType(gr, 1, 10), 0);
  EXPECT_EQ(RazidMapGetElementCountForType(gr, 2, 1), 0);
}

}  // namespace
