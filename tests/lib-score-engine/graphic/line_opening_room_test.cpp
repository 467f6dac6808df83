// The first chord of a line stands as clear of the line's clef and key whether the layout broke
// the line or the score did.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "drawn_score.h"

namespace {

using EngineTesting::DrawnScore;
using EngineTesting::IsAccidental;
using EngineTesting::PlacingDevice;

constexpr unsigned int kTreble = 38;

class LineOpeningRoomTest : public DrawnScore {
 protected:
  struct Opening {
    float date;  // of the line's first chord
    // From the rightmost ink of what opens the line (clef, key) to the leftmost ink of the signs
    // of its first chord; negative where they overlap.
    float room;
  };
  std::vector<Opening> Openings() const {
    std::vector<Opening> openings;
    for (DrawnLine const& line : DrawnLines()) {
      if (line.notes.empty()) continue;
      float const first = line.notes.front().refX;
      std::vector<float> heights;
      float headsLeft = line.system.right;
      for (ScoreElementDesc const& note : line.notes)
        if (note.refX == first) {
          heights.push_back(note.refY);
          headsLeft = std::min(headsLeft, note.headX);
        }
      auto onLine = [&](PlacingDevice::Glyph const& glyph) {
        return glyph.page == line.page && line.Holds(glyph.y) && glyph.x < headsLeft;
      };
      // A chord note's sign is the one nearest its head at its height: one of the key's may
      // stand at that height too.
      std::vector<PlacingDevice::Glyph const*> signs;
      for (float y : heights) {
        PlacingDevice::Glyph const* nearest = nullptr;
        for (PlacingDevice::Glyph const& glyph : drawn.glyphs)
          if (onLine(glyph) && IsAccidental(glyph.code) && std::abs(glyph.y - y) < 1 &&
              (!nearest || glyph.x > nearest->x))
            nearest = &glyph;
        if (nearest) signs.push_back(nearest);
      }
      float signsLeft = headsLeft;
      for (PlacingDevice::Glyph const* sign : signs)
        signsLeft = std::min(signsLeft, sign->ink.left);
      float openingRight = line.system.left;
      for (PlacingDevice::Glyph const& glyph : drawn.glyphs)
        if (onLine(glyph) && (glyph.code == kTreble || IsAccidental(glyph.code)) &&
            std::find(signs.begin(), signs.end(), &glyph) == signs.end())
          openingRight = std::max(openingRight, glyph.ink.right);
      openings.push_back({line.notes.front().date, signsLeft - openingRight});
    }
    return openings;
  }
};

// Each bar opens with a chord of signs; the layout breaks the ten bars into lines, and the same
// lines broken by the score set their first chords the same way.
TEST_F(LineOpeningRoomTest, AChordOpeningABrokenLineKeepsItsSignsClearOfTheClefAndKey) {
  struct Case {
    char const* opening;
    char const* bar;
  } const cases[] = {
      {"\\meter<\"4/4\">", "{c#2/4, e&2, g#2} c2 d2 e2 |"},
      {"\\key<\"A\"> \\meter<\"4/4\">", "{c2/4, d2} c2 d2 e2 |"},
  };
  for (Case const& c : cases) {
    SCOPED_TRACE(c.bar);
    std::string score = std::string("[ ") + c.opening;
    for (int bar = 0; bar < 10; ++bar) score += std::string(" ") + c.bar;
    Draw(score + " ]");
    std::vector<Opening> const broken = Openings();
    ASSERT_GT(broken.size(), 1u);
    // The same lines, ended by the score: a bar of 4/4 lasts a whole, so a line whose first
    // chord stands at date d starts with bar d.
    std::vector<int> firstBars;
    for (Opening const& line : broken) firstBars.push_back(static_cast<int>(line.date + 0.5f));
    std::string written = std::string("[ ") + c.opening;
    for (int bar = 0; bar < 10; ++bar) {
      if (bar > 0 && std::find(firstBars.begin(), firstBars.end(), bar) != firstBars.end())
        written += " \\newSystem";
      written += std::string(" ") + c.bar;
    }
    Draw(written + " ]");
    std::vector<Opening> const ended = Openings();
    ASSERT_EQ(ended.size(), broken.size());
    for (size_t n = 1; n < broken.size(); ++n) {
      EXPECT_GT(broken[n].room, 10) << "line " << n + 1;
      EXPECT_NEAR(broken[n].room, ended[n].room, 1) << "line " << n + 1;
    }
  }
}

}  // namespace
