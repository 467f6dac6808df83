#include <gtest/gtest.h>

#include <algorithm>

#include "drawn_score.h"

namespace {

using EngineTesting::DrawnScore;

class ChordTieTest : public DrawnScore {
 protected:
  // For the first chord's notes top down, whether the tie from it bends up: the tie is the
  // filled band next to the note's height, wholly above (up) or below it.
  std::vector<bool> BendsUp() const {
    std::vector<ScoreElementDesc> chord;
    auto const notes = NoteRecords();
    for (auto const& note : notes)
      if (note.desc.refX == notes.front().desc.refX) chord.push_back(note.desc);
    std::vector<EngineTesting::PlacingDevice::Shape> ties = drawn.shapes;
    EXPECT_EQ(ties.size(), chord.size());
    std::sort(ties.begin(), ties.end(), [](auto const& a, auto const& b) { return a.top < b.top; });
    std::vector<bool> up;
    for (size_t i = 0; i < std::min(ties.size(), chord.size()); ++i) {
      bool const above = ties[i].bottom < chord[i].refY;
      bool const below = ties[i].top > chord[i].refY;
      EXPECT_NE(above, below) << "tie " << i << " crosses its note";
      up.push_back(above);
    }
    return up;
  }
};

TEST_F(ChordTieTest, TheTopTieOfAChordBendsUpTheBottomOneDownTheMiddleAwayFromTheStem) {
  struct Case {
    char const* score;
    std::vector<bool> up;
  } const cases[] = {
      {"[ \\meter<\"4/4\"> \\tie({c1/2, e1, g1} {c1/2, e1, g1}) ]", {true, false, false}},
      {"[ \\meter<\"4/4\"> \\tie({e2/2, g2, h2} {e2/2, g2, h2}) ]", {true, true, false}},
      {"[ \\meter<\"4/4\"> \\tie({c1/2, g1} {c1/2, g1}) ]", {true, false}},
      {"[ \\meter<\"4/4\"> \\tie({c1/2, e1, g1, c2} {c1/2, e1, g1, c2}) ]",
       {true, true, false, false}},
  };
  for (Case const& c : cases) {
    SCOPED_TRACE(c.score);
    Draw(c.score);
    EXPECT_EQ(BendsUp(), c.up);
  }
}

}  // namespace
