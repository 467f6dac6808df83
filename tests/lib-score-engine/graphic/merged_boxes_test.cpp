// A box that takes in a whole run of boxes at once must come out as if it had merged them one
// by one, also where boxes without room replace the receiver or are left out.
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "NVRect.h"
#include "merged_boxes.h"

namespace {

NVRect MergedOneByOne(NVRect box, std::vector<NVRect> const& run) {
  for (NVRect const& each : run) box.Merge(each);
  return box;
}

NVRect Merged(NVRect box, std::vector<NVRect> const& run) {
  MergedBoxes boxes;
  for (NVRect const& each : run) boxes.add(each);
  boxes.mergeInto(box);
  return box;
}

TEST(MergedBoxesTest, TakesARunInAsMergingItBoxByBox) {
  NVRect const room{-5, -5, 5, 5};
  NVRect const flat{0, 0, 0, 0};
  NVRect const line{3, -20, 3, 2};  // no width, some height
  NVRect const far{40, 10, 60, 30};
  std::vector<std::vector<NVRect>> const runs = {
      {},
      {flat},
      {line},
      {far},
      {line, far},
      {far, line},
      {flat, line, flat},
      {line, NVRect{-50, 0, -50, 1}, far, flat},
  };
  for (NVRect const& receiver : {room, flat, line, NVRect{-1, 0, 1, 0}}) {
    for (auto const& run : runs) {
      SCOPED_TRACE(testing::Message() << receiver << " taking " << run.size() << " boxes");
      EXPECT_EQ(Merged(receiver, run), MergedOneByOne(receiver, run));
    }
  }
}

// Runs of boxes, a third of them without width or height, into receivers of every kind, grown
// one box at a time.
TEST(MergedBoxesTest, GrowsBoxByBoxAsTheRunDoes) {
  std::mt19937 random(7);
  auto side = [&] { return static_cast<float>(static_cast<int>(random() % 21) - 10); };
  auto box = [&] {
    float const left = side();
    float const top = side();
    switch (random() % 3) {
      case 0:
        return NVRect{left, top, left, top + static_cast<float>(random() % 3)};
      case 1:
        return NVRect{left, top, left + static_cast<float>(random() % 3), top};
      default:
        return NVRect{left, top, left + 1 + side() / 2 + 5, top + 1 + side() / 2 + 5};
    }
  };
  for (int trial = 0; trial < 200; ++trial) {
    NVRect const receiver = box();
    std::vector<NVRect> run;
    MergedBoxes boxes;
    for (int length = 0; length < 12; ++length) {
      NVRect grown = receiver;
      boxes.mergeInto(grown);
      ASSERT_EQ(grown, MergedOneByOne(receiver, run)) << "trial " << trial << ", " << length;
      run.push_back(box());
      boxes.add(run.back());
    }
  }
}

}  // namespace
