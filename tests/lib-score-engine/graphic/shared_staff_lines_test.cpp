// Two voices on one staff, the clef or key written in one of them: every line shows the clef and
// key in force and places the notes of both voices for them.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <set>
#include <string>
#include <vector>

#include "drawn_score.h"

namespace {

using EngineTesting::DrawnScore;

constexpr unsigned int kTreble = 38, kBass = 63, kSharp = 35, kNatural = 110;
constexpr int kSystem = 7, kStaff = 5;

class SharedStaffLinesTest : public DrawnScore {
 protected:
  struct Line {
    std::vector<unsigned int> clefs;
    int keySharps = 0;    // sharps before the line's first note
    int naturals = 0;     // natural signs anywhere on the line
    std::set<int> heads;  // note heights from the staff's top line, in half spaces
  };

  std::vector<Line> Lines() const {
    std::vector<Line> lines;
    auto const notes = NoteRecords();
    for (int page = 1; page <= Pages(); ++page) {
      auto const staves = Records(2, kStaff, page);
      for (ScoreElementDesc const& system : Records(kSystem, -1, page)) {
        auto inside = [&](float y) { return y >= system.top && y <= system.bottom; };
        auto const staff = std::find_if(staves.begin(), staves.end(), [&](auto const& s) {
          return inside(s.top) && inside(s.bottom);
        });
        if (staff == staves.end()) continue;
        Line line;
        float first = system.right;
        for (auto const& [onPage, note] : notes) {
          if (onPage != page || !inside(note.refY)) continue;
          first = std::min(first, note.headX);
          line.heads.insert(static_cast<int>(std::lround((note.refY - staff->top) / 25)));
        }
        for (auto const& glyph : drawn.glyphs) {
          if (glyph.page != page || !inside(glyph.y)) continue;
          if (glyph.code == kTreble || glyph.code == kBass) line.clefs.push_back(glyph.code);
          if (glyph.code == kSharp && glyph.x < first) ++line.keySharps;
          if (glyph.code == kNatural) ++line.naturals;
        }
        lines.push_back(line);
      }
    }
    return lines;
  }

  static std::string Measures(std::string const& measure, int count) {
    std::string text;
    for (int i = 0; i < count; ++i) text += (i ? " | " : "") + measure;
    return text;
  }
};

// The clef is written in the first voice or in the second, the line broken by the text or by the
// layout: each line has the bass clef and its notes stand where they stood on the first line.
TEST_F(SharedStaffLinesTest, EveryLineShowsTheClefInForceAndPlacesBothVoicesForIt) {
  std::string const low = Measures("c1/4 d1 e1 f1", 24);
  std::string const high = Measures("a1/4 g1 f1 e1", 24);
  for (std::string const& score :
       {std::string("{ [ \\staff<1> \\clef<\"f4\"> c1/1 \\newSystem c1/1 ], "
                    "[ \\staff<1> a1/1 | a1/1 ] }"),
        "{ [ \\staff<1> \\clef<\"f4\"> " + low + " ], [ \\staff<1> " + high + " ] }",
        "{ [ \\staff<1> " + low + " ], [ \\staff<1> \\clef<\"f4\"> " + high + " ] }"}) {
    SCOPED_TRACE(score);
    Draw(score);
    auto const lines = Lines();
    ASSERT_GE(lines.size(), 2u);
    for (std::size_t i = 0; i < lines.size(); ++i) {
      SCOPED_TRACE(i);
      EXPECT_EQ(lines[i].clefs, std::vector<unsigned int>{kBass});
      EXPECT_EQ(lines[i].heads, lines[0].heads);
    }
    // Middle c stands on the ledger line above the bass staff.
    EXPECT_EQ(*lines[0].heads.rbegin(), -2);
  }
}

// A clef change in the second voice holds for the first voice too, on the next line as well,
// where the text breaks the line in the first voice or changes the clef just after the break.
TEST_F(SharedStaffLinesTest, AClefChangedInOneVoiceOpensTheNextLineForBoth) {
  for (char const* score : {"{ [ \\staff<1> \\clef<\"f4\"> c0/1 | c0/1 \\newSystem c0/1 ], "
                            "[ \\staff<1> c0/1 | \\clef<\"g2\"> c2/1 | c2/1 ] }",
                            "{ [ \\staff<1> \\clef<\"f4\"> c0/1 \\newSystem c0/1 ], "
                            "[ \\staff<1> c0/1 | \\clef<\"g2\"> c2/1 ] }"}) {
    SCOPED_TRACE(score);
    Draw(score);
    auto const lines = Lines();
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[1].clefs, std::vector<unsigned int>{kTreble});
    // Both voices read in the treble clef: c2 in its third space, c0 an octave below middle c.
    EXPECT_EQ(lines[1].heads, (std::set<int>{3, 17}));
  }
}

// The key of D written in the first voice: every line opens with its two sharps, and the f and c
// of both voices carry their naturals on every line.
TEST_F(SharedStaffLinesTest, EveryLineShowsTheKeyInForceAndItsNaturals) {
  Draw("{ [ \\staff<1> \\key<\"D\"> " + Measures("f2/4 g2 a2 h2", 24) + " ], [ \\staff<1> " +
       Measures("d1/4 e1 c1 d1", 24) + " ] }");
  auto lines = Lines();
  ASSERT_GE(lines.size(), 2u);
  int naturals = 0;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(lines[i].keySharps, 2);
    naturals += lines[i].naturals;
  }
  // One f in each measure of the first voice, one c in each of the second.
  EXPECT_EQ(naturals, 48);

  Draw("{ [ \\staff<1> \\key<\"D\"> f2/1 \\newSystem f2/1 ], [ \\staff<1> d1/1 | c1/1 ] }");
  lines = Lines();
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[1].keySharps, 2);
  EXPECT_EQ(lines[0].naturals, 1);
  EXPECT_EQ(lines[1].naturals, 2);
}

}  // namespace
