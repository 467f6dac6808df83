// Key changes where a line of music begins: the line opens with its clef and the new key only.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "drawn_score.h"

namespace {

using EngineTesting::DrawnScore;
using EngineTesting::IsAccidental;
using EngineTesting::PlacingDevice;
using EngineTesting::PlacingSymbolMap;

constexpr unsigned int kSharp = 35, kFlat = 98, kNatural = 110;
constexpr int kSystem = 7;

class LineKeyTest : public DrawnScore {
 protected:
  struct Line {
    std::vector<unsigned int> key;  // the signs before the line's first note
    float room;                     // from the last of them to the first note's head
  };
  std::vector<Line> Lines() const {
    std::vector<Line> lines;
    std::vector<PlacingSymbolMap::Record> const notes = NoteRecords();
    int number = 0;
    for (int page = 1; page <= Pages(); ++page)
      for (ScoreElementDesc const& system : LeftToRight(Records(kSystem, -1, page))) {
        ++number;
        float first = system.right;
        for (auto const& [onPage, note] : notes)
          if (onPage == page && note.refY >= system.top && note.refY <= system.bottom)
            first = std::min(first, note.headX);
        Line line{{}, 0};
        float last = system.left;
        for (PlacingDevice::Glyph const& glyph : drawn.glyphs)
          if (glyph.page == page && IsAccidental(glyph.code) && glyph.y >= system.top &&
              glyph.y <= system.bottom && glyph.x < first) {
            line.key.push_back(glyph.code);
            last = std::max(last, glyph.x);
          }
        line.room = first - last;
        lines.push_back(line);
      }
    return lines;
  }
  static std::vector<std::vector<unsigned int>> Keys(std::vector<Line> const& lines) {
    std::vector<std::vector<unsigned int>> keys;
    for (Line const& line : lines) keys.push_back(line.key);
    return keys;
  }
};

using Signs = std::vector<unsigned int>;

// Where the score breaks the line itself, and where the layout breaks it at a key change: the
// new line shows neither the naturals of the change nor the key it leaves.
TEST_F(LineKeyTest, ALineOpensWithTheKeyInForceOnly) {
  Draw("[ \\key<\"G\"> \\meter<\"4/4\"> g1/1 \\newSystem \\key<\"F\"> f1/1 ]");
  EXPECT_EQ(Keys(Lines()), (std::vector<Signs>{{kSharp}, {kFlat}}));
  EXPECT_TRUE(Glyphs(kNatural).empty());

  Draw(
      "[ \\key<\"A&\"> \\meter<\"4/4\"> c2/4 d e f | g a h c3 | c2/4 d e f | \\key<\"E\"> "
      "e2/4 f g a | h c3 d e | e2/4 f g a ]");
  std::vector<Line> const changed = Lines();
  ASSERT_EQ(changed.size(), 2u);
  EXPECT_EQ(Keys(changed), (std::vector<Signs>{Signs(4, kFlat), Signs(4, kSharp)}));

  // The signs the line took over leave no room behind: the first note stands as far from the
  // key as on a line that opens in the same key without a change.
  Draw(
      "[ \\key<\"E\"> \\meter<\"4/4\"> c2/4 d e f | g a h c3 | c2/4 d e f | e2/4 f g a | "
      "h c3 d e | e2/4 f g a ]");
  std::vector<Line> const carried = Lines();
  ASSERT_EQ(carried.size(), 2u);
  EXPECT_NEAR(changed[1].room, carried[1].room, 1);
}

}  // namespace
