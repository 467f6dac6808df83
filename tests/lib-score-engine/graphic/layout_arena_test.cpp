#include <gtest/gtest.h>

#include <vector>

#include "GRArenaObject.h"
#include "GRRod.h"
#include "GRSpring.h"
#include "GRSpringCollider.h"
#include "GRSystemStartEndStruct.h"
#include "NEPointerList.h"
#include "score_arena.h"

namespace {

// The layout's helper objects and vectors are made in its arena while it runs and freed one by
// one or with the layout; made outside a layout, they come from the allocator. Either way each
// goes back where it came from.
TEST(LayoutArenaTest, HelperObjectsGoBackWhereTheyCameFrom) {
  ScoreArena arena;
  GRNotationElement element;
  auto const makeAll = [&element] {
    auto* collider = new GRSpringCollider;
    // Enough extents for the collider's vectors to grow past the arena's sizes.
    for (int band = 0; band < 200; ++band)
      collider->AddExtent(&element, &element, 25.0f * band, 25.0f * band + 1);
    return std::vector<GRArenaObject*>{new GRSpring(Frac_0, Fraction(1, 4)), new GRRod(10, 0, 1),
                                       new NEPointerList(0), new GRSystemStartEndStruct, collider};
  };
  std::vector<GRArenaObject*> inside;
  {
    ScoreArena::Use use(arena, ScoreArena::kGraphic);
    inside = makeAll();
  }
  std::vector<GRArenaObject*> const outside = makeAll();
  EXPECT_GE(arena.LiveObjects(), static_cast<long>(inside.size()));
  auto const release = [](std::vector<GRArenaObject*> const& objects) {
    delete static_cast<GRSpring*>(objects[0]);
    delete static_cast<GRRod*>(objects[1]);
    delete static_cast<NEPointerList*>(objects[2]);
    delete static_cast<GRSystemStartEndStruct*>(objects[3]);
    auto* collider = static_cast<GRSpringCollider*>(objects[4]);
    EXPECT_EQ(collider->getBand(199).size(), 1u);
    delete collider;
  };
  release(outside);
  release(inside);
  EXPECT_EQ(arena.LiveObjects(), 0);
}

}  // namespace
