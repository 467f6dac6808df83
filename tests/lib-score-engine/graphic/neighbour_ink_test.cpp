// The ink of neighbouring notes stays apart, laid out and drawn on the real music font: heads of
// two voices beside each other.
#include <gtest/gtest.h>

#include <algorithm>
#include <initializer_list>
#include <string>
#include <vector>

#include "drawn_score.h"

namespace {

using EngineTesting::Overlaps;
using EngineTesting::TwoVoices;

constexpr unsigned int kDot = 46;
constexpr unsigned int kHeads[] = {88, 69, 119};  // filled, hollow, whole

class NeighbourInkTest : public EngineTesting::DrawnScore {
 protected:
  std::vector<NVRect> Inks(std::initializer_list<unsigned int> codes) const {
    std::vector<NVRect> inks;
    for (auto const& glyph : drawn.glyphs)
      if (std::find(codes.begin(), codes.end(), glyph.code) != codes.end())
        inks.push_back(glyph.ink);
    return inks;
  }
};

// A whole note's head is wider than the others: beside a head of the other voice a second away,
// or in unison with a head of another kind, the two touch at most, and the dots of the left one
// stand past the right one.
TEST_F(NeighbourInkTest, HeadsOfTwoVoicesBesideEachOtherDoNotMeet) {
  for (std::string const& text : {
           TwoVoices("a1/1", "g1/2 g1/2"),
           TwoVoices("g1/1", "g1/4 a1/4 h1/2"),
           TwoVoices("c2/2 c2/2", "h1/1"),
           TwoVoices("a1/1", "g1/2. g1/4"),
           TwoVoices("f2/1", "e2/4. d2/8 c2/2"),
       }) {
    SCOPED_TRACE(text);
    Draw(text);
    std::vector<NVRect> const heads = Inks({kHeads[0], kHeads[1], kHeads[2]});
    EXPECT_EQ(Overlaps(heads), 0);
    EXPECT_EQ(Overlaps(Inks({kDot}), heads), 0);
  }
}

}  // namespace
