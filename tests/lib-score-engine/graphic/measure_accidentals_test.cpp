#include <gtest/gtest.h>

#include "drawn_score.h"

namespace {

using EngineTesting::DrawnScore;
using Signs = std::vector<std::vector<unsigned int>>;

constexpr unsigned int kSharp = 35, kFlat = 98, kNatural = 110, kDoubleFlat = 134,
                       kDoubleSharp = 180;

class MeasureAccidentalsTest : public DrawnScore {};

// A sign holds to the end of its measure: the notes after it are drawn against it, and the bar
// line brings the key back.
TEST_F(MeasureAccidentalsTest, SignsAreDecidedAgainstTheNotesBeforeThemInTheMeasure) {
  struct Case {
    char const* score;
    Signs signs;
  } const cases[] = {
      // A wrong c sharp then the right c, as an answer score shows them.
      {R"([ \staff<1> \clef<"g2"> \stemsAuto \noteFormat<color="red"> c#1/4 )"
       R"(\noteFormat<color="blue"> c1/4 ])",
       {{kSharp}, {kNatural}}},
      {"[ \\meter<\"4/4\"> c1/4 c#1 c1 c#1 | c1/4 c#1 c#1 c1 ]",
       {{}, {kSharp}, {kNatural}, {kSharp}, {}, {kSharp}, {}, {kNatural}}},
      // In D major c is sharp and f is sharp.
      {"[ \\key<2> \\meter<\"4/4\"> c1/4 c#1 c1 c#1 | f1/4 f1 f#1 f1 ]",
       {{kNatural}, {kSharp}, {kNatural}, {kSharp}, {kNatural}, {}, {kSharp}, {kNatural}}},
      {"[ \\meter<\"4/4\"> e##1/4 e&&1 e#1 e1 | e&1/4 e&1 e1 e&&1 ]",
       {{kDoubleSharp},
        {kDoubleFlat},
        {kSharp},
        {kNatural},
        {kFlat},
        {},
        {kNatural},
        {kDoubleFlat}}},
      // A note tied over the bar shows no sign; the sign it sounds still holds after it.
      {"[ \\meter<\"4/4\"> c#1/2 \\tie(c#1/2 | c#1/4) c1/4 c#1/2 ]",
       {{kSharp}, {}, {}, {kNatural}, {kSharp}}},
  };
  for (Case const& c : cases) {
    SCOPED_TRACE(c.score);
    Draw(c.score);
    EXPECT_EQ(SignsOfNotes(), c.signs);
  }
}

// A sign holds in its own octave only; the first note of the letter in another octave repeats its
// sign, or cancels it, when the letter stood otherwise earlier in the measure.
TEST_F(MeasureAccidentalsTest, SignsHoldInTheirOwnOctave) {
  struct Case {
    char const* score;
    Signs signs;
  } const cases[] = {
      {"[ \\meter<\"4/4\"> g#0/4 g#1/4 g1/4 g0/4 ]", {{kSharp}, {kSharp}, {kNatural}, {kNatural}}},
      {"[ \\meter<\"4/4\"> f#1/4 f#2/4 f1/4 f2/4 | c#2/4 c1/4 c2/4 c#1/4 ]",
       {{kSharp}, {kSharp}, {kNatural}, {kNatural}, {kSharp}, {kNatural}, {kNatural}, {kSharp}}},
      // Octave chords: each altered note has its own sign (chord notes top down).
      {"[ \\meter<\"4/4\"> {c#1/2, c#2} {f#1/2, a1, f#2} ]",
       {{kSharp}, {kSharp}, {kSharp}, {}, {kSharp}}},
      // The courtesy is given once in its octave; in G major it restores the key's sharp too.
      {"[ \\meter<\"4/4\"> c#2/4 c1/4 c1/4 c2/4 ]", {{kSharp}, {kNatural}, {}, {kNatural}}},
      {"[ \\key<1> \\meter<\"4/4\"> f1/4 f#2/4 f#2/4 f1/4 ]", {{kNatural}, {kSharp}, {}, {}}},
  };
  for (Case const& c : cases) {
    SCOPED_TRACE(c.score);
    Draw(c.score);
    EXPECT_EQ(SignsOfNotes(), c.signs);
  }
}

// A chord note's sign holds for the chords after it (notes of a chord listed top down).
TEST_F(MeasureAccidentalsTest, ChordNotesFollowTheMeasureToo) {
  Draw("[ \\meter<\"4/4\"> {c#1/4, e1} {c1/4, e&1} {c1/4, e1} c#1/4 ]");
  EXPECT_EQ(SignsOfNotes(), (Signs{{}, {kSharp}, {kFlat}, {kNatural}, {kNatural}, {}, {kSharp}}));
}

}  // namespace
