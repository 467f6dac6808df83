#include <gtest/gtest.h>

#include <deque>

#include "CScoreElement.h"
#include "Razid.h"
#include "ScoreSymbolMap.h"

namespace {

// A page drawn by hand: one system with one staff holding two notes, a bar and a rest, then a
// second staff with a chord of two notes (same date, different left edges).
//
//   page   0,0 - 400,200
//   system 10,10 - 390,190
//   staff1 10,10 - 390,90  : note A 20..40 @0, bar x=100, note B 120..140 @1/4, rest 200..220 @1/2
//   staff2 10,110 - 390,190: chord notes C 62..80 and D 60..78, both @3/4
class MapQueriesTest : public testing::Test {
 protected:
  CScoreElement* Add(CScoreElement* parent, int kind, float l, float t, float r, float b,
                     float date = 0, float duration = 0) {
    ScoreElementDesc desc;
    desc.kind = kind;
    desc.left = l, desc.top = t, desc.right = r, desc.bottom = b;
    desc.date = date, desc.duration = duration;
    desc.refX = l, desc.refY = (t + b) / 2, desc.headX = l + 2;
    CScoreElement* element = &elements.emplace_back(desc);
    if (parent) parent->AddChild(element);
    return element;
  }
  void SetUp() override {
    page = Add(nullptr, 8, 0, 0, 400, 200, 0, 1);
    system = Add(page, 7, 10, 10, 390, 190, 0, 1);
    staff1 = Add(system, 5, 10, 10, 390, 90, 0, 1);
    noteA = Add(staff1, 1, 20, 20, 40, 40, 0, 0.25f);
    bar = Add(staff1, 3, 100, 10, 100, 90);
    noteB = Add(staff1, 1, 120, 20, 140, 40, 0.25f, 0.25f);
    rest = Add(staff1, 1, 200, 20, 220, 40, 0.5f, 0.25f);
    staff2 = Add(system, 5, 10, 110, 390, 190, 0.75f, 0.25f);
    noteC = Add(staff2, 1, 62, 120, 80, 140, 0.75f, 0.25f);
    noteD = Add(staff2, 1, 60, 150, 78, 170, 0.75f, 0.25f);
    page->UpdateDeepChildNums();
  }
  std::deque<CScoreElement> elements;
  CScoreElement *page, *system, *staff1, *staff2, *noteA, *bar, *noteB, *rest, *noteC, *noteD;
};

TEST_F(MapQueriesTest, FieldsAndTreeWalking) {
  EXPECT_EQ(RazidMapGetElementType(noteB), 1);
  EXPECT_FLOAT_EQ(RazidMapGetElementDate(noteB), 0.25f);
  EXPECT_FLOAT_EQ(RazidMapGetElementDuration(noteB), 0.25f);
  float l, t, r, b, x, y;
  RazidMapGetElementBoundingBox(noteB, &l, &t, &r, &b);
  EXPECT_EQ((std::array{l, t, r, b}), (std::array{120.f, 20.f, 140.f, 40.f}));
  RazidMapGetHeadPoint(noteB, &x, &y);
  EXPECT_EQ((std::pair{x, y}), (std::pair{122.f, 30.f}));
  RazidMapGetElementPosition(noteB, &x, &y);
  EXPECT_EQ((std::pair{x, y}), (std::pair{120.f, 30.f}));

  EXPECT_EQ(RazidMapChildCount(staff1), 4);
  EXPECT_EQ(RazidMapGetChild(staff1, 2), noteB);
  EXPECT_EQ(RazidMapGetParent(noteB), staff1);
  EXPECT_EQ(RazidMapGetIndexInParentList(noteB), 2);
  EXPECT_EQ(RazidMapChildCount(nullptr), 0);
  EXPECT_EQ(RazidMapGetParent(nullptr), nullptr);
  EXPECT_EQ(RazidMapFindParentWithType(noteB, 7), system);
  EXPECT_EQ(RazidMapFindParentWithType(noteB, 1), noteB);
  EXPECT_EQ(RazidMapFindParentWithType(noteB, 6), nullptr);
}

TEST_F(MapQueriesTest, NthElementCountsInDrawingOrder) {
  CScoreElement* const events[] = {noteA, noteB, rest, noteC, noteD, nullptr};
  for (int n = 1; n <= 6; ++n)
    EXPECT_EQ(RazidMapFindDeepNthElementOfType(page, 1, n), events[n - 1]);
  EXPECT_EQ(RazidMapFindDeepNthElementOfType(page, 1, 0), nullptr);
  EXPECT_EQ(RazidMapFindDeepNthElementOfType(page, 3, 1), bar);
  EXPECT_EQ(RazidMapFindDeepNthElementOfType(page, 7, 1), system);
  EXPECT_EQ(RazidMapFindDeepNthElementOfType(page, 8, 1), nullptr);  // the start is not tested
  EXPECT_EQ(RazidMapFindDeepNthElementOfType(nullptr, 1, 1), nullptr);
}

TEST_F(MapQueriesTest, SearchesByPosition) {
  EXPECT_EQ(RazidMapFindDeepSubElementHitBy(page, 125, 25), noteB);
  EXPECT_EQ(RazidMapFindDeepSubElementHitBy(page, 100, 50), staff1);  // a bar is never hit
  EXPECT_EQ(RazidMapFindDeepSubElementHitBy(page, 140, 25), staff1);  // right edge is outside
  EXPECT_EQ(RazidMapFindDeepSubElementHitBy(page, 500, 500), page);

  EXPECT_EQ(RazidMapFindNearestSubElement(page, 1, 150, 30), noteB);
  EXPECT_EQ(RazidMapFindNearestSubElement(noteB, 1, 0, 0), noteB);
  EXPECT_EQ(RazidMapFindNearestSubElement(noteA, 3, 0, 0), nullptr);

  EXPECT_EQ(RazidMapFindNearestEventX(page, 125), noteB);
  EXPECT_EQ(RazidMapFindNearestEventX(page, 69), noteD);  // centres 71 and 69, the nearer one
  EXPECT_EQ(RazidMapFindEventRangeX(staff1, 130), noteB);
  EXPECT_EQ(RazidMapFindEventRangeX(staff1, 10), noteA);  // nothing starts before: first after
  EXPECT_EQ(RazidMapFindEventRangeX(staff1, 200), rest);  // starts at x: not the one before

  CScoreElement *previous = noteA, *next = noteA;
  RazidMapFindPreviousAndNextEvent(staff1, 130, &previous, &next);
  EXPECT_EQ(previous, noteB);
  EXPECT_EQ(next, noteB);
  RazidMapFindPreviousAndNextEvent(staff1, 160, &previous, &next);
  EXPECT_EQ(previous, noteB);
  EXPECT_EQ(next, rest);
  RazidMapFindPreviousAndNextEvent(nullptr, 160, &previous, &next);
  EXPECT_EQ(previous, nullptr);
  EXPECT_EQ(next, nullptr);
}

TEST_F(MapQueriesTest, SearchesByDate) {
  EXPECT_EQ(RazidMapFindEventBeforeDate(page, 0.3f), noteB);
  EXPECT_EQ(RazidMapFindEventBeforeDate(page, 0.8f), noteD);  // equal dates: the leftmost
  EXPECT_EQ(RazidMapFindEventAfterDate(page, 0.3f), rest);
  EXPECT_EQ(RazidMapFindEventAfterDate(page, 0.75f), noteC);  // equal dates: the first
  EXPECT_EQ(RazidMapFindEventAfterDate(page, 2), nullptr);

  EXPECT_EQ(RazidMapFindDeepElementForDate(page, 0.3f), noteB);
  EXPECT_EQ(RazidMapFindDeepElementForDate(page, 1.5f), nullptr);
  EXPECT_EQ(RazidMapFindElementForTypeAndDate(page, 5, 0.8f), staff1);
  EXPECT_EQ(RazidMapFindElementForTypeAndDate(page, 1, 0.8f), noteC);
  EXPECT_EQ(RazidMapFindElementForTypeAndDate(page, 6, 0.8f), nullptr);
}

TEST(SymbolMapSearchTest, MapQueriesStartAtTheRoot) {
  ScoreSymbolMap empty;
  EXPECT_EQ(empty.FindEventHitBy(1, 1), nullptr);
  EXPECT_EQ(empty.FindNthElementOfType(1, 1, nullptr), nullptr);
  EXPECT_EQ(empty.FindNearestSubElement(8, 1, 1), nullptr);
}

}  // namespace
