#include <gtest/gtest.h>

#include "GRGlue.h"
#include "GRSliceHeight.h"
#include "GRSpaceForceFunction2.h"
#include "graphic_globals.h"
#include "spacing_fixture.h"

namespace {

// Default staves are 200 high (five lines 50 apart) and stack one line space apart, less the
// room a lower staff needs above its top line.
class SystemSliceTest : public EngineTesting::SpacingFixture {
 protected:
  GRSystemSlice* SliceWith(std::initializer_list<int> numbers) {
    auto* made = new GRSystemSlice(nullptr, Fraction(1, 1));
    system.AddSystemSlice(made);
    for (int n : numbers) {
      made->addStaff(new GRStaff(made), n);
      made->getStaff(n)->setLength(500);
    }
    return made;
  }
  // An element on staff number n standing above its top line.
  void AddHighElement(GRSystemSlice* on, int n, float y) {
    GRNotationElement* el = Element(0, y, 10, 10);
    on->getStaff(n)->AddTail(el);
    elements.back().release();
  }
};

TEST_F(SystemSliceTest, StavesStackTopToBottom) {
  struct Case {
    std::initializer_list<int> numbers;
    float highTop;   // y of an element on the last staff, 0 for none
    float distance;  // explicit distance of the first staff, 0 for none
    float beginTop;  // the begin function's top for the last staff
    float lastY, bottom;
  } const cases[] = {
      {{0}, 0, 0, 0, 0, 200},  // one staff: no line space added
      {{0, 1}, 0, 0, 0, 250, 450},
      {{0, 3}, 0, 0, 0, 250, 450},      // a gap keeps the previous staff
      {{0, 1}, -60, 0, 0, 320, 520},    // room above the lower staff
      {{0, 1}, -60, 100, 0, 300, 500},  // an explicit distance wins
      {{0, 1}, 0, 0, -80, 330, 530},    // the begin clef and key reach higher
  };
  for (Case const& c : cases) {
    GRSystemSlice* made = SliceWith(c.numbers);
    const int last = *(c.numbers.end() - 1);
    const int first = *c.numbers.begin();
    if (c.highTop != 0) AddHighElement(made, last, c.highTop);
    if (c.distance != 0) {
      made->getStaff(first)->getStaffState().distance = c.distance;
      made->getStaff(first)->getStaffState().distanceset = true;
    }
    GRBeginSpaceForceFunction2 begin;
    if (c.beginTop != 0) {
      begin.getFirstVector().Set(last, c.beginTop);
      made->setBeginSpaceForceFunction(&begin);
    }
    made->Finish();
    EXPECT_EQ(made->getStaff(first)->getPosition().y, 0);
    EXPECT_EQ(made->getStaff(last)->getPosition().y, c.lastY);
    EXPECT_EQ(made->getBoundingBox().top, 0);
    EXPECT_EQ(made->getBoundingBox().bottom, c.bottom);
    made->setBeginSpaceForceFunction(nullptr);
  }
}

TEST_F(SystemSliceTest, GluesPlaceTheStaves) {
  auto* start = new GRGlue(nullptr, GRGlue::START_GLUE);
  auto* end = new GRGlue(nullptr, GRGlue::END_GLUE);
  slice->setStartGlue(start);
  slice->setEndGlue(end);
  GRGlue stranger(nullptr, GRGlue::START_GLUE);
  slice->tellPosition(&stranger, NVPoint{77, 0});
  slice->tellPosition(nullptr, NVPoint{77, 0});
  EXPECT_EQ(staves[1]->getPosition().x, 0);
  slice->tellPosition(start, NVPoint{120, 0});
  EXPECT_EQ(staves[0]->getPosition().x, 120);
  EXPECT_EQ(staves[1]->getPosition().x, 120);
  slice->tellPosition(end, NVPoint{900, 0});  // no system springs: the glue's x
  EXPECT_EQ(staves[0]->getLength(), 780);
  EXPECT_EQ(staves[1]->getLength(), 780);
}

TEST_F(SystemSliceTest, DrawingReportsTheSliceThenItsStaves) {
  for (GRStaff* staff : staves) staff->setLength(500);
  slice->setPosition(NVPoint{0, 400});  // placed first: an event's box follows its elements
  slice->Finish();
  slice->FinishSlice();
  slice->OnDraw(device, map);
  ASSERT_EQ(map.elements.size(), 5u);  // the slice, then per staff its record and its lines
  EXPECT_EQ(map.elements[0].kind, 6);
  EXPECT_EQ(map.elements[0].top, 400);
  EXPECT_EQ(map.elements[0].bottom, 850);
  EXPECT_EQ(map.elements[0].right, 500);
  EXPECT_EQ(map.elements[0].date, 0);
  EXPECT_EQ(map.elements[1].kind, 5);
  EXPECT_EQ(map.elements[3].kind, 5);
  EXPECT_EQ(gCurStaff, staves[1]);
}

// Several slices that may form one system: each staff lies as low as the slices need.
TEST_F(SystemSliceTest, SliceHeightsTakeTheLowestPlaceOfEachStaff) {
  GRSliceHeight fromBoxes;
  EXPECT_EQ(fromBoxes.getHeight(true), 0);
  fromBoxes.AddSystemSlice(nullptr, true);
  fromBoxes.AddSystemSlice(SliceWith({0, 1}), true);
  EXPECT_EQ(fromBoxes.getPosition(1), 200);  // boxes touching
  GRSystemSlice* high = SliceWith({0, 1});
  AddHighElement(high, 1, -60);
  fromBoxes.AddSystemSlice(high, true);
  EXPECT_EQ(fromBoxes.getPosition(1), 270);
  EXPECT_EQ(fromBoxes.getHeight(true), 470);
  EXPECT_EQ(fromBoxes.getHeight(false), 470);

  GRSliceHeight placed;
  GRSystemSlice* stacked = SliceWith({0, 2});
  stacked->Finish();
  placed.AddSystemSlice(stacked, false);
  EXPECT_EQ(placed.getPosition(2), 250);
  EXPECT_EQ(placed.getPosition(1), 0);
  EXPECT_EQ(placed.getHeight(true), 450);
}

}  // namespace
