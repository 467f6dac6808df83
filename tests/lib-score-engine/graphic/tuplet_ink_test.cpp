// A bracket's ends draw in from ink beside the tuplet that meets them, along its line and no
// further than their limits; ink above or below the end's line and hook is left alone.
#include <gtest/gtest.h>

#include "tuplet_ink.h"

namespace {

TEST(TupletInkTest, BracketEndsDrawInFromInkTheyMeet) {
  struct Case {
    char const* what;
    NVRect ink;
    int direction;
    float left, right;  // the ends' x after trimming
  };
  // The bracket from (0, -100) to (200, -120): hooks of 25, a pen of 4, air of 10, and its ends
  // drawn in no further than x 50 and x 150.
  for (Case const& c : {
           Case{"a stem crossing the left end", {-10, -150, -5, 0}, 1, 7, 200},
           Case{"a stem under the left hook", {-5, -90, 0, 0}, 1, 12, 200},
           Case{"a stem clear of a bracket below", {-5, -80, 0, 0}, -1, 0, 200},
           Case{"a sign crossing the right end", {185, -140, 220, -60}, 1, 0, 173},
           Case{"a beam reaching past the limit", {-50, -110, 120, -100}, 1, 50, 200},
           Case{"ink above the bracket", {-5, -200, 0, -120}, 1, 0, 200},
       }) {
    SCOPED_TRACE(c.what);
    TupletInk beside;
    beside.addBox(c.ink);
    TupletInk::Mark mark;
    mark.p1 = NVPoint{0, -100};
    mark.p2 = NVPoint{200, -120};
    mark.hook = 25;
    mark.pen = 4;
    mark.direction = c.direction;
    beside.trimEnds(mark, 10, 50, 150);
    EXPECT_FLOAT_EQ(mark.p1.x, c.left);
    EXPECT_FLOAT_EQ(mark.p2.x, c.right);
    // Along the line it had.
    EXPECT_FLOAT_EQ(mark.p1.y, -100 - 0.1f * mark.p1.x);
    EXPECT_FLOAT_EQ(mark.p2.y, -100 - 0.1f * mark.p2.x);
  }
}

}  // namespace
