// A tuplet's bracket and number, drawn on the real music font, stand clear of the ink of the
// notes they span: heads, stems, flags, beams, dots, signs and ledger lines.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <string>
#include <vector>

#include "drawn_score.h"

namespace {

using EngineTesting::PlacingDevice;

constexpr float kBracketPen = 4;

class TupletKeepsClearTest : public EngineTesting::DrawnScore {
 protected:
  struct Drawn {
    std::string what;
    NVRect box;
  };
  static bool Meet(NVRect const& a, NVRect const& b) {
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
  }
  // The halves and hooks of the brackets, with their numbers.
  std::vector<Drawn> Tuplets() {
    std::vector<Drawn> found;
    for (auto const& line : drawn.lines) {
      if (line.width != kBracketPen || line.alpha != 255) continue;
      float const half = line.width / 2;
      found.push_back({"bracket",
                       {std::min(line.x1, line.x2) - half, std::min(line.y1, line.y2) - half,
                        std::max(line.x1, line.x2) + half, std::max(line.y1, line.y2) + half}});
    }
    for (auto const& text : drawn.texts)
      if (!text.text.empty() && std::ranges::all_of(text.text, ::isdigit))
        found.push_back({"number " + text.text, TextInk(text)});
    return found;
  }
  // Every glyph the notes draw (heads, stems, flags, dots, signs, ledger lines) and every beam.
  std::vector<Drawn> NotesInk() const {
    std::vector<Drawn> found;
    for (auto const& glyph : drawn.glyphs)
      found.push_back({"glyph " + std::to_string(glyph.code), glyph.ink});
    for (auto const& shape : drawn.shapes)
      if (!shape.xs.empty())
        found.push_back({"beam", {shape.left, shape.top, shape.right, shape.bottom}});
    return found;
  }
  // The text drawn, with no bracket or number of a tuplet on the ink of a note or beam.
  void ExpectTupletsClearOfNotes(char const* text) {
    Draw(text);
    std::string met;
    for (Drawn const& mark : Tuplets())
      for (Drawn const& ink : NotesInk())
        if (Meet(mark.box, ink.box)) met += mark.what + " meets " + ink.what + "; ";
    EXPECT_EQ(met, "");
  }
};

TEST_F(TupletKeepsClearTest, BracketsAndNumbersStandClearOfTheNotesInk) {
  for (char const* text : {
           // Signs before the notes reach higher than their heads: a flat beside a rise, signs of
           // every kind at the ends.
           "[ \\meter<\"2/4\"> \\stemsDown \\tuplet<\"-3-\">( f2/12 g2 a&2 ) c2/4 ]",
           "[ \\meter<\"2/4\"> \\tuplet<\"-3-\">( f2/6 g2 a&2 ) ]",
           "[ \\meter<\"2/4\"> \\tuplet<\"-3-\">( d##2/12 a#2 h&2 ) c2/4 ]",
           "[ \\meter<\"2/4\"> \\tuplet<\"-3-\">( e2/12 d2 h#2 ) c2/4 ]",
           // Marks under the staff send the bracket of stems down above, where the flat's stem
           // rises into it.
           "[ \\meter<\"3/4\"> {a2/4, f2/4, d2/4} \\intens<\"pp\"> \\dim( \\tuplet<\"-3-\">( f2/12 "
           "g2 a&2 ) _/4 ) c2/4 ]",
           // The number over a beam, which lies beyond the stems' tips.
           "[ \\meter<\"2/4\"> \\stemsUp \\tuplet<\"-3-\">( f2/12 g2 a&2 ) c2/4 ]",
           "[ \\meter<\"2/4\"> \\stemsUp \\tuplet<\"-4:3-\">( {d2/16, f2} {e2/16, g2} {f2/16, a&2} "
           "{g2/16, h2} ) c2/4 ]",
           "{ [ \\staff<1> \\stemsUp \\meter<\"2/4\"> c3/4 c3/4 ], [ \\staff<1> \\stemsDown "
           "\\meter<\"2/4\"> \\tuplet<\"-3-\">( f2/12 g2 a&2 ) c2/4 ] }",
           // On a narrow line the notes beside a tuplet come close, and so do the brackets of
           // tuplets side by side.
           "[ \\pageFormat<w=7cm, h=26cm, lm=0.5cm, tm=1cm, rm=0.5cm, bm=1cm> \\meter<\"4/4\"> "
           "\\intens<\"p\"> _/16 c#2/16 c#2/16 a#2/16 \\tuplet<\"-3-\">( e#2/12 f##2/12 g#2/12 ) "
           "\\intens<\"sfz\"> \\cresc( \\tuplet<\"-3-\">( g#2/12 f#2/12 e#2/12 ) a#1/8 f#1/8 ) "
           "\\tuplet<\"-3-\">( e#2/12 f##2/12 g#2/12 ) ]",
       }) {
    SCOPED_TRACE(text);
    ExpectTupletsClearOfNotes(text);
  }
}

// Placed once the line is spaced, the bracket and number under a staff may reach further than
// the staves were set apart for, pushed below another voice's rests: the staff below moves down,
// so that the stems rising from it do not strike through them.
TEST_F(TupletKeepsClearTest, BracketsUnderAStaffStandClearOfTheStaffBelow) {
  for (char const* text : {
           // A bracket under a tuplet of stems down, below the other voice's rest there.
           "{ [ \\staff<1> \\meter<\"2/4\"> \\tuplet<\"-3-\">( f2/12 e&2/12 a&2/12 ) \\beam( c2/8 "
           "d2/8 ) ], [ \\staff<1> \\meter<\"2/4\"> _/4 _/4 ], [ \\staff<2> \\clef<\"f4\"> "
           "\\meter<\"2/4\"> \\grace( c0/16 ) h-1/2 ] }",
           "{ [ \\staff<1> \\meter<\"2/4\"> \\tuplet<\"-3-\">( f2/12 e&2/12 a&2/12 ) \\beam( c2/8 "
           "d2/8 ) ], [ \\staff<1> \\meter<\"2/4\"> _/4 _/4 ], [ \\staff<2> \\clef<\"f4\"> "
           "\\meter<\"2/4\"> h-1/2 ] }",
           "{ [ \\staff<1> \\meter<\"2/4\"> \\tuplet<\"-3-\">( f2/12 e&2/12 a&2/12 ) c2/8 d2/8 ], "
           "[ \\staff<1> \\meter<\"2/4\"> _/4 _/4 ], [ \\staff<2> \\clef<\"f4\"> \\meter<\"2/4\"> "
           "\\stemsUp d0/2 ] }",
           // The other voice's rest moves below the tuplet's beam only once the line is spaced,
           // and the bracket with it, over the beam of the staff below.
           "{ [ \\staff<1> \\meter<\"2/4\"> \\tuplet<\"-3-\">( a&2/12 f2/12 f2/12 ) e&2/4 ], [ "
           "\\staff<1> \\meter<\"2/4\"> _/4 _/4 ], [ \\staff<2> \\clef<\"f4\"> \\meter<\"2/4\"> "
           "{e&-1/8, g-1/8, h-1/8} f-1/8 c0/4 ] }",
       }) {
    SCOPED_TRACE(text);
    ExpectTupletsClearOfNotes(text);
  }
}

// Once the line is spaced the bracket is placed again, over the stems as the beams set them,
// also where a squeezed bar parts the line's slices inside the tuplet, and clear of a rest of the
// other voice beside its outer notes, the rest's dot too.
TEST_F(TupletKeepsClearTest, BracketsPlacedAgainOnTheSpacedLineStandClearOfTheInkAroundThem) {
  for (char const* text : {
           "[ \\pageFormat<w=5cm, h=20cm, lm=0.5cm, tm=1cm, rm=0.5cm, bm=1cm> \\key<3> "
           "\\meter<\"4/4\"> e#2/4. a#1/8 f#1/16 _/16 h1/16 f#1/16 \\tuplet<\"-3-\">( g#1/12 h1/12 "
           "f#2/12 ) {g#1/4, e#1/4, c#1/4} e#2/8 g#1/16 f#1/16 g#1/8 f#1/8 a1/2 ]",
           "{ [ \\staff<1> \\meter<\"3/4\"> c2/4. h&1/8 \\tuplet<\"-3-\">( f1/12 h1/12 h1/12 ) | "
           "h1/2. ], [ \\staff<1> \\meter<\"3/4\"> _/2. | _/2. ] }",
       }) {
    SCOPED_TRACE(text);
    ExpectTupletsClearOfNotes(text);
  }
}

}  // namespace
