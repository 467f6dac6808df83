#include <gtest/gtest.h>

#include "NodeOrdinals.h"
#include "kf_list.h"

namespace {

// Positions of a list, added in list order, give back their places: in a short list read in turn,
// in a longer one from the table, also after the table has grown many times, and when the table
// is made at once for the count expected; a position of another list or none has no place.
TEST(NodeOrdinalsTest, EveryPositionFindsItsPlaceInTheList) {
  KF_List<int> other;
  void* stranger = other.AddTail(-1);
  for (int const count : {1, 16, 17, 40, 5000}) {
    for (std::size_t const expected : {std::size_t{0}, static_cast<std::size_t>(count)}) {
      KF_List<int> list;
      for (int i = 0; i < count; ++i) list.AddTail(i);
      NodeOrdinals ordinals(expected);
      for (void* pos = list.GetHeadPosition(); pos; list.GetNext(pos)) ordinals.Add(pos);
      int wrong = 0;
      for (void* pos = list.GetHeadPosition(); pos;) {
        void* at = pos;
        wrong += ordinals.IndexOf(at) != list.GetNext(pos);
      }
      EXPECT_EQ(wrong, 0) << count << " positions, " << expected << " expected";
      EXPECT_EQ(ordinals.IndexOf(stranger), -1);
      EXPECT_EQ(ordinals.IndexOf(nullptr), -1);
    }
  }
}

}  // namespace
