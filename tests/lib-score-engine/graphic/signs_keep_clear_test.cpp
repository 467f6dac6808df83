// A note's signs take their room before its head clear of the ink drawn before them on the
// staff: the bar line before a measure that opens with a dynamic, the last note of the staff
// where another staff's notes stand between the two in time, the other voice's head where a
// flat's stem reaches higher than its box, the sign over it in the column of signs, and the
// signs of a key changed within the line across a dynamic.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "drawn_score.h"

namespace {

using EngineTesting::IsAccidental;
using EngineTesting::Overlaps;
using EngineTesting::TwoVoices;

constexpr unsigned int kBarLine = 139, kStemUp = 218, kStemDown = 219;
constexpr unsigned int kInkBeforeSigns[] = {kBarLine, kStemUp, kStemDown, 88, 69, 119};

class SignsKeepClearTest : public EngineTesting::DrawnScore {};

TEST_F(SignsKeepClearTest, ASignKeepsClearOfTheInkBeforeIt) {
  struct Case {
    char const* fault;
    std::string text;
  } const cases[] = {
      {"a chord's double flat on the bar line, behind a dynamic",
       "[ \\key<-5> \\meter<\"4/4\"> g1/2 g1/2 | \\intens<\"mp\"> {h&&1/4, g&1/4} c2/4 d2/2 ]"},
      {"a chord's signs on the note before, a sixteenth of the other staff between",
       "{ [ \\staff<1> \\clef<\"g2\"> \\key<-7> \\meter<\"C\"> a1/8. g2/16 a2/4 g2/2 ], "
       "[ \\staff<2> \\clef<\"f4\"> \\key<-7> \\meter<\"C\"> {h&-1/8, d&0/8, f0/8} c&0/8 "
       "{d&&0/4, f#0/4, a&0/4} f0/2 ] }"},
      {"a flat's stem on the head of the other voice, moved beside its own",
       TwoVoices("a1/8 g1/8 a1/4", "g1/8 d&1/8 g1/4")},
      {"a flat's stem on the head of the other voice, in beamed eighths",
       TwoVoices("\\beam( e2/8 d2/8 ) e2/4", "\\beam( d2/8 a&1/8 ) d2/4")},
      {"a flat's stem on the head of the other voice, in sixteenths",
       TwoVoices("a1/16 g1/16 a1/16 g1/16 a1/4", "g1/16 d&1/16 g1/16 d&1/16 g1/4")},
      {"a chord's sharp on the sharp of a key changed within the line, behind a dynamic",
       "[ \\clef<\"f4\"> \\key<-2> h&-1/2 h&-1/2 \\key<1> \\intens<\"p\"> "
       "{h-1/4, d#0/4, f#0/4} c0/4 d0/2 ]"},
      {"a sharp over a flat of the other voice, in one column", TwoVoices("c#2/4 c2/4", "d&1/2")},
      {"a sharp over a flat of the other voice a step lower, in one column",
       TwoVoices("h#1/4 h1/4", "c&1/2")},
  };
  for (Case const& c : cases) {
    SCOPED_TRACE(c.fault);
    Draw(c.text);
    std::vector<NVRect> signs, before;
    for (auto const& glyph : drawn.glyphs) {
      if (IsAccidental(glyph.code)) signs.push_back(glyph.ink);
      for (unsigned int code : kInkBeforeSigns)
        if (glyph.code == code) before.push_back(glyph.ink);
    }
    ASSERT_FALSE(signs.empty());
    EXPECT_EQ(Overlaps(signs, before), 0);
  }
}

}  // namespace
