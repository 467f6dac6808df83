// Verses, tuplet brackets, dynamic marks and wedges under and over a staff, drawn on the real
// music font: none is drawn through another, and the verses stand in their order.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <string>
#include <vector>

#include "drawn_score.h"

namespace {

using EngineTesting::PlacingDevice;

// The pens the engine draws these marks with.
constexpr float kBracketPen = 4;
constexpr float kWedgePen = 6;
// Letters the music font draws dynamic marks with: p, pp, mp, mf, f, ff.
constexpr unsigned int kDynamics[] = {112, 132, 80, 70, 102, 131};

struct Drawn {
  std::string what;
  NVRect box;
};

class MarksKeepClearTest : public EngineTesting::DrawnScore {
 protected:
  static bool IsNumber(std::string const& text) {
    return !text.empty() && std::ranges::all_of(text, [](char c) { return std::isdigit(c); });
  }
  // The halves and hooks of tuplet brackets, with their numbers.
  std::vector<Drawn> Tuplets() {
    std::vector<Drawn> found;
    for (auto const& line : drawn.lines)
      if (line.width == kBracketPen) found.push_back({"bracket", LineBox(line)});
    for (auto const& text : drawn.texts)
      if (IsNumber(text.text)) found.push_back({"number " + text.text, TextInk(text)});
    return found;
  }
  std::vector<Drawn> Wedges() const {
    std::vector<Drawn> found;
    for (NVRect const& box : WedgeBoxes(kWedgePen)) found.push_back({"wedge", box});
    return found;
  }
  // Dynamic marks, widened by the air a wedge keeps from them (a little less for rounding).
  std::vector<Drawn> Dynamics(float air) const {
    std::vector<Drawn> found;
    for (auto const& glyph : drawn.glyphs) {
      if (std::ranges::find(kDynamics, glyph.code) == std::end(kDynamics)) continue;
      NVRect box = glyph.ink;
      box.left -= air;
      box.right += air;
      found.push_back({"dynamic " + std::to_string(glyph.code), box});
    }
    return found;
  }
  std::vector<Drawn> Syllables() {
    std::vector<Drawn> found;
    for (auto const& text : drawn.texts)
      if (!IsNumber(text.text)) found.push_back({"'" + text.text + "'", TextInk(text)});
    return found;
  }
  // What of the one meets what of the other, named for the message.
  static std::string Meetings(std::vector<Drawn> const& ones, std::vector<Drawn> const& others) {
    std::string met;
    for (Drawn const& one : ones)
      for (Drawn const& other : others)
        if (one.box.left < other.box.right && other.box.left < one.box.right &&
            one.box.top < other.box.bottom && other.box.top < one.box.bottom)
          met += one.what + " meets " + other.what + "; ";
    return met;
  }
};

// Each case: the score, then each verse's syllables in the order the verses stand from the top.
TEST_F(MarksKeepClearTest, BracketsVersesDynamicsAndWedgesStandClearInTheirOrder) {
  struct Case {
    char const* text;
    std::vector<std::vector<std::string>> verses;
  };
  for (Case const& c : std::vector<Case>{
           // A bracket under the staff moves the first verse down, and the verse written below
           // it with it.
           {"[ \\key<\"F\"> \\meter<\"4/4\"> \\lyrics<\"The wa-ter is wide, I can-not\">( "
            "\\lyrics<\"A ship there is and she sails the\", dy=-6>( c1/4 f1 f1 g1 | "
            "\\tuplet<\"-3-\">( c2/6 h&1 a1 ) g1/4 f1 ) ) ]",
            {{"The", "wa-", "ter", "wide,", "not"}, {"A", "ship", "there", "and", "the"}}},
           // Low notes with stems down push the first verse down past where the second is
           // written.
           {"[ \\meter<\"2/4\"> \\lyrics<\"Hal-le-lu-jah sing\">( \\lyrics<\"Glo-ri-a in ex\", "
            "dy=-6>( \\stemsDown \\tuplet<\"-3-\">( a0/12 h0 c1 ) d1/4 | \\tuplet<\"-5-\">( "
            "c1/20 d1 e1 d1 c1 ) h0/4 ) ) ]",
            {{"Hal-", "le-", "jah", "sing"}, {"Glo-", "ri-", "in", "ex"}}},
           // The verses of a lower voice, whose stems reach down, with and without a bracket.
           {"{ [ \\staff<1> \\stemsUp \\key<\"G\"> \\meter<\"4/4\"> g1/4 a1 h1 c2 | d2/2 h1/2 ], "
            "[ \\staff<1> \\stemsDown \\key<\"G\"> \\meter<\"4/4\"> \\lyrics<\"Praise to the "
            "Lord, the Al\">( \\lyrics<\"Sing to the King of the\", dy=-6>( d1/4 f#1 g1 a1 | "
            "h1/2 g1/2 ) ) ] }",
            {{"Praise", "Lord,", "Al"}, {"Sing", "King", "of"}}},
           {"{ [ \\staff<1> \\stemsUp \\meter<\"4/4\"> g1/4 a1 h1 c2 | d2/2 h1/2 ], [ \\staff<1> "
            "\\stemsDown \\meter<\"4/4\"> \\lyrics<\"Praise to the Lord, the Al\">( "
            "\\lyrics<\"Sing to the King of the\", dy=-6>( d1/4 f1 \\tuplet<\"-3-\">( g1/6 a1 "
            "g1 ) a1/4 | h1/2 g1/2 ) ) ] }",
            {{"Praise", "Lord,", "Al"}, {"Sing", "King", "of"}}},
           // Tuplets whose stems go down, beside dynamic marks and a wedge under the staff.
           {"[ \\meter<\"2/4\"> \\lyrics<\"la la la la la la la la\">( \\intens<\"p\"> "
            "\\tuplet<\"-3-\">( a2/12 g2 f2 ) \\intens<\"f\"> \\tuplet<\"-3-\">( e2/12 d2 c2 ) | "
            "\\cresc( \\tuplet<\"-3-\">( c2/6 d2 e2 ) ) ) ]",
            {{"la"}}},
           // On a staff of two voices the lower voice's brackets stay under its notes, and the
           // marks under them.
           {"{ [ \\staff<1> \\stemsUp \\meter<\"2/4\"> c2/4 d2 | e2/4 f2 ], [ \\staff<1> "
            "\\stemsDown \\meter<\"2/4\"> \\intens<\"p\"> \\tuplet<\"-3-\">( e1/6 d1 c1 ) "
            "\\cresc( \\tuplet<\"-3-\">( d1/6 e1 f1 ) ) | g1/2 ] }",
            {}},
           {"[ \\meter<\"4/4\"> \\cresc( c2/4 d2 \\tuplet<\"-3-\">( e2/6 d2 c2 ) h1/4 | "
            "\\tuplet<\"-3-\">( c2/6 d2 e2 ) f2/4 \\newSystem g2/4 \\tuplet<\"-3-\">( a2/6 g2 f2 "
            ") e2/4 d2/2 ) \\intens<\"f\"> c2/4 _/4 ]",
            {}},
           // The last piece of a diminuendo run on to a line that begins with "ff" and a further
           // "f" right after it.
           {"[ \\pageFormat<w=10cm, h=24cm, lm=0.5cm, tm=1cm, rm=0.5cm, bm=1cm> \\key<5> "
            "{c#2/1, a#1/1, f#1/1} g#2/2 \\dim( g#2/2 \\intens<\"f\"> _/1 d#2/4 g#2/4 {h2/4, "
            "g#2/4} a2/4 \\intens<\"ff\"> {c#2/4, a#1/4} ) \\intens<\"f\"> \\text<\"sempre\"> _/4 "
            "\\dim( a#1/4 \\stacc( g#1/4 ) e1/1 | e1/8 h1/8 a1/8 e1/8 ) a#1/16 h1/16 f#2/16 "
            "a#1/16 d#2/4 ]",
            {}},
       }) {
    SCOPED_TRACE(c.text);
    Draw(c.text);
    std::vector<Drawn> const tuplets = Tuplets();
    std::vector<Drawn> const wedges = Wedges();
    std::vector<Drawn> const syllables = Syllables();
    std::vector<Drawn> marks = Dynamics(0);
    marks.insert(marks.end(), wedges.begin(), wedges.end());
    marks.insert(marks.end(), syllables.begin(), syllables.end());
    EXPECT_EQ(Meetings(tuplets, marks), "");
    // A wedge keeps half a space (25) from the letters of a mark.
    EXPECT_EQ(Meetings(wedges, Dynamics(20)), "");
    EXPECT_EQ(Meetings(wedges, syllables), "");
    // Each verse a row at one height, wholly under the verse before it.
    float above = -1e9f;
    for (std::vector<std::string> const& verse : c.verses) {
      float const y = Texts(verse.front()).at(0).y;
      float top = 1e9f, bottom = -1e9f;
      for (std::string const& words : verse) {
        ASSERT_FALSE(Texts(words).empty()) << words;
        EXPECT_FLOAT_EQ(Texts(words)[0].y, y) << words;
        top = std::min(top, TextInk(Texts(words)[0]).top);
        bottom = std::max(bottom, TextInk(Texts(words)[0]).bottom);
      }
      EXPECT_LE(above, top + 1.5f) << verse.front() << " under the verse before";
      above = bottom;
    }
  }
}

}  // namespace
