// The indexed rod list against the plain sorted list it stands for: the same order after any mix
// of insertions from either end and removals, and the same rods for every stretch of springs.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

#include "GRRod.h"
#include "GRRodList.h"

namespace {

// The list as the staff manager once kept it: inserted in order from the back or the front.
class PlainRodList {
 public:
  void insertFrom(GRRod* rod, bool fromFront) {
    const int id = rod->getSpr1();
    auto firstAt = [&](auto belongsAfter) {
      return std::find_if(rods.begin(), rods.end(), belongsAfter);
    };
    if (!fromFront && !rods.empty() && rods.back()->getSpr1() > id)
      rods.insert(firstAt([id](GRRod* r) { return r->getSpr1() >= id; }), rod);
    else if (!fromFront)
      rods.push_back(rod);
    else if (!rods.empty() && id > rods.front()->getSpr1())
      rods.insert(firstAt([id](GRRod* r) { return r->getSpr1() > id; }), rod);
    else
      rods.insert(rods.begin(), rod);
  }
  std::vector<GRRod*> rods;
};

std::vector<GRRod*> Listed(GRRodList const& list) {
  std::vector<GRRod*> rods;
  for (void* pos = list.rods().GetHeadPosition(); pos;) rods.push_back(list.rods().GetNext(pos));
  return rods;
}

TEST(RodListTest, KeepsThePlainListsOrderAndFindsTheSameRods) {
  std::mt19937 random(7);
  for (int round = 0; round < 20; ++round) {
    GRRodList list;
    PlainRodList plain;
    // The rods of stretches of springs, asked for while the list grows, so that the index is
    // kept up as well as made.
    auto expectSameRods = [&] {
      for (int from = -20; from < 240; from += 13) {
        for (int to : {from, from + 1, from + 30}) {
          std::vector<GRRod*> starting, reaching, expectStarting, expectReaching;
          list.collectStartingIn(from, to, starting);
          list.collectReaching(from, to, reaching);
          for (GRRod* rod : plain.rods) {
            if (rod->getSpr1() >= from && rod->getSpr1() < to) expectStarting.push_back(rod);
            if (rod->getSpr1() < from && rod->getSpr2() > to) expectReaching.push_back(rod);
          }
          EXPECT_EQ(starting, expectStarting) << from << " " << to;
          EXPECT_EQ(reaching, expectReaching) << from << " " << to;
        }
      }
    };
    for (int step = 0; step < 300; ++step) {
      if (!plain.rods.empty() && random() % 5 == 0) {
        GRRod* gone = plain.rods[random() % plain.rods.size()];
        plain.rods.erase(std::find(plain.rods.begin(), plain.rods.end(), gone));
        ASSERT_TRUE(list.remove(gone));
      } else {
        // Mostly later springs, as a layout adds them, some far back, a few ids below 0.
        const int first = static_cast<int>(random() % 200) - (step % 50 == 0 ? 210 : 0);
        auto* rod = new GRRod(1, first, first + 1 + static_cast<int>(random() % 40));
        const bool fromFront = random() % 3 == 0;
        plain.insertFrom(rod, fromFront);
        list.insertFrom(rod, fromFront);
      }
      ASSERT_EQ(Listed(list), plain.rods) << "round " << round << " step " << step;
      if (step % 60 == 59) expectSameRods();
    }
    // The plain list lets go first: the indexed one deletes what it removes.
    std::erase_if(plain.rods, [](GRRod* r) { return r->getSpr1() >= 50 && r->getSpr1() < 100; });
    list.removeStartingIn(50, 100);
    EXPECT_EQ(Listed(list), plain.rods);
    expectSameRods();
  }
}

}  // namespace
