#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "assertion_pattern.h"
#include "kf_ilist.h"

namespace {

// Elements that record their own deletion, so tests can see what was deleted and in which order.
struct Item {
  Item(int key, int id, std::vector<int>* deleted) : key(key), id(id), deleted(deleted) {}
  virtual ~Item() { deleted->push_back(id); }
  int key;
  int id;
  std::vector<int>* deleted;
};

using ItemList = KF_IPointerList<Item>;

class KF_IPointerListTest : public testing::Test {
 protected:
  ~KF_IPointerListTest() override {
    for (Item* item : mSpare) delete item;
  }

  Item* Make(int key, int id = -1) { return new Item(key, id < 0 ? key : id, &mDeleted); }
  // An element the test itself deletes at the end.
  Item* Spare(int key, int id = -1) {
    mSpare.push_back(Make(key, id));
    return mSpare.back();
  }

  static std::vector<int> Ids(ItemList const& list) {
    std::vector<int> ids;
    for (void* pos = list.GetHeadPosition(); pos;) ids.push_back(list.GetNext(pos)->id);
    std::vector<int> backwards;
    for (void* pos = list.GetTailPosition(); pos;)
      backwards.insert(backwards.begin(), list.GetPrev(pos)->id);
    EXPECT_EQ(ids, backwards);
    EXPECT_EQ(list.GetCount(), static_cast<int>(ids.size()));
    return ids;
  }

  std::vector<int> mDeleted;
  std::vector<Item*> mSpare;
};

int ThreeWay(Item const* a, Item const* b) {
  return a->key > b->key ? 1 : a->key < b->key ? -1 : 0;
}
int TwoForAfter(Item const* a, Item const* b) {
  return a->key > b->key ? 2 : 0;
}
int OneWhenLess(Item const* a, Item const* b) {
  return a->key < b->key ? 1 : 0;
}

TEST_F(KF_IPointerListTest, OwningListsDeleteHeadFirstAndOthersNothing) {
  {
    ItemList owning(1);
    for (int id = 1; id <= 3; ++id) owning.AddTail(Make(id));
    owning.AddTail(nullptr);  // skipped by every deletion
  }
  EXPECT_EQ(mDeleted, (std::vector<int>{1, 2, 3}));
  mDeleted.clear();
  {
    ItemList borrowing(0);
    for (int id = 1; id <= 3; ++id) borrowing.AddTail(Spare(id));
  }
  EXPECT_TRUE(mDeleted.empty());
}

TEST_F(KF_IPointerListTest, RemoveAllDeletesInWalkingOrder) {
  ItemList list(1);
  for (int id = 1; id <= 3; ++id) list.AddTail(Make(id));
  list.RemoveAll();
  EXPECT_EQ(mDeleted, (std::vector<int>{1, 2, 3}));
  EXPECT_EQ(list.GetCount(), 0);

  mDeleted.clear();
  for (int id = 1; id <= 3; ++id) list.AddTail(Make(id));
  list.RemoveAllBackward();
  EXPECT_EQ(mDeleted, (std::vector<int>{3, 2, 1}));
  EXPECT_EQ(list.GetCount(), 0);
}

TEST_F(KF_IPointerListTest, RemovalDeletesOnlyWhileOwning) {
  ItemList list(1);
  list.AddTail(Make(1));
  list.RemoveElementAt(nullptr);
  list.RemoveElementAt(list.GetHeadPosition());
  EXPECT_EQ(mDeleted, (std::vector<int>{1}));
  EXPECT_TRUE(list.empty());

  list.setOwnership(0);
  EXPECT_EQ(list.getOwnership(), 0);
  Item* kept = Spare(2);
  list.AddTail(kept);
  list.RemoveElementAt(list.GetHeadPosition());
  EXPECT_EQ(mDeleted, (std::vector<int>{1}));

  // RemoveHead and SetAt hand elements back whatever the flag.
  list.setOwnership(1);
  Item* head = Spare(3);
  list.AddTail(head);
  EXPECT_EQ(list.RemoveHead(), head);
  Item* placed = Spare(4);
  void* pos = list.AddTail(placed);
  list.SetAt(pos, Make(5));
  EXPECT_EQ(mDeleted, (std::vector<int>{1}));
}

TEST_F(KF_IPointerListTest, RemoveElementTakesTheFirstOccurrence) {
  ItemList list(0);
  Item* twice = Spare(1);
  Item* other = Spare(2);
  list.AddTail(twice);
  list.AddTail(other);
  list.AddTail(twice);
  EXPECT_EQ(list.GetElementPos(twice), list.GetHeadPosition());
  EXPECT_EQ(list.RemoveElement(twice), 1);
  EXPECT_EQ(Ids(list), (std::vector<int>{2, 1}));
  Item* absent = Spare(9);
  EXPECT_EQ(list.RemoveElement(absent), 0);
  EXPECT_EQ(list.GetElementPos(absent), nullptr);
  EXPECT_TRUE(mDeleted.empty());
}

TEST_F(KF_IPointerListTest, DumpListAtTailSplicesWithoutCopying) {
  ItemList list(1);
  ItemList other(0);
  list.AddTail(Make(1));
  list.DumpListAtTail(&other);
  EXPECT_EQ(Ids(list), (std::vector<int>{1}));
  EXPECT_EQ(Ids(other), (std::vector<int>{}));

  other.AddTail(Make(2));
  void* moved = other.AddTail(Make(3));
  list.DumpListAtTail(&other);
  EXPECT_EQ(Ids(list), (std::vector<int>{1, 2, 3}));
  EXPECT_EQ(Ids(other), (std::vector<int>{}));
  EXPECT_EQ(list.GetTailPosition(), moved);
  EXPECT_EQ(other.getOwnership(), 0);

  ItemList empty(1);
  empty.DumpListAtTail(&list);
  EXPECT_EQ(Ids(empty), (std::vector<int>{1, 2, 3}));
  EXPECT_TRUE(mDeleted.empty());
}

TEST_F(KF_IPointerListTest, CopiesNeverOwn) {
  auto owning = std::make_unique<ItemList>(1);
  for (int id = 1; id <= 3; ++id) owning->AddTail(Make(id));
  std::unique_ptr<ItemList> copy(owning->getCopy());
  EXPECT_EQ(copy->getOwnership(), 0);
  EXPECT_EQ(Ids(*copy), (std::vector<int>{1, 2, 3}));
  ItemList second(*owning, 0);
  EXPECT_EQ(Ids(second), (std::vector<int>{1, 2, 3}));
  copy.reset();
  EXPECT_TRUE(mDeleted.empty());
  owning.reset();
  EXPECT_EQ(mDeleted, (std::vector<int>{1, 2, 3}));
}

TEST_F(KF_IPointerListTest, CutHandsTheFlagToTheNewHalf) {
  auto list = std::make_unique<ItemList>(1);
  for (int id = 1; id <= 4; ++id) list->AddTail(Make(id));
  ItemList* rest = nullptr;
  list->Cut(list->GetHeadPosition(), &rest);
  ASSERT_NE(rest, nullptr);
  EXPECT_EQ(rest->getOwnership(), 1);
  EXPECT_EQ(Ids(*list), (std::vector<int>{1}));
  EXPECT_EQ(Ids(*rest), (std::vector<int>{2, 3, 4}));
  delete rest;
  EXPECT_EQ(mDeleted, (std::vector<int>{2, 3, 4}));

  // The plain form gives a plain list, which never deletes.
  list->AddTail(Make(5));
  KF_List<Item*>* plain = nullptr;
  list->Cut(list->GetHeadPosition(), &plain);
  EXPECT_EQ(plain->GetCount(), 1);
  Item* orphan = plain->GetHead();
  delete plain;
  EXPECT_EQ(mDeleted, (std::vector<int>{2, 3, 4}));
  delete orphan;
  list.reset();
  EXPECT_EQ(mDeleted, (std::vector<int>{2, 3, 4, 5, 1}));
}

TEST_F(KF_IPointerListTest, SortSwapsOnlyOnExactlyOne) {
  ItemList list(1);
  for (int key : {3, 1, 2}) list.AddTail(Make(key));
  list.sort(TwoForAfter);
  EXPECT_EQ(Ids(list), (std::vector<int>{3, 1, 2}));
  list.sort(ThreeWay);
  EXPECT_EQ(Ids(list), (std::vector<int>{1, 2, 3}));
  list.sort(OneWhenLess);
  EXPECT_EQ(Ids(list), (std::vector<int>{3, 2, 1}));

  // Equal keys keep their order.
  ItemList stable(1);
  int id = 0;
  for (int key : {2, 1, 2, 1, 0, 2}) stable.AddTail(Make(key, id++));
  stable.sort(ThreeWay);
  EXPECT_EQ(Ids(stable), (std::vector<int>{4, 1, 3, 0, 2, 5}));
}

TEST_F(KF_IPointerListTest, SortedInsertionPlacesAroundEqualKeys) {
  ItemList list(1);
  for (int key : {1, 2, 3}) list.AddTail(Make(key, key * 10));
  void* afterEqual = list.AddSortedHead(Make(2, 21), ThreeWay);
  EXPECT_EQ(Ids(list), (std::vector<int>{10, 20, 21, 30}));
  EXPECT_EQ(list.GetAt(afterEqual)->id, 21);
  list.AddSortedTail(Make(2, 19), ThreeWay);
  EXPECT_EQ(Ids(list), (std::vector<int>{10, 19, 20, 21, 30}));

  list.AddSortedTail(Make(0, 0), ThreeWay);
  list.AddSortedHead(Make(9, 90), ThreeWay);
  EXPECT_EQ(Ids(list), (std::vector<int>{0, 10, 19, 20, 21, 30, 90}));
}

// Dumping a list into itself would close its chain into a ring.
TEST(KF_IPointerListDeathTest, DumpingIntoItselfStops) {
  KF_IPointerList<int> list(0);
  int element = 0;
  list.AddTail(&element);
  EXPECT_DEATH(list.DumpListAtTail(&list),
               EngineTesting::AssertionPattern("other != this", "DumpListAtTail",
                                               "lib-score-engine/kf_ilist.h"));
}

}  // namespace
