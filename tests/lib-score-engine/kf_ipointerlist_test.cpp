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
  Item* Spare(int key) { return mSpare.emplace_back(Make(key)); }

  // Walks both ways, so links and count are checked too.
  static std::vector<int> Ids(ItemList const& list) {
    std::vector<int> ids, backwards;
    for (void* pos = list.GetHeadPosition(); pos;) ids.push_back(list.GetNext(pos)->id);
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

TEST_F(KF_IPointerListTest, DeletesOwnedElementsInWalkingOrder) {
  {
    ItemList owning(1);
    for (int id = 1; id <= 3; ++id) owning.AddTail(Make(id));
    ItemList borrowing(owning, 0);
    EXPECT_EQ(Ids(borrowing), (std::vector<int>{1, 2, 3}));
    owning.AddTail(nullptr);  // skipped by every deletion
  }
  EXPECT_EQ(mDeleted, (std::vector<int>{1, 2, 3}));

  ItemList list(1);
  for (int id = 1; id <= 3; ++id) list.AddTail(Make(id));
  mDeleted.clear();
  list.RemoveAll();
  EXPECT_EQ(mDeleted, (std::vector<int>{1, 2, 3}));
  for (int id = 1; id <= 3; ++id) list.AddTail(Make(id));
  mDeleted.clear();
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
  list.AddTail(Spare(2));
  list.RemoveElementAt(list.GetHeadPosition());
  EXPECT_EQ(mDeleted, (std::vector<int>{1}));

  // RemoveHead and SetAt hand elements back whatever the flag.
  list.setOwnership(1);
  Item* head = Spare(3);
  list.AddTail(head);
  EXPECT_EQ(list.RemoveHead(), head);
  void* pos = list.AddTail(Spare(4));
  list.SetAt(pos, Make(5));
  EXPECT_EQ(mDeleted, (std::vector<int>{1}));

  // RemoveElement takes the first occurrence only.
  ItemList borrowing(0);
  Item* twice = Spare(6);
  for (Item* item : {twice, Spare(7), twice}) borrowing.AddTail(item);
  EXPECT_EQ(borrowing.RemoveElement(twice), 1);
  EXPECT_EQ(Ids(borrowing), (std::vector<int>{7, 6}));
  EXPECT_EQ(borrowing.RemoveElement(head), 0);
  EXPECT_EQ(borrowing.GetElementPos(head), nullptr);
}

TEST_F(KF_IPointerListTest, DumpListAtTailSplicesWithoutCopying) {
  ItemList list(1);
  ItemList other(0);
  list.AddTail(Make(1));
  list.DumpListAtTail(&other);
  EXPECT_EQ(Ids(list), (std::vector<int>{1}));

  other.AddTail(Make(2));
  void* moved = other.AddTail(Make(3));
  list.DumpListAtTail(&other);
  EXPECT_EQ(Ids(list), (std::vector<int>{1, 2, 3}));
  EXPECT_EQ(Ids(other), (std::vector<int>{}));
  EXPECT_EQ(list.GetTailPosition(), moved);

  ItemList empty(1);
  empty.DumpListAtTail(&list);
  EXPECT_EQ(Ids(empty), (std::vector<int>{1, 2, 3}));
  EXPECT_TRUE(mDeleted.empty());
}

TEST_F(KF_IPointerListTest, CopiesNeverOwnAndCutsInheritTheFlag) {
  auto list = std::make_unique<ItemList>(1);
  for (int id = 1; id <= 4; ++id) list->AddTail(Make(id));
  delete list->getCopy();
  EXPECT_TRUE(mDeleted.empty());

  ItemList* rest = nullptr;
  list->Cut(list->GetHeadPosition(), &rest);
  EXPECT_EQ(rest->getOwnership(), 1);
  EXPECT_EQ(Ids(*list), (std::vector<int>{1}));
  delete rest;
  EXPECT_EQ(mDeleted, (std::vector<int>{2, 3, 4}));

  // The plain form gives a plain list, which never deletes.
  list->AddTail(Make(5));
  KF_List<Item*>* plain = nullptr;
  list->Cut(list->GetHeadPosition(), &plain);
  Item* orphan = plain->GetHead();
  delete plain;
  EXPECT_EQ(mDeleted, (std::vector<int>{2, 3, 4}));
  delete orphan;
}

TEST_F(KF_IPointerListTest, SortSwapsOnlyOnExactlyOne) {
  ItemList list(1);
  for (int key : {3, 1, 2}) list.AddTail(Make(key));
  list.sort([](Item const* a, Item const* b) { return a->key > b->key ? 2 : 0; });
  EXPECT_EQ(Ids(list), (std::vector<int>{3, 1, 2}));
  list.sort([](Item const* a, Item const* b) { return a->key < b->key ? 1 : 0; });
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
  EXPECT_EQ(list.GetAt(afterEqual)->id, 21);
  list.AddSortedTail(Make(2, 19), ThreeWay);
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
