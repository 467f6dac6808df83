#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <utility>
#include <vector>

#include "CScoreElement.h"
#include "Razid.h"
#include "engine_state.h"
#include "lib-score-engine/graphic/scaling_device.h"
#include "lib-score-engine/sample_scores.h"
#include "tools/layout/fixed_width_fonts.h"

namespace {

// The question chord c1 e1 g1 laid out, and the queries of a page's map by handle and page; the
// missing cases are page 0, a page past the last, the page before its first draw, and a freed
// handle.
class PageMapQueriesTest : public testing::Test {
 protected:
  void SetUp() override {
    RazidShutdown();
    RazidInitDesc init{&device, nullptr, nullptr, nullptr};
    ASSERT_EQ(RazidInit(&init), 0);
    for (GRHandle* gr : {&freed, &score}) {
      ARHandle ar = nullptr;
      ASSERT_EQ(RazidParseString(SampleScores::QuestionScore(), &ar), 0);
      ASSERT_EQ(RazidAR2GR(ar, nullptr, gr), 0);
      RazidFreeAR(ar);
    }
    RazidFreeGR(freed);
  }
  void TearDown() override {
    RazidFreeGR(score);
    RazidShutdown();
  }
  void Draw() {
    RazidOnDrawDesc desc;
    desc.handle = score;
    desc.hdc = &device;
    desc.sizex = 1000;
    desc.sizey = 1414;
    ASSERT_EQ(RazidOnDraw(&desc), 0);
  }

  Layout::FixedWidthSystem system;
  EngineTesting::ScalingDevice device{&system};
  GRHandle score = nullptr;
  GRHandle freed = nullptr;
  std::vector<std::pair<GRHandle*, int>> const missing = {
      {&score, 0}, {&score, 2}, {&score, 1}, {&freed, 1}};
};

TEST_F(PageMapQueriesTest, MinDate) {
  for (auto [gr, page] : missing)  // a page not drawn yet has no event: -1
    EXPECT_EQ(RazidMapGetMinDate(*gr, page), *gr == score && page == 1 ? -1 : 0) << page;
  Draw();
  EXPECT_EQ(RazidMapGetMinDate(score, 1), 0);
}

TEST_F(PageMapQueriesTest, MaxDate) {
  for (auto [gr, page] : missing) EXPECT_EQ(RazidMapGetMaxDate(*gr, page), 0) << page;
  Draw();
  EXPECT_FLOAT_EQ(RazidMapGetMaxDate(score, 1), 0.25f);
}

TEST_F(PageMapQueriesTest, EventHitBy) {
  for (auto [gr, page] : missing) EXPECT_EQ(RazidMapFindEventHitBy(*gr, page, 300, 1000), nullptr);
  Draw();
  CScoreElement* root = RazidMapGetRootElement(score, 1);
  CScoreElement* note = RazidMapFindDeepNthElementOfType(root, 1, 1);
  for (int n = 2; note && RazidMapGetElementSubType(note) != 10; ++n)
    note = RazidMapFindDeepNthElementOfType(root, 1, n);
  ASSERT_NE(note, nullptr);
  float left, top, right, bottom;
  RazidMapGetElementBoundingBox(note, &left, &top, &right, &bottom);
  EXPECT_EQ(RazidMapFindEventHitBy(score, 1, (left + right) / 2, (top + bottom) / 2), note);
  EXPECT_EQ(RazidMapFindEventHitBy(score, 1, -10, -10), nullptr);
}

TEST_F(PageMapQueriesTest, ElementCountForType) {
  for (auto [gr, page] : missing)
    for (int kind = 0; kind < 10; ++kind)
      EXPECT_EQ(RazidMapGetElementCountForType(*gr, page, kind), 0) << page << " " << kind;
  Draw();
  CScoreElement* root = RazidMapGetRootElement(score, 1);
  int events = 0;
  while (RazidMapFindDeepNthElementOfType(root, 1, events + 1)) ++events;
  EXPECT_GE(events, 3);  // the notes and the chord's placeholders
  EXPECT_EQ(RazidMapGetElementCountForType(score, 1, 1), events);
  EXPECT_EQ(RazidMapGetElementCountForType(score, 1, 7), 1);
  EXPECT_EQ(RazidMapGetElementCountForType(score, 1, 8), 1);
  EXPECT_EQ(RazidMapGetElementCountForType(score, 1, -1), 0);
  EXPECT_EQ(RazidMapGetElementCountForType(score, 1, 10), 0);
}

// Every staff of a slice spans the slice, each lower one as the one above, from the bar that
// ends the slice before: the staff nearest to any point of a staff's lines, as drawn, is that
// staff. Two and three staves, on one line and on two.
TEST_F(PageMapQueriesTest, TheStaffNearestToAPointOfItsLinesIsThatStaff) {
  for (char const* text : {
           "{ [ \\meter<\"4/4\"> c2 d e f | g a h c3 ], [ \\clef<\"f4\"> \\meter<\"4/4\"> c0/1 | "
           "e0/2 f ] }",
           "{ [ \\meter<\"3/4\"> c2 d e | f e d ], [ \\meter<\"3/4\"> c1/2. | e1/4 f g ], [ "
           "\\clef<\"f4\"> \\meter<\"3/4\"> c0/2. | e0/2 d0/4 ] }",
           "{ [ \\meter<\"2/4\"> c2/8 d e f g a h c3 c2 d e f g a h c3 \\newSystem c2/2 | d2 ], "
           "[ \\clef<\"f4\"> \\meter<\"2/4\"> c0/2 | e0 | f0 | g0 \\newSystem c0/4 d0 | e0/2 ] }",
       }) {
    SCOPED_TRACE(text);
    RazidFreeGR(score);
    score = nullptr;
    ARHandle ar = nullptr;
    ASSERT_EQ(RazidParseString(text, &ar), 0);
    ASSERT_EQ(RazidAR2GR(ar, nullptr, &score), 0);
    RazidFreeAR(ar);
    Draw();
    CScoreElement* root = RazidMapGetRootElement(score, 1);
    int pieces = 0;
    for (int n = 1; CScoreElement* lines = RazidMapFindDeepNthElementOfType(root, 2, n); ++n) {
      if (RazidMapGetElementSubType(lines) != 5) continue;
      ++pieces;
      float left, top, right, bottom, x0, y0;
      RazidMapGetElementBoundingBox(lines, &left, &top, &right, &bottom);
      RazidMapGetElementRefPoint(lines, &x0, &y0);
      // Inside the piece: where two pieces meet, the point is on both.
      for (float x = left + (right - left) / 32; x < right; x += (right - left) / 16) {
        for (float y : {top, (top + bottom) / 2, bottom}) {
          CScoreElement* staff = RazidMapFindNearestSubElement(root, 5, x, y);
          ASSERT_NE(staff, nullptr);
          float sx, sy;
          RazidMapGetElementRefPoint(staff, &sx, &sy);
          EXPECT_TRUE(std::abs(sx - x0) < 0.5f && std::abs(sy - y0) < 0.5f)
              << "at " << x << ", " << y << " the staff at " << sx << ", " << sy;
        }
      }
    }
    EXPECT_GE(pieces, 4);
  }
}

}  // namespace

// The largest page holds thousands of notes; the map keeps every one, and the hit query finds
// each at its own head.
TEST(PageMapOfManyNotes, EveryNoteOfAPageIsFoundByItsHead) {
  RazidShutdown();
  Layout::FixedWidthSystem system;
  EngineTesting::ScalingDevice device{&system};
  RazidInitDesc init{&device, nullptr, nullptr, nullptr};
  ASSERT_EQ(RazidInit(&init), 0);
  RazidPageFormat const largest{94842.52f, 71131.89f, 500, 500, 500, 500};
  RazidSetDefaultPageFormat(&largest);
  std::string text = "[ \\meter<\"4/4\"> ";
  for (int i = 0; i < 1250; ++i) text += "c d e f ";
  ARHandle ar = nullptr;
  ASSERT_EQ(RazidParseString((text + "]").c_str(), &ar), 0);
  GRHandle gr = nullptr;
  ASSERT_EQ(RazidAR2GR(ar, nullptr, &gr), 0);
  RazidFreeAR(ar);
  ASSERT_EQ(RazidGetPageCount(gr), 1);
  RazidOnDrawDesc desc;
  desc.handle = gr;
  desc.hdc = &device;
  desc.sizex = 94843;  // a pixel to the unit
  desc.sizey = 71132;
  testing::internal::CaptureStdout();
  ASSERT_EQ(RazidOnDraw(&desc), 0);
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
  CScoreElement* root = RazidMapGetRootElement(gr, 1);
  ASSERT_NE(root, nullptr);
  int notes = 0;
  for (int n = 1; CScoreElement* note = RazidMapFindDeepNthElementOfType(root, 1, n); ++n) {
    float x = 0, y = 0;
    RazidMapGetHeadPoint(note, &x, &y);
    EXPECT_EQ(RazidMapFindEventHitBy(gr, 1, x, y), note) << n;
    ++notes;
  }
  EXPECT_EQ(notes, 5000);
  RazidFreeGR(gr);
  RazidSetDefaultPageFormat(nullptr);
  RazidShutdown();
}
