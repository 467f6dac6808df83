#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

#include "assertion_pattern.h"
#include "kf_list.h"

namespace {

using EngineTesting::AssertionPattern;

// Walks both ways, so the prev links, the tail and the count are checked along with the values.
void ExpectValues(KF_List<int> const& list, std::vector<int> const& expected) {
  std::vector<int> forward, backward;
  for (void* pos = list.GetHeadPosition(); pos;) forward.push_back(list.GetNext(pos));
  for (void* pos = list.GetTailPosition(); pos;)
    backward.insert(backward.begin(), list.GetPrev(pos));
  EXPECT_EQ(forward, expected);
  EXPECT_EQ(backward, expected);
  EXPECT_EQ(list.GetCount(), static_cast<int>(expected.size()));
}

TEST(KF_ListTest, InsertsRelativeToPositions) {
  KF_List<int> list;
  EXPECT_EQ(list.GetHead(), 0);
  EXPECT_EQ(list.RemoveHead(), 0);
  list.sort();
  void* two = list.AddTail(2);
  list.AddHead(1);
  void* four = list.AddTail(4);
  list.AddElementAt(four, 3);
  list.AddElementAt(list.GetHeadPosition(), 0);
  list.AddElementAt(nullptr, -1);
  list.AddElementAfter(two, 25);
  list.AddElementAfter(list.GetTailPosition(), 5);
  list.AddElementAfter(nullptr, 6);
  ExpectValues(list, {-1, 0, 1, 2, 25, 3, 4, 5, 6});
  list.SetAt(two, 20);
  EXPECT_EQ(list.GetAt(two), 20);
}

TEST(KF_ListTest, RemovalKeepsOtherPositionsValid) {
  KF_List<int> list;
  void* a = list.AddTail(1);
  void* b = list.AddTail(2);
  void* c = list.AddTail(3);
  list.RemoveElementAt(b);
  list.RemoveElementAt(nullptr);
  ExpectValues(list, {1, 3});
  list.RemoveElementAt(a);
  EXPECT_EQ(list.GetHeadPosition(), c);
  list.RemoveElementAt(c);
  ExpectValues(list, {});

  // A walk may remove the node it has just passed.
  for (int v = 1; v <= 6; ++v) list.AddTail(v);
  for (void* pos = list.GetHeadPosition(); pos;) {
    void* current = pos;
    if (list.GetNext(pos) % 2 == 0) list.RemoveElementAt(current);
  }
  ExpectValues(list, {1, 3, 5});
  EXPECT_EQ(list.RemoveHead(), 1);
  ExpectValues(list, {3, 5});
  list.RemoveAllBackward();
  ExpectValues(list, {});
}

TEST(KF_ListTest, CutSplitsAfterThePositionAndRecounts) {
  KF_List<int> list;
  std::vector<void*> positions;
  for (int v = 1; v <= 5; ++v) positions.push_back(list.AddTail(v));

  KF_List<int>* rest = nullptr;
  list.Cut(positions[4], &rest);
  ASSERT_NE(rest, nullptr);
  ExpectValues(*rest, {});
  delete rest;

  list.Cut(positions[2], &rest);
  ExpectValues(list, {1, 2, 3});
  ExpectValues(*rest, {4, 5});
  rest->RemoveElementAt(positions[3]);  // positions after the cut now belong to rest
  ExpectValues(*rest, {5});
  delete rest;

  list.Cut(nullptr, &rest);
  ExpectValues(list, {});
  ExpectValues(*rest, {1, 2, 3});
  delete rest;
}

TEST(KF_ListTest, SortsValuesInPlace) {
  KF_List<int> list;
  void* first = list.AddTail(3);
  list.AddTail(-1);
  list.AddTail(2);
  list.sort();
  ExpectValues(list, {-1, 2, 3});
  EXPECT_EQ(list.GetHeadPosition(), first);  // nodes stay, values move
}

// Freed nodes are handed out again by the thread that freed them, whichever thread made them; a
// thread's kept nodes go back when it ends. Values with destructors must be destroyed on removal
// and built afresh on reuse (the leak check of this program catches a lost one).
TEST(KF_ListTest, NodesAreReusedAcrossListsAndThreads) {
  auto fill = [](KF_List<std::string>& list, int from) {
    for (int v = from; v < from + 3; ++v) list.AddTail(std::string(40, static_cast<char>('a' + v)));
  };
  auto* made_here = new KF_List<std::string>;
  fill(*made_here, 0);
  KF_List<std::string>* made_there = nullptr;
  std::thread worker([&] {
    made_there = new KF_List<std::string>;
    fill(*made_there, 3);
    delete made_here;  // joins the worker's free list, which is drained as the worker ends
    KF_List<std::string> reused;
    fill(reused, 6);
    EXPECT_EQ(reused.GetTail(), std::string(40, 'i'));
  });
  worker.join();
  made_there->RemoveElementAt(made_there->GetHeadPosition());
  KF_List<std::string> again;
  fill(again, 9);
  again.RemoveHead();
  EXPECT_EQ(again.GetHead(), std::string(40, 'k'));
  EXPECT_EQ(made_there->GetHead(), std::string(40, 'e'));
  delete made_there;
}

TEST(KF_ListDeathTest, SplicesCheckTheirPreconditions) {
  constexpr char kSource[] = "lib-score-engine/kf_list.h";
  KF_List<int> list;
  list.AddTail(1);
  KF_List<int> other;
  void* foreign = other.AddTail(2);
  KF_List<int>* rest = nullptr;
  EXPECT_DEATH(list.Cut(foreign, &rest),
               AssertionPattern("cur == tail", "SetTailPosition", kSource));
  EXPECT_DEATH(list.SetHeadPosition(foreign),
               AssertionPattern("!head", "SetHeadPosition", kSource));
  KF_List<int> empty;
  EXPECT_DEATH(
      {
        empty.SetTailPosition(foreign);  // a tail without a head
        empty.SetHeadPosition(foreign);
      },
      AssertionPattern("!tail", "SetHeadPosition", kSource));
}

}  // namespace
