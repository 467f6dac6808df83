#include <gtest/gtest.h>

#include <algorithm>

#include "drawn_score.h"

namespace {

using EngineTesting::DrawnScore;

constexpr unsigned int kTreble = 38, kBass = 63;

class LineClefTest : public DrawnScore {
 protected:
  // The clefs drawn, line by line (a line is told by its staff's height on the page).
  std::vector<std::vector<unsigned int>> ClefsByLine() const {
    std::vector<std::pair<float, std::vector<unsigned int>>> lines;
    for (auto const& glyph : drawn.glyphs) {
      if (glyph.code != kTreble && glyph.code != kBass) continue;
      auto line = std::find_if(lines.begin(), lines.end(),
                               [&](auto const& l) { return std::abs(l.first - glyph.y) < 300; });
      if (line == lines.end()) line = lines.insert(lines.end(), {glyph.y, {}});
      line->second.push_back(glyph.code);
    }
    std::vector<std::vector<unsigned int>> clefs;
    for (auto const& line : lines) clefs.push_back(line.second);
    return clefs;
  }
};

// A clef written where the layout breaks the line opens the new line, alone; written before an
// explicit break it did already; in the middle of a line it stays where it is written.
TEST_F(LineClefTest, AClefAtABreakOpensTheNewLineAlone) {
  struct Case {
    char const* score;
    std::vector<std::vector<unsigned int>> clefs;
  } const cases[] = {
      {"[ \\meter<\"4/4\"> c2/4 d e f | g a h c3 | c2/4 d e f | \\clef<\"bass\"> c0/4 d e f | "
       "g a h c1 | c0/4 d e f ]",
       {{kTreble}, {kBass}}},
      {"[ \\meter<\"4/4\"> c2/4 d e f | g a h c3 | c2/4 d e f | \\newLine \\clef<\"bass\"> "
       "c0/4 d e f | g a h c1 | c0/4 d e f ]",
       {{kTreble}, {kBass}}},
      {"[ \\meter<\"4/4\"> c2/4 d e f | \\clef<\"bass\"> c0/4 d e f ]", {{kTreble, kBass}}},
  };
  for (auto const& c : cases) {
    SCOPED_TRACE(c.score);
    Draw(c.score);
    EXPECT_EQ(ClefsByLine(), c.clefs);
  }
}

}  // namespace
