#include <gtest/gtest.h>

#include <cstdint>
#include <deque>

#include "CScoreElement.h"
#include "Razid.h"
#include "engine_work.h"

namespace {

CScoreElement* const kNone = nullptr;

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

TEST_F(MapQueriesTest, TreeWalkingAndTheHeadPoint) {
  float x, y;
  RazidMapGetHeadPoint(noteB, &x, &y);
  EXPECT_EQ((std::pair{x, y}), (std::pair{122.f, 30.f}));
  EXPECT_EQ(RazidMapGetIndexInParentList(noteB), 2);
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

// The walk goes on from where the last question left it; any other question, a change to the tree
// and a tree freed in between must give the same answers as counting from the start.
TEST_F(MapQueriesTest, NthElementAnswersAlikeInAnyOrder) {
  CScoreElement* const events[] = {noteA, noteB, rest, noteC, noteD};
  for (int n : {5, 4, 2, 2, 1, 3, 5, 6, 5})
    EXPECT_EQ(RazidMapFindDeepNthElementOfType(page, 1, n), n <= 5 ? events[n - 1] : nullptr) << n;
  EXPECT_EQ(RazidMapFindDeepNthElementOfType(page, 1, 1), noteA);
  EXPECT_EQ(RazidMapFindDeepNthElementOfType(page, 3, 1), bar);
  EXPECT_EQ(RazidMapFindDeepNthElementOfType(page, 1, 2), noteB);
  EXPECT_EQ(RazidMapFindDeepNthElementOfType(staff2, 1, 2), noteD);
  EXPECT_EQ(RazidMapFindDeepNthElementOfType(page, 1, 3), rest);

  CScoreElement* noteE = Add(staff1, 1, 240, 20, 260, 40, 0.75f, 0.25f);
  EXPECT_EQ(RazidMapFindDeepNthElementOfType(page, 1, 4), noteE);
  EXPECT_EQ(RazidMapFindDeepNthElementOfType(page, 1, 5), noteC);

  // A page freed and another built in its place (often at the same address): one with notes,
  // then one without any.
  std::deque<CScoreElement> other;
  for (int notes : {3, 0}) {
    other.clear();
    CScoreElement* otherPage = &other.emplace_back();
    otherPage->kind = 8;
    for (int i = 0; i < notes; ++i) {
      CScoreElement* note = &other.emplace_back();
      note->kind = 1;
      otherPage->AddChild(note);
    }
    EXPECT_EQ(RazidMapFindDeepNthElementOfType(otherPage, 1, 1), notes ? &other[1] : nullptr);
  }
}

// A page's events are read by asking for each in turn: the steps taken grow with the page.
TEST(MapOfManyEvents, ReadingEveryEventInTurnTakesStepsInProportionToThePage) {
  auto stepsToReadEvery = [](int staves, int eventsPerStaff) {
    std::deque<CScoreElement> elements;
    auto add = [&elements](CScoreElement* parent, int kind) {
      CScoreElement* element = &elements.emplace_back();
      element->kind = kind;
      if (parent) parent->AddChild(element);
      return element;
    };
    CScoreElement* page = add(nullptr, 8);
    CScoreElement* system = add(page, 7);
    for (int s = 0; s < staves; ++s) {
      CScoreElement* staff = add(system, 5);
      for (int e = 0; e < eventsPerStaff; ++e) add(staff, e % 4 ? 1 : 3);
    }
    std::uint64_t const before = EngineWork::ListSteps();
    int read = 0;
    while (RazidMapFindDeepNthElementOfType(page, 1, read + 1)) ++read;
    EXPECT_EQ(read, staves * eventsPerStaff * 3 / 4);
    return static_cast<double>(EngineWork::ListSteps() - before);
  };
  double const small = stepsToReadEvery(10, 40);
  EXPECT_LE(stepsToReadEvery(80, 40) / small, 9);
  EXPECT_LE(stepsToReadEvery(10, 320) / small, 9);
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

  auto around = [](CScoreElement* from, float x) {
    CScoreElement *previous = from, *next = from;  // set aside before the search
    RazidMapFindPreviousAndNextEvent(from, x, &previous, &next);
    return std::pair{previous, next};
  };
  EXPECT_EQ(around(staff1, 130), std::pair(noteB, noteB));
  EXPECT_EQ(around(staff1, 160), std::pair(noteB, rest));
  EXPECT_EQ(around(nullptr, 160), std::pair(kNone, kNone));
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

}  // namespace
