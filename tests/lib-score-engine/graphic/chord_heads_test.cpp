// The heads of a chord a second apart stand side by side on the real music font, whatever the
// width of their head.
#include <gtest/gtest.h>

#include <cmath>

#include "drawn_score.h"

namespace {

using Glyph = EngineTesting::PlacingDevice::Glyph;

class ChordHeadsTest : public EngineTesting::DrawnScore {};

TEST_F(ChordHeadsTest, HeadsASecondApartStandSideBySide) {
  for (unsigned int head : {119u, 69u, 88u}) {
    char const* length = head == 119 ? "1" : head == 69 ? "2" : "4";
    Draw(std::string("[ {c1/") + length + ", d1, g1, a1} {f2/" + length + ", g2} ]");
    std::vector<Glyph> const heads = Glyphs(head);
    ASSERT_EQ(heads.size(), 6u) << head;
    int seconds = 0;
    for (size_t i = 0; i < heads.size(); ++i) {
      for (size_t j = i + 1; j < heads.size(); ++j) {
        float const apart = std::fabs(heads[i].x - heads[j].x);
        if (std::fabs(heads[i].y - heads[j].y) != 25 || apart > 3 * Width(head)) continue;
        ++seconds;
        EXPECT_NEAR(apart, std::max(60.0f, Width(head)), 0.01) << head << " at " << heads[i].y;
      }
    }
    EXPECT_EQ(seconds, 3) << head;
  }
}

}  // namespace
