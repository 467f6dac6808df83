// Marks that belong to notes, laid out and drawn on the real music font: articulations of voices
// that share a staff, wedges after their last note, beams written with their stems' length.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "drawn_score.h"

namespace {

using EngineTesting::TwoVoices;

constexpr float kSpace = 50;

class MarksAtTheirNotesTest : public EngineTesting::DrawnScore {
 protected:
  // The staff whose lines lie nearest to a height range.
  ScoreElementDesc StaffAt(float top, float bottom) const {
    ScoreElementDesc nearest{};
    float distance = 1e9f;
    for (auto const& staff : Records(2, 5))
      if (float const d = std::max({staff.top - bottom, top - staff.bottom, 0.f}); d < distance)
        nearest = staff, distance = d;
    return nearest;
  }
};

// Where voices share a staff, the staccatos, tenutos, accents and marcatos of the voice whose
// stems go up stand over all of its music there (stems, past a beam too, and heads) and those of
// the voice whose stems go down under all of it: none lies between the voices. A voice alone on its
// staff keeps them at its heads, away from its stems.
TEST_F(MarksAtTheirNotesTest, EachVoicesMarksStandOnItsStemsSideClearOfTheOtherVoice) {
  struct Case {
    std::string text;
    int over, under;
  };
  for (auto const& [text, over, under] : std::vector<Case>{
           {TwoVoices("\\meter<\"4/4\"> \\stacc( e2/4 f2 ) \\accent( g2/2 )",
                      "\\meter<\"4/4\"> \\stacc( c2/4 d2 ) e2/2"),
            3, 2},
           {TwoVoices("\\stacc( d2/4 ) d2", "f1/4 \\stacc( f1 )"), 1, 1},
           {TwoVoices("\\stacc( e2/8 f2 g2 a2 ) \\ten( \\stacc( g2/4 ) ) \\marcato( {e2/4, g2} )",
                      "\\stacc( c2/8 d2 e2 f2 ) \\ten( \\stacc( e2/4 ) ) \\marcato( {g1/4, c2} )"),
            7, 7},
           {"{ [ \\staff<1> \\stemsUp \\accent( g2/4 ) \\stacc( a2/2 ) ], [ \\staff<1> \\stemsDown "
            "\\ten( e2/4 ) \\accent( c2/2 ) ], [ \\staff<2> \\clef<\"bass\"> \\stemsUp \\stacc( "
            "c0/4 ) \\stemsDown \\marcato( a0/2 ) ] }",
            3, 3},
           {"[ \\stemsUp \\stacc( e2/4 ) \\accent( g1/4 ) \\stemsDown \\marcato( g1/4 ) ]", 1, 2},
       }) {
    SCOPED_TRACE(text);
    Draw(text);
    int above = 0, below = 0;
    for (unsigned int code : {46, 45, 62, 94, 118}) {  // staccato, tenuto, accent, marcatos
      for (auto const& mark : Glyphs(code)) {
        NVRect const& ink = mark.ink;
        float const staff = StaffAt(ink.top, ink.bottom).top;
        float top = 1e9f, bottom = -1e9f;
        auto const take = [&](float left, float up, float right, float down) {
          if (right >= ink.left - 2 && left <= ink.right + 2 && StaffAt(up, down).top == staff)
            top = std::min(top, up), bottom = std::max(bottom, down);
        };
        for (auto const& s : Records(2, 10)) take(s.left, s.top, s.right, s.bottom);
        for (auto const& [page, n] : NoteRecords())
          take(n.headX - 30, n.refY - 25, n.headX + 30, n.refY + 25);
        bool const over = ink.bottom + 5 <= top, clearUnder = ink.top >= bottom + 5;
        EXPECT_TRUE(over || clearUnder) << "glyph " << code << " in the music at " << mark.x;
        above += over, below += clearUnder && !over;
      }
    }
    EXPECT_EQ(above, over);
    EXPECT_EQ(below, under);
  }
}

}  // namespace
