// Augmentation dots on the real music font: a dot stands about half a space after the head,
// flag or rest it lengthens, and the spacing keeps room for it before whatever follows.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "drawn_score.h"

namespace {

using Glyph = EngineTesting::PlacingDevice::Glyph;

constexpr unsigned int kDot = 46;

class DotsTest : public EngineTesting::DrawnScore {
 protected:
  struct Ink {
    float left, top, right, bottom;
  };
  // Everything inked but the staff's lines: glyphs, beams and stems.
  std::vector<Ink> Inks() const {
    std::vector<Ink> inks;
    for (Glyph const& glyph : drawn.glyphs)
      inks.push_back({glyph.ink.left, glyph.ink.top, glyph.ink.right, glyph.ink.bottom});
    for (auto const& shape : drawn.shapes)
      inks.push_back({shape.left, shape.top, shape.right, shape.bottom});
    return inks;
  }
  // Each dot: the ink it follows stands 5 to 25 units before it (its middle about half a space
  // after that ink; a chord's dots stand in one column, past the flag of its upper notes), and
  // no ink touches it or comes nearer than a quarter space after it. A second dot follows the
  // first 25 units on.
  void ExpectDotsClear(int dots) {
    std::vector<Ink> const inks = Inks();
    int seen = 0;
    for (Glyph const& glyph : Glyphs(kDot)) {
      ++seen;
      Ink const dot{glyph.ink.left, glyph.ink.top, glyph.ink.right, glyph.ink.bottom};
      auto const pair = [&](Ink const& ink, float dx) {
        return ink.top == dot.top && std::fabs(ink.left - dot.left - dx) < 0.5f;
      };
      float before = -1e9f, after = 1e9f;
      bool second = false;
      for (Ink const& ink : inks) {
        if (pair(ink, 0)) continue;
        if (pair(ink, -25)) second = true;
        bool const near = ink.top < dot.bottom + 50 && ink.bottom > dot.top - 50;
        if (near && ink.right <= dot.left + 1 && !pair(ink, -25))
          before = std::max(before, ink.right);
        bool const level = ink.top < dot.bottom + 12.5f && ink.bottom > dot.top - 12.5f;
        if (level && ink.left >= dot.left + 1 && !pair(ink, 25)) after = std::min(after, ink.left);
        EXPECT_FALSE(ink.left < dot.right && dot.left < ink.right && ink.top < dot.bottom &&
                     dot.top < ink.bottom)
            << "ink at " << ink.left << ", " << ink.top << " covers the dot at " << dot.left << ", "
            << dot.top;
      }
      if (!second) {
        EXPECT_GE(dot.left - before, 5) << "dot at " << dot.left << ", " << dot.top;
        EXPECT_LE(dot.left - before, 25) << "dot at " << dot.left << ", " << dot.top;
      }
      EXPECT_GE(after - dot.right, 12.5f) << "dot at " << dot.left << ", " << dot.top;
    }
    EXPECT_EQ(seen, dots);
  }
};

// Short dotted notes, stems up, beamed or flagged: the dot stands by the head under a beam and
// past the flag where one is drawn, and the next head, rest or bar line keeps clear of it. Dots
// stand past the heads of a chord pushed to the right of its stem, and of another voice's note
// standing beside theirs.
TEST_F(DotsTest, DotsOfShortNotesStandClearOfWhatFollows) {
  struct Case {
    char const* text;
    int dots;
  };
  for (Case const& c : {
           Case{"[ \\meter<\"1/16\"> f1/32. g1/64 ]", 1},
           Case{"[ \\meter<\"2/4\"> a1/32. h1/64 c2/16 d2/8 e2/4 ]", 1},
           Case{"[ \\meter<\"2/4\"> \\beam( g1/16 a1*3/64 h1/64 ) c2/8 c2/4 ]", 1},
           Case{"[ \\meter<\"2/4\"> a1/16. h1/32 a1/16. h1/32 c2/4 ]", 2},
           Case{"[ \\meter<\"4/4\"> \\beamsOff a1/8. h1/16 a1/16. h1/32 a1/32. h1/64 a1/64. "
                "h1/128 c2/8. c2/16 ]",
                5},
           Case{"[ \\meter<\"4/4\"> \\beamsOff {c1/8., e1} {c1/16, e1} {f1/16., a1} {g1/32, h1} "
                "{e1/8., g1} c1/16 ]",
                6},
           Case{"[ \\meter<\"4/4\"> {f1/4., g1} a1/8 {a1/8., h1} c2/16 _/4 | {c2/4., d2} e2/8 ]",
                6},
           Case{"{ [ \\staff<1> \\meter<\"2/4\"> \\stemsUp f2/4. g2/8 ], [ \\staff<1> "
                "\\meter<\"2/4\"> \\stemsDown e2/4. d2/8 ] }",
                2},
       }) {
    SCOPED_TRACE(c.text);
    Draw(c.text);
    ExpectDotsClear(c.dots);
  }
}

// A rest's dots stand after its ink as a head's do, and a rest after a dotted note stands clear
// of the note's dot.
TEST_F(DotsTest, DotsOfRestsAndRestsAfterDotsStandApart) {
  struct Case {
    char const* text;
    int dots;
  };
  for (Case const& c : {
           Case{"[ \\meter<\"2/4\"> f1/32. _/64 f1/16 f1/8 f1/4 ]", 1},
           Case{"[ f1*7/256 _*7/256 ]", 4},
           Case{"[ \\meter<\"2/4\"> _/8. c2/16 _/16. c2/32 c2/8 c2/4 ]", 2},
           Case{"[ \\meter<\"4/4\"> _/4. _/8 _/32. _/64 _/64. _/128 _/8 _/4 ]", 3},
           Case{"[ \\meter<\"4/4\"> _/2. c2/4 | \\restFormat<dx=1> _/4. c2/8 _/2 ]", 2},
       }) {
    SCOPED_TRACE(c.text);
    Draw(c.text);
    ExpectDotsClear(c.dots);
  }
}

}  // namespace
