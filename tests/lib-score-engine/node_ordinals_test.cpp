#include <gtest/gtest.h>

#include "NodeOrdinals.h"
#include "kf_list.h"

namespace {

// Positions of a long list, added in list order, give back their places, also after the table
// has grown many times; a position of another list or none has no place.
TEST(NodeOrdinalsTest, EveryPositionFindsItsPlaceInTheList) {
  KF_List<int> list;
  for (int i = 0; i < 5000; ++i) list.AddTail(i);
  KF_List<int> other;
  void* stranger = other.AddTail(-1);
  NodeOrdinals ordinals;
  for (void* pos = list.GetHeadPosition(); pos; list.GetNext(pos)) ordinals.Add(pos);
  int wrong = 0;
  for (void* pos = list.GetHeadPosition(); pos;) {
    void* at = pos;
    wrong += ordinals.IndexOf(at) != list.GetNext(pos);
  }
  EXPECT_EQ(wrong, 0);
  EXPECT_EQ(ordinals.IndexOf(stranger), -1);
  EXPECT_EQ(ordinals.IndexOf(nullptr), -1);
}

}  // namespace
