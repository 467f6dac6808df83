// Slurs and ties drawn on the real music font beside the words of the score: the texts under
// the notes, a jump mark's words and a volta's number keep clear of the curves; and the marks
// between two staves keep clear of the other staff's stems.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "drawn_score.h"

namespace {

using EngineTesting::PlacingDevice;

// A tie or slur is one band of two curves of 27 points.
constexpr size_t kCurveCorners = 54;
// Fermatas over and under their notes, and the stems the music font draws.
constexpr unsigned int kFermatas[] = {85, 117};
constexpr unsigned int kStems[] = {218, 219};
bool Meet(NVRect const& a, NVRect const& b) {
  return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

bool Listed(unsigned int code, auto const& codes) {
  return std::ranges::find(codes, code) != std::end(codes);
}

class CurvesAndWordsTest : public EngineTesting::DrawnScore {
 protected:
  // Each drawn text whose letters a curve's outline passes through.
  std::vector<std::string> TextsOnCurves() {
    std::vector<std::string> found;
    for (PlacingDevice::Shape const& curve : drawn.shapes) {
      if (curve.xs.size() != kCurveCorners) continue;
      for (PlacingDevice::Text const& text : drawn.texts) {
        NVRect const box = TextInk(text);
        if (text.page != curve.page ||
            !Meet(box, {curve.left, curve.top, curve.right, curve.bottom}))
          continue;
        if (EngineTesting::OutlineCrosses(curve, box)) found.push_back("'" + text.text + "'");
      }
    }
    return found;
  }
};

// A text under the notes goes under the slur beneath them; a jump mark's words and a volta's
// number rise over the curve that passes under them; a slur over a trill's, a turn's or a tempo
// change's words within it rises over them.
TEST_F(CurvesAndWordsTest, WordsStandClearOfTheCurvesTheyMeet) {
  for (char const* text : {
           "[ \\slur( \\text<\"cantabile\">( e1/4 ) f1 g1 a1 ) ]",
           "[ \\slur( \\text<\"dolce\">( a0/4 ) h0 c1 d1 ) ]",
           "[ \\slur( \\text<\"legato\">( g1/4 ) f1 e1 d1 ) ]",
           "[ \\key<\"F\"> \\repeatBegin f2/4 g2 a2 h&2 \\volta<\"1.\", \"1.\">( \\slur( h&2/4 a2 "
           "g2 f2 | e2/2 ) c2/2 \\repeatEnd ) \\volta<\"2.\", \"2.\">( \\slur( h&2/4 a2 g2 e2 ) | "
           "f2/2. _/4 ) ]",
           "[ \\coda \\slur( f2/4 a2 c3 f3 | e3/4 c3 h&2 g2 ) ]",
           "{ [ \\staff<1> \\stemsUp \\slur( g#2/4 d&2/4 \\trill( f#2/4 ) e2/16 d2/16 g1/16 "
           "d&2/16 ) ], [ \\staff<1> \\stemsDown e1/4 d1/4 e1/4 d1/4 ] }",
           "{ [ \\staff<1> \\stemsUp \\slur( g2/4 d2/4 \\turn( f2/4 ) e2/16 d2/16 g1/16 "
           "d2/16 ) ], [ \\staff<1> \\stemsDown e1/4 d1/4 e1/4 d1/4 ] }",
           "{ [ \\staff<1> \\stemsUp \\slur( g2/4 d2/4 \\accel( f2/4 ) e2/16 d2/16 g1/16 "
           "d2/16 ) ], [ \\staff<1> \\stemsDown e1/4 d1/4 e1/4 d1/4 ] }",
       }) {
    SCOPED_TRACE(text);
    Draw(text);
    for (std::string const& met : TextsOnCurves()) ADD_FAILURE() << met << " meets a curve";
  }
}

// A verse under one staff keeps its distance from a long tie over the notes of the staff below,
// which rises higher than those notes: the staff below moves down for it.
TEST_F(CurvesAndWordsTest, VersesStandClearOfTheCurvesOverTheStaffBelow) {
  for (char const* text : {
           "{ [ \\staff<1> \\meter<\"4/4\"> \\lyrics<\"ti la- na zo lo lu ka fe zo ti zo lu\">( "
           "c1/16 d1 c1 d1 c1 d1 c1 d1 c1 d1 c1 d1 c1 d1 c1 d1 | c1/4 d1 c1 d1 ) ], "
           "[ \\staff<2> \\clef<\"f4\"> \\meter<\"4/4\"> \\tie( d1/2 d1/2 ) d1/1 ] }",
       }) {
    SCOPED_TRACE(text);
    Draw(text);
    for (std::string const& met : TextsOnCurves()) ADD_FAILURE() << met << " meets a curve";
  }
}

// A fermata over the lower staff stands clear of a stem hanging from the upper one: the staves
// stand apart for it.
TEST_F(CurvesAndWordsTest, StavesLeaveRoomForTheFermatasBetweenThem) {
  for (char const* text : {
           "{ [ \\staff<1> \\fermata( {c1/2, e1, g1} ) ], "
           "[ \\staff<2> \\clef<\"bass\"> \\fermata( {c-1/2, a0} ) ] }",
       }) {
    SCOPED_TRACE(text);
    Draw(text);
    for (PlacingDevice::Glyph const& fermata : drawn.glyphs) {
      if (!Listed(fermata.code, kFermatas)) continue;
      for (PlacingDevice::Glyph const& stem : drawn.glyphs)
        if (Listed(stem.code, kStems) && Meet(fermata.ink, stem.ink))
          ADD_FAILURE() << "fermata " << fermata.code << " meets stem " << stem.code;
    }
  }
}

}  // namespace
