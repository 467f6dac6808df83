#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

#include "GRRod.h"
#include "GRSpaceForceFunction2.h"
#include "lib-score-engine/assertion_pattern.h"
#include "spacing_fixture.h"

namespace {

using EngineTesting::AssertionPattern;
using SpaceForceTest = EngineTesting::SpacingFixture;

std::vector<int> Ids(GRSpaceForceFunction2 const& sff) {
  std::vector<int> ids;
  for (void* pos = sff.getRecords().GetHeadPosition(); pos;)
    ids.push_back(sff.getRecords().GetNext(pos)->spring->getID());
  return ids;
}

TEST_F(SpaceForceTest, WidthAndForceAreInverse) {
  GRSpaceForceFunction2 empty;
  EXPECT_EQ(empty.getExtent(100), 0);
  EXPECT_EQ(empty.getForce(100), 0);
  EXPECT_EQ(empty.EvaluateBreak(100), 0);

  GRSpaceForceFunction2 one;
  one.addSpring(AddSpring(0, 2, 10));  // force 20
  EXPECT_EQ(one.getExtent(10), 10);
  EXPECT_EQ(one.getExtent(30), 15);
  EXPECT_EQ(one.getForce(15), 30);
  EXPECT_EQ(one.getForce(8), 0);
  struct Break {
    float width, value;
  } const breaks[] = {{300, 1}, {450, 0.5f}, {150, 2}, {600, 0}, {900, 0}, {5, 0}};
  for (Break const& b : breaks) EXPECT_FLOAT_EQ(one.EvaluateBreak(b.width), b.value) << b.width;

  // Two springs: the stiffer one under more force stretches only once the force passes it.
  GRSpaceForceFunction2 two;
  two.addSpring(AddSpring(1, 2, 10));  // force 20
  two.addSpring(AddSpring(2, 4, 10));  // force 40
  EXPECT_FLOAT_EQ(two.getTotalConstant(), 4.0f / 3);
  EXPECT_EQ(two.getExtent(30), 25);  // 30 / 2 + 10
  EXPECT_EQ(two.getForce(25), 30);
  EXPECT_FLOAT_EQ(two.getExtent(60), 45);
  EXPECT_FLOAT_EQ(two.getForce(45), 60);
}

TEST_F(SpaceForceTest, RecordsStayOrderedByForce) {
  GRSpaceForceFunction2 sff;
  sff.addSpring(AddSpring(0, 2, 20));  // 40
  sff.addSpring(AddSpring(1, 4, 5));   // 20
  sff.addSpring(AddSpring(2, 1, 40));  // 40, after the earlier one
  EXPECT_EQ(Ids(sff), (std::vector<int>{1, 0, 2}));
  EXPECT_EQ(sff.getXminSum(), 65);

  GRSpaceForceFunction2 other;
  other.addSpring(AddSpring(3, 1, 40));  // 40: behind this function's own
  other.addSpring(AddSpring(4, 1, 10));  // 10
  sff.addSFF(other);
  EXPECT_EQ(Ids(sff), (std::vector<int>{4, 1, 0, 2, 3}));
  EXPECT_EQ(sff.getRecords().GetHead()->index, 5);  // 2 + 3 before the merge

  sff.deleteSpring(springs.Get(1));
  EXPECT_EQ(Ids(sff), (std::vector<int>{4, 0, 2, 3}));
  EXPECT_EQ(sff.getRecords().GetHead()->index, 4);
  EXPECT_EQ(sff.getXminSum(), 110);
  std::ostringstream out;
  GRSpaceForceFunction2(sff).writeAllExtents(out);  // a copy holds the same records
  EXPECT_EQ(out.str().substr(0, 12), "xmin: 110\n10");
}

// A line of hundreds of springs finds places through an index; the order is the one a short
// list gets by walking: by force, equal forces in the order they came, frozen ones last.
TEST_F(SpaceForceTest, LongFunctionsKeepTheRecordOrder) {
  GRSpaceForceFunction2 sff;
  std::vector<std::pair<float, int>> expected;  // force, id
  for (int id = 0; id < 300; ++id) {
    const float extent = static_cast<float>((id * 7) % 11 + 1);  // forces 2 .. 22, many equal
    sff.addSpring(AddSpring(id, 2, extent));
    expected.emplace_back(2 * extent, id);
  }
  std::stable_sort(expected.begin(), expected.end(),
                   [](auto const& a, auto const& b) { return a.first < b.first; });
  auto ids = [&] {
    std::vector<int> order;
    for (auto const& [force, id] : expected) order.push_back(id);
    return order;
  };
  EXPECT_EQ(Ids(sff), ids());

  // Frozen: to the end. Thawed: back after the springs of its force. Deleted: gone.
  for (int id : {5, 17, 140}) {
    sff.FreezeSpring(springs.Get(id));
    auto at =
        std::find_if(expected.begin(), expected.end(), [id](auto& e) { return e.second == id; });
    expected.erase(at);
    expected.emplace_back(GRSpringForceIndex::kFrozenForce, id);
  }
  EXPECT_EQ(Ids(sff), ids());
  sff.UnfreezeSpring(springs.Get(17));
  expected.erase(
      std::find_if(expected.begin(), expected.end(), [](auto& e) { return e.second == 17; }));
  const float force = springs.Get(17)->getForce();
  expected.insert(
      std::find_if(expected.begin(), expected.end(), [force](auto& e) { return e.first > force; }),
      {force, 17});
  sff.deleteSpring(springs.Get(100));
  expected.erase(
      std::find_if(expected.begin(), expected.end(), [](auto& e) { return e.second == 100; }));
  sff.addSpring(AddSpring(300, 2, 3));
  expected.insert(
      std::find_if(expected.begin(), expected.end(), [](auto& e) { return e.first > 6; }),
      {6.0f, 300});
  EXPECT_EQ(Ids(sff), ids());
}

// A line takes in the functions of its slices one after the other. Past a few dozen records they
// find their places through the index, in the order a walk gives: by force, and among equal
// forces those taken in first; each keeps its number within its slice, after the line's records.
TEST_F(SpaceForceTest, ALineTakesInItsSlicesInForceOrder) {
  GRSpaceForceFunction2 line;
  struct Record {
    float force;
    int id;
    int index;
  };
  std::vector<Record> expected;
  int id = 0;
  for (int slice = 0; slice < 40; ++slice) {
    GRSpaceForceFunction2 own;
    int const before = line.getRecords().GetCount();
    for (int k = 1; k <= 4; ++k, ++id) {
      float const extent = static_cast<float>((id * 5) % 7 + 1);  // forces 2 .. 14, many equal
      own.addSpring(AddSpring(id, 2, extent));
      expected.push_back({2 * extent, id, before + k});
    }
    line.addSFF(own);
  }
  std::stable_sort(expected.begin(), expected.end(),
                   [](Record const& a, Record const& b) { return a.force < b.force; });
  std::vector<std::pair<int, int>> want;
  for (Record const& record : expected) want.emplace_back(record.id, record.index);
  std::vector<std::pair<int, int>> got;
  for (void* pos = line.getRecords().GetHeadPosition(); pos;) {
    GRSpringForceIndex const* record = line.getRecords().GetNext(pos);
    got.emplace_back(record->spring->getID(), record->index);
  }
  EXPECT_EQ(got, want);
}

TEST_F(SpaceForceTest, FrozenSpringsNeverStretch) {
  GRSpaceForceFunction2::setOptForce(100);
  GRSpaceForceFunction2 sff;
  GRSpring* only = AddSpring(0, 2, 10);
  sff.addSpring(only);
  EXPECT_EQ(sff.getOptConstant(), 2);
  sff.FreezeSpring(only);
  EXPECT_EQ(sff.getOptConstant(), -1);
  EXPECT_EQ(sff.getOverOptExtent(), 10);
  EXPECT_EQ(only->isFrozen(), 1);
  EXPECT_EQ(sff.getExtent(30), 10);

  GRSpring* second = AddSpring(1, 2, 10);
  sff.addSpring(second);
  EXPECT_EQ(Ids(sff), (std::vector<int>{1, 0}));
  sff.UnfreezeSpring(only);
  EXPECT_EQ(Ids(sff), (std::vector<int>{1, 0}));  // back at its force, behind equals
  EXPECT_EQ(sff.getOptConstant(), 1);
  EXPECT_EQ(sff.getOverOptExtent(), 0);

  only->change_force(200);
  sff.ResetSprings();
  EXPECT_EQ(only->getForce(), 20);
}

TEST_F(SpaceForceTest, RodsStretchTheSpringsTheyCover) {
  AddSpring(0, 2, 10);
  AddSpring(1, 4, 10);
  AddSpring(2, 1, 10);
  GRRod rod(45, 0, 2);
  EXPECT_EQ(rod.calcforce(&springs), 60);
  EXPECT_FLOAT_EQ(rod.calclength(60, &springs), 45);
  EXPECT_FLOAT_EQ(rod.stretchsprings(60, &springs), 45);
  EXPECT_EQ(springs.Get(2)->getExtent(), 10);  // outside the rod

  GRRod reached(20, 0, 2);
  EXPECT_EQ(reached.calcforce(&springs), 0);
  EXPECT_EQ(GRRod(rod).getForce(), -1);

  // All frozen (extents 30 and 15 now): the last one gives way and stays frozen.
  springs.Get(0)->setFrozen(1);
  springs.Get(1)->setFrozen(1);
  GRRod frozen(60, 0, 2);
  EXPECT_FLOAT_EQ(frozen.calcforce(&springs), 90);  // (60 - 15) x 2
  EXPECT_FLOAT_EQ(frozen.stretchsprings(90, &springs), 52.5f);
  EXPECT_EQ(springs.Get(0)->getExtent(), 30);
  EXPECT_EQ(springs.Get(1)->isFrozen(), 1);
}

TEST_F(SpaceForceTest, RodsOverlapAndOrder) {
  struct Case {
    int first, end, otherFirst, otherEnd;
    int reset, order;
  } const cases[] = {
      {2, 5, 0, 3, 1, 1},  {2, 5, 4, 8, 1, -1}, {2, 5, 0, 8, 1, 1},
      {2, 5, 5, 6, 0, 1},  {2, 5, 0, 2, 0, 1},  {2, 3, 0, 1, 0, 1},
      {2, 3, 4, 5, 0, -1}, {2, 3, 2, 3, 1, 0},  {1, 2, 0, 4, 1, -1},
  };
  AddSpring(0, 1, 0);
  for (Case const& c : cases) {
    SCOPED_TRACE(testing::Message()
                 << c.first << ".." << c.end << " " << c.otherFirst << ".." << c.otherEnd);
    GRRod rod(0, c.first, c.end);
    GRRod other(0, c.otherFirst, c.otherEnd);
    EXPECT_EQ(rod.resetForce(other), 0);  // no force yet
    rod.calcforce(&springs);
    EXPECT_EQ(rod.resetForce(other), c.reset);
    EXPECT_EQ(rod < other, c.order);
  }
}

TEST_F(SpaceForceTest, RodsTakeTheirSpanFromTheElements) {
  GRNotationElement* a = Element(0, 0, 10, 30);
  GRNotationElement* b = Element(0, 0, 25, 10);
  a->tellSpringID(3);
  GRRod open(a, b, 9);
  EXPECT_EQ(open.getSpr1(), 3);
  EXPECT_EQ(open.getSpr2(), 9);
  EXPECT_EQ(open.getLength(), 55);
  b->tellSpringID(5);
  EXPECT_EQ(GRRod(a, b, 9, 12).getSpr2(), 5);
  EXPECT_DEATH(
      open.calclength(-1, &springs),
      AssertionPattern("inForce >= 0", "calclength", "lib-score-engine/graphic/GRRod.cpp"));
}

}  // namespace
