#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "assertion_pattern.h"
#include "kf_ivect.h"

namespace {

using EngineTesting::AssertionPattern;

// Exposes the buffer geometry, which later layout code relies on through the index offset.
struct IntVector : KF_Vector<int> {
  IntVector() : KF_Vector<int>(-1) {}
  int Slots() const { return memsize; }
  int Offset() const { return indexoffset; }
};

void ExpectRange(KF_Vector<int> const& v, int minimum, int maximum, int count) {
  EXPECT_EQ(v.GetMinimum(), minimum);
  EXPECT_EQ(v.GetMaximum(), maximum);
  EXPECT_EQ(v.GetCount(), count);
}

struct Counted {
  Counted(int id, std::vector<int>* deleted) : id(id), deleted(deleted) {}
  virtual ~Counted() { deleted->push_back(id); }
  int id;
  std::vector<int>* deleted;
};

TEST(KF_VectorTest, GrowsByTheTableKeepingIndices) {
  IntVector up;
  ExpectRange(up, 0, -1, 0);
  EXPECT_EQ(up.Get(-1000), -1);
  up.Set(25, 250);
  EXPECT_EQ(up.Slots(), 240);
  EXPECT_EQ(up.Offset(), -20);
  up.Set(300, 3000);
  EXPECT_EQ(up.Slots(), 560);
  EXPECT_EQ(up.Offset(), -50);
  up.Set(2000, 20000);
  EXPECT_EQ(up.Slots(), 2240);
  EXPECT_EQ(up.Offset(), -110);
  EXPECT_EQ(up.Get(25), 250);
  ExpectRange(up, 25, 2000, 3);

  IntVector down;
  down.Set(0, 7);
  down.Set(-5, -50);
  EXPECT_EQ(down.Slots(), 32);
  EXPECT_EQ(down.Offset(), -11);
  EXPECT_EQ(down.Get(0), 7);

  // Indices set in both directions all keep their values.
  IntVector mixed;
  for (int i = 0; i < 700; ++i) mixed.Set(i % 2 ? i : -i, i);
  for (int i = 0; i < 700; ++i) EXPECT_EQ(mixed.Get(i % 2 ? i : -i), i);
  ExpectRange(mixed, -698, 699, 700);
}

TEST(KF_VectorTest, EmptyingSlotsMovesTheBounds) {
  IntVector v;
  v.Set(3, 30);
  v.Set(7, 70);
  v.Set(9, 90);
  v.Set(3, -1);
  ExpectRange(v, 7, 9, 2);
  v.Delete(9);
  ExpectRange(v, 7, 7, 1);
  v.Delete(7);
  ExpectRange(v, 0, -1, 0);
  v.Set(40, 1);
  v.RemoveAll();
  ExpectRange(v, 0, -1, 0);
  EXPECT_EQ(v.Slots(), 10);
}

TEST(KF_VectorTest, CutMovesTheUpperPartUnderTheSameIndices) {
  IntVector v;
  for (int index : {5, 7, 8, 10}) v.Set(index, index * 10);
  KF_Vector<int>* upper = nullptr;
  v.Cut(7, &upper);
  ASSERT_NE(upper, nullptr);
  ExpectRange(v, 5, 7, 2);
  ExpectRange(*upper, 8, 10, 2);
  EXPECT_EQ(upper->Get(10), 100);
  EXPECT_EQ(v.Get(8), -1);

  KF_Vector<int>* none = nullptr;
  upper->Cut(10, &none);
  ExpectRange(*none, 0, -1, 0);
  delete none;
  upper->Cut(11, &none);
  EXPECT_EQ(none, nullptr);

  delete upper;

  // A part cut off high up has its offset above 0; emptied again, it must still report its
  // bounds and grow downwards.
  IntVector high;
  high.Set(20, 1);
  high.Set(25, 2);
  high.Cut(20, &upper);
  upper->Delete(25);
  ExpectRange(*upper, 0, -1, 0);
  upper->Set(-3, 1);
  EXPECT_EQ(upper->Get(-3), 1);
  delete upper;
}

TEST(KF_IVectorTest, CutsHandOverElementsAndOwnership) {
  std::vector<int> deleted;
  auto v = std::make_unique<KF_IVector<Counted>>(1);
  for (int index : {5, 7, 8, 10}) v->Set(index, new Counted(index, &deleted));
  KF_IVector<Counted>* lower = nullptr;
  v->CutBegin(7, &lower);
  EXPECT_EQ(lower->getOwnership(), 1);
  EXPECT_EQ(lower->GetMinimum(), 5);
  EXPECT_EQ(lower->GetMaximum(), 7);
  EXPECT_EQ(v->GetMinimum(), 8);
  EXPECT_EQ(v->GetCount(), 2);
  EXPECT_EQ(v->Get(5), nullptr);

  KF_IVector<Counted>* upper = nullptr;
  v->Cut(8, &upper);
  EXPECT_EQ(upper->Get(10)->id, 10);
  KF_IVector<Counted>* outside = nullptr;
  v->CutBegin(4, &outside);
  EXPECT_EQ(outside, nullptr);

  delete lower;
  EXPECT_EQ(deleted, (std::vector<int>{5, 7}));
  delete upper;
  v.reset();
  EXPECT_EQ(deleted, (std::vector<int>{5, 7, 10, 8}));
}

TEST(KF_IVectorTest, DeletesOwnedElementsExactlyOnce) {
  std::vector<int> deleted;
  auto* first = new Counted(4, &deleted);
  {
    KF_IVector<Counted> owning(1);
    owning.Set(-3, new Counted(1, &deleted));
    owning.Set(40, new Counted(2, &deleted));
    owning.Delete(0);      // empty slot: nothing
    owning.Delete(99999);  // outside the buffer: nothing
    owning.Delete(40);
    EXPECT_EQ(deleted, (std::vector<int>{2}));
    // Set over an owned element hands the old one back to the caller.
    owning.Set(5, first);
    owning.Set(5, new Counted(5, &deleted));
  }
  EXPECT_EQ(deleted, (std::vector<int>{2, 1, 5}));
  delete first;
}

TEST(KF_VectorDeathTest, DeleteOutsideTheBoundsStops) {
  constexpr char kSource[] = "lib-score-engine/kf_vect.h";
  IntVector v;
  v.Set(3, 1);
  v.Set(6, 2);
  EXPECT_DEATH(v.Delete(2), AssertionPattern("false", "Delete", kSource));
  EXPECT_DEATH(v.Delete(7), AssertionPattern("false", "Delete", kSource));
  // A borrowing vector deletes nothing, so it checks the bounds like the plain one.
  KF_IVector<int> borrowing(0);
  int element = 0;
  borrowing.Set(2, &element);
  EXPECT_DEATH(borrowing.Delete(1), AssertionPattern("false", "Delete", kSource));
}

}  // namespace
