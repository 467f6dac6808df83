// A clef, key or meter written after a bar line in mid line: the bar line runs into none of
// them, and each begins as far after it as a key change does, in a loose line as in a tight one.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <string>

#include "drawn_score.h"

namespace {

using EngineTesting::DrawnScore;

constexpr unsigned int kBarLine = 139;

// Heads and stem pieces.
bool IsNotePart(unsigned int code) {
  return code == 69 || code == 88 || code == 119 || (code >= 150 && code <= 151) ||
         (code >= 218 && code <= 219);
}

class SignsAfterBarTest : public DrawnScore {
 protected:
  // From the ink of the bar line the nth to the nearest ink after it (and before its next
  // bar line): the sign written after that bar.
  float GapAfterBar(size_t n) const {
    auto const bars = Glyphs(kBarLine);
    if (bars.size() <= n) return -1000;
    float const from = bars[n].ink.right;
    float const to = n + 1 < bars.size() ? bars[n + 1].ink.left : from + 1000;
    float nearest = std::numeric_limits<float>::max();
    for (auto const& glyph : drawn.glyphs)
      if (glyph.code != kBarLine && glyph.ink.right > from && glyph.ink.left < to)
        nearest = std::min(nearest, glyph.ink.left);
    return nearest - from;
  }
  // The signs right after each bar line keep a quarter space from the notes after them.
  void ExpectClearOfTheNotesAfter(std::string const& text) const {
    for (auto const& bar : Glyphs(kBarLine))
      for (auto const& sign : drawn.glyphs) {
        if (sign.code == kBarLine || IsNotePart(sign.code) || sign.ink.left < bar.ink.right ||
            sign.ink.left > bar.ink.right + 200)
          continue;
        for (auto const& note : drawn.glyphs) {
          if (IsNotePart(note.code) && note.ink.left > sign.ink.left) {
            EXPECT_FALSE(note.ink.left < sign.ink.right + 12.5f && note.ink.top < sign.ink.bottom &&
                         note.ink.bottom > sign.ink.top)
                << text << ": glyph " << sign.code << " against " << note.code << " at "
                << note.ink.left;
          }
        }
      }
  }
};

TEST_F(SignsAfterBarTest, AClefOrMeterAfterABarLineKeepsTheGapOfAKeyChange) {
  std::string const changes =
      "[ \\meter<\"4/4\"> c2/1 | \\meter<\"12/8\"> c2/8 d e f g a h c3 d e f g | "
      "\\meter<\"3/4\"> c2/2. ]";
  Draw(changes);
  for (size_t bar = 0; bar < 2; ++bar) EXPECT_GE(GapAfterBar(bar), 25) << bar;
  ExpectClearOfTheNotesAfter(changes);

  // Four sixteenth bars fill a line tightly; whole notes leave it loose.
  for (std::string const bar : {" c2/16 d e f g a h c3 d e f g a h c3 d ", " c2/1 "}) {
    SCOPED_TRACE(bar);
    Draw("[ \\meter<\"4/4\"> " + bar + "| \\key<2>" + bar + "| \\key<0> " + bar + " ]");
    float const key = GapAfterBar(0);
    ASSERT_GT(key, 0.2f * 50);
    for (std::string const sign :
         {"\\meter<\"3/4\"> c2/2.", "\\meter<\"12/8\"> c2/1.", "\\meter<\"C\"> c2/1",
          "\\clef<\"bass\"> c0/1", "\\clef<\"alto\"> c1/1", "\\clef<\"g8\"> c1/1"}) {
      Draw("[ \\meter<\"4/4\"> " + bar + "| " + sign + " | " + sign + " ]");
      EXPECT_GE(GapAfterBar(0), key - 0.5f) << sign;
      EXPECT_GE(GapAfterBar(1), key - 0.5f) << sign;
      ExpectClearOfTheNotesAfter(sign);
    }
  }
}

// Where the line breaker breaks at a bar line, the meter after it opens the next line and
// stands after the clef about where the first line's meter does, not moved on as after a bar.
TEST_F(SignsAfterBarTest, AMeterThatOpensALineFollowsTheClefAsOnTheFirstLine) {
  std::string text = "[ \\meter<\"3/4\"> c2/4 d e ";
  for (int bar = 0; bar < 30; ++bar)
    text += bar % 2 ? "| \\meter<\"3/4\"> c2/4 d e " : "| \\meter<\"2/4\"> f2/4 g ";
  Draw(text + "]");
  auto const clefs = Glyphs(38);
  ASSERT_GT(clefs.size(), 2u);
  float firstLine = 0;
  for (auto const& clef : clefs) {
    float first = std::numeric_limits<float>::max();
    for (auto const& glyph : drawn.glyphs)
      if (glyph.code >= '0' && glyph.code <= '9' && glyph.page == clef.page &&
          std::fabs(glyph.y - clef.y) < 200 && glyph.x > clef.x)
        first = std::min(first, glyph.x);
    if (&clef == &clefs.front()) firstLine = first - clef.x;
    // A loose last line stretches the springs between them by a few units more.
    EXPECT_NEAR(first - clef.x, firstLine, 12) << "line at " << clef.y;
  }
}

}  // namespace
