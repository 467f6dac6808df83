// A reader takes no sign across a line break: where the line breaker opens a line inside a
// measure or an unbarred stretch, the line's notes show the signs the key and the line's own
// notes leave them needing, as after a written new system, each clear of the note before it.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "drawn_score.h"

namespace {

using EngineTesting::DrawnScore;
using EngineTesting::Repeated;

constexpr unsigned int kSharp = 35, kFlat = 98, kNatural = 110;

class LineStartSignsTest : public DrawnScore {};

TEST_F(LineStartSignsTest, TheFirstNoteOfALineShowsTheSignItsPitchNeeds) {
  struct Case {
    std::string score;
    // The signs of the last notes, in reading order; those notes stand on a later line than the
    // first note.
    std::vector<std::vector<unsigned int>> last;
  };
  std::string const run = Repeated("d3 c3 h2 a2 g2 a2 h2 c3", 8);
  for (Case const& c : {
           Case{"[ c2/16 d2 e2 f#2 g2 a2 h2 c3 " + run + "f#2/4 ]", {{kSharp}}},
           Case{"[ c2/16 h&1 e&2 c#2 g2 a2 h2 c3 " + run + "h&1/4 e&2 c#2 ]",
                {{kFlat}, {kFlat}, {kSharp}}},
           // A sign gained inside a line stands clear of the ledger lines of the note just
           // before it, which reach on past that note's head.
           Case{"[ \\meter<\"12/4\"> " + Repeated("a0/32 f#1 e1 f#1 a0 f#1 e1 f#1", 12) + "]", {}},
           // A sign from the line before is not cancelled: the note reads as the key gives it.
           Case{"[ c2/16 d2 e2 f#2 g2 a2 h2 c3 " + run + "f2/4 ]", {{}}},
           Case{"[ \\key<-1> c2/16 h1 e2 f2 g2 a2 h2 c3 " + run + "h1/4 ]", {{kNatural}}},
           // Under an octava the signs hold where the notes are drawn.
           Case{"[ c2/16 d2 e2 f#2 g2 a2 h2 c3 " + run + "f#2/4 \\oct<1> f#1/4 ]",
                {{kSharp}, {kSharp}}},
           // Two voices on two staves break together.
           Case{"{ [ c2/16 d2 e2 f#2 g2 a2 h2 c3 " + run +
                    "f#2/4 ], [ \\staff<2> \\clef<\"f4\"> "
                    "c0/16 d0 e0 f#0 " +
                    Repeated("g0 a0 h0 c1", 17) + "f#0/4 ] }",
                {{kSharp}, {kSharp}}},
       }) {
    SCOPED_TRACE(c.score);
    Draw(c.score);
    auto const notes = NoteRecords();
    auto const signs = SignsOfNotes();
    ASSERT_GE(notes.size(), c.last.size());
    std::vector<std::vector<unsigned int>> last(signs.end() - c.last.size(), signs.end());
    EXPECT_EQ(last, c.last);
    std::vector<DrawnLine> const lines = DrawnLines();
    ASSERT_GE(lines.size(), 2u) << "one line only";
    EXPECT_NE(lines.front().notes.front().refY, lines.back().notes.back().refY);
    // Each sign clear of the ink of the notes before it.
    for (auto const& sign : drawn.glyphs) {
      if (!EngineTesting::IsAccidental(sign.code)) continue;
      for (auto const& glyph : drawn.glyphs)
        if (glyph.page == sign.page && &glyph != &sign && glyph.ink.right <= sign.ink.right) {
          EXPECT_FALSE(glyph.ink.left < sign.ink.right && glyph.ink.right > sign.ink.left &&
                       glyph.ink.top < sign.ink.bottom && glyph.ink.bottom > sign.ink.top)
              << "sign " << sign.code << " at " << sign.ink.left << " on glyph " << glyph.code;
        }
    }
  }
}

}  // namespace
