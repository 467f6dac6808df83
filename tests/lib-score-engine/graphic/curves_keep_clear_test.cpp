// Ties and slurs drawn on the real music font: each keeps clear of the notes, signs, beams and
// curves it passes, but for the heads, stems and dots at its own ends.
#include <gtest/gtest.h>

#include <algorithm>
#include <initializer_list>
#include <string>
#include <vector>

#include "drawn_score.h"

namespace {

using EngineTesting::IsAccidental;
using EngineTesting::PlacingDevice;

constexpr float kSpace = 50;
// A tie or slur is one band of two curves of 27 points; a beam a polygon of four corners.
constexpr size_t kCurveCorners = 54, kBeamCorners = 4;
// The flags of one to six hooks on up and down stems.
constexpr unsigned int kFlags[] = {106, 107, 221, 115, 246, 248, 74, 75, 222, 83, 245, 247};
// The breath mark, tenuto, staccato, accent, mordent, fermatas and marcatos.
constexpr unsigned int kMarks[] = {44, 45, 46, 62, 77, 85, 94, 117, 118};
// A curve crosses the bar lines between its notes.
constexpr unsigned int kBarLine = 139;

bool InPolygon(PlacingDevice::Shape const& shape, float x, float y) {
  bool inside = false;
  for (size_t i = 0, j = shape.xs.size() - 1; i < shape.xs.size(); j = i++) {
    float const xi = shape.xs[i], yi = shape.ys[i], xj = shape.xs[j], yj = shape.ys[j];
    if ((yi > y) != (yj > y) && x < (xj - xi) * (y - yi) / (yj - yi) + xi) inside = !inside;
  }
  return inside;
}

bool Cross(float ax, float ay, float bx, float by, float cx, float cy, float dx, float dy) {
  auto side = [](float px, float py, float qx, float qy, float rx, float ry) {
    return (qx - px) * (ry - py) - (qy - py) * (rx - px);
  };
  return side(ax, ay, bx, by, cx, cy) * side(ax, ay, bx, by, dx, dy) < 0 &&
         side(cx, cy, dx, dy, ax, ay) * side(cx, cy, dx, dy, bx, by) < 0;
}

// Whether two filled outlines share ink: a corner of one inside the other, or crossing edges.
bool Meet(PlacingDevice::Shape const& a, PlacingDevice::Shape const& b) {
  if (a.left >= b.right || b.left >= a.right || a.top >= b.bottom || b.top >= a.bottom)
    return false;
  for (size_t i = 0; i < a.xs.size(); ++i)
    if (InPolygon(b, a.xs[i], a.ys[i])) return true;
  for (size_t i = 0; i < b.xs.size(); ++i)
    if (InPolygon(a, b.xs[i], b.ys[i])) return true;
  for (size_t i = 0; i < a.xs.size(); ++i) {
    size_t const i2 = (i + 1) % a.xs.size();
    for (size_t j = 0; j < b.xs.size(); ++j) {
      size_t const j2 = (j + 1) % b.xs.size();
      if (Cross(a.xs[i], a.ys[i], a.xs[i2], a.ys[i2], b.xs[j], b.ys[j], b.xs[j2], b.ys[j2]))
        return true;
    }
  }
  return false;
}

// A glyph's ink as an outline, a unit inside its box: a curve that only grazes the box's
// corner keeps clear of the glyph.
PlacingDevice::Shape Filled(int page, float l, float t, float r, float b) {
  return PlacingDevice::Shape{page, l, t, r, b, {l, r, r, l}, {t, t, b, b}};
}

PlacingDevice::Shape Outline(PlacingDevice::Glyph const& glyph) {
  NVRect const& r = glyph.ink;
  return Filled(glyph.page, r.left + 1, r.top + 1, r.right - 1, r.bottom - 1);
}

class CurvesKeepClear : public EngineTesting::DrawnScore {
 protected:
  // What the curves drawn cross: glyphs away from the curve's ends (a sign at an end too),
  // beams, and each other.
  std::vector<std::string> Crossings() const {
    std::vector<std::string> found;
    std::vector<PlacingDevice::Shape const*> curves, beams;
    for (PlacingDevice::Shape const& shape : drawn.shapes) {
      if (shape.xs.size() == kCurveCorners) curves.push_back(&shape);
      if (shape.xs.size() == kBeamCorners) beams.push_back(&shape);
    }
    for (size_t c = 0; c < curves.size(); ++c) {
      PlacingDevice::Shape const& curve = *curves[c];
      auto near = [&](NVRect const& ink, float tip) {
        return tip >= ink.left - kSpace && tip <= ink.right + kSpace;
      };
      for (PlacingDevice::Glyph const& glyph : drawn.glyphs) {
        if (glyph.page != curve.page || glyph.ink.right <= glyph.ink.left || glyph.code == kBarLine)
          continue;
        bool const atEnd = !IsAccidental(glyph.code) &&
                           (near(glyph.ink, curve.left) || near(glyph.ink, curve.right));
        if (!atEnd && Meet(curve, Outline(glyph)))
          found.push_back("glyph " + std::to_string(glyph.code) + " at " + std::to_string(glyph.x) +
                          ", " + std::to_string(glyph.y));
      }
      for (PlacingDevice::Shape const* beam : beams)
        if (beam->page == curve.page && Meet(curve, *beam))
          found.push_back("beam at " + std::to_string(beam->left));
      for (size_t other = c + 1; other < curves.size(); ++other)
        if (curves[other]->page == curve.page && Meet(curve, *curves[other]))
          found.push_back("curve at " + std::to_string(curves[other]->left));
    }
    return found;
  }

  // The articulations and ornaments the curves drawn meet, at their ends as well.
  std::vector<std::string> MarksMet() const {
    std::vector<std::string> found;
    for (PlacingDevice::Shape const& curve : drawn.shapes) {
      if (curve.xs.size() != kCurveCorners) continue;
      for (PlacingDevice::Glyph const& glyph : drawn.glyphs)
        if (glyph.page == curve.page &&
            std::find(std::begin(kMarks), std::end(kMarks), glyph.code) != std::end(kMarks) &&
            Meet(curve, Outline(glyph)))
          found.push_back("mark " + std::to_string(glyph.code) + " at " + std::to_string(glyph.x) +
                          ", " + std::to_string(glyph.y));
    }
    return found;
  }

  // Draws each text and fails for every crossing its curves make.
  void ExpectNoCrossings(std::initializer_list<char const*> texts) {
    for (char const* text : texts) {
      SCOPED_TRACE(text);
      Draw(text);
      for (std::string const& crossing : Crossings()) ADD_FAILURE() << crossing;
    }
  }

  // The flags the curves drawn meet, at their ends as well: a curve starts beside its note's
  // head, not in its flag.
  std::vector<std::string> FlagsMet() const {
    std::vector<std::string> found;
    for (PlacingDevice::Shape const& curve : drawn.shapes) {
      if (curve.xs.size() != kCurveCorners) continue;
      for (PlacingDevice::Glyph const& glyph : drawn.glyphs)
        if (glyph.page == curve.page &&
            std::find(std::begin(kFlags), std::end(kFlags), glyph.code) != std::end(kFlags) &&
            Meet(curve, Outline(glyph)))
          found.push_back("flag " + std::to_string(glyph.code) + " at " + std::to_string(glyph.x) +
                          ", " + std::to_string(glyph.y));
    }
    return found;
  }
};

// A tie goes where it meets no other note, and ends before the signs beside its notes: under
// another voice's notes, clear of its own flags, short of a sign of its chord, after the key
// that opens the line it goes on on.
TEST_F(CurvesKeepClear, TiesPassNoNoteOrSign) {
  ExpectNoCrossings({
      "{ [ a#1/8 a1/8 ], [ \\staff<1> \\stemsDown \\tie( g1/4 g1/4 ) ] }",
      "{ [ \\staff<1> \\stemsUp e2/8 d2 c2 h1 c2/2 ], "
      "[ \\staff<1> \\stemsDown \\tie( a1/2 a1/2 ) ] }",
      "{ [ \\staff<1> \\stemsUp \\tie( e1/8 e1/8 ) g1/4 ], "
      "[ \\staff<1> \\stemsDown c1/4 c1/4 ] }",
      "[ \\meter<\"2/4\"> \\tie( c2/4 {c2/4, d#2} ) ]",
      "[ \\key<-5> \\meter<\"4/4\"> c2/2 \\tie( g1/2 \\newSystem g1/2 ) c2/2 ]",
  });
}

// Two voices sounding one pitch at once, on one head or on two heads side by side, each tie
// their note on: each tie keeps to its voice's side, so that neither crosses the other.
TEST_F(CurvesKeepClear, TiesOfVoicesInUnisonPart) {
  ExpectNoCrossings({
      "{ [ \\staff<1> \\stemsUp \\meter<\"3/4\"> \\beam( \\tie( a1/8 a1/16 ) f2/16 ) "
      "g2/4 f2/4 ], [ \\staff<1> \\stemsDown \\tie( a1/4 a1/4 ) e1/4 ] }",
      "{ [ \\staff<1> \\stemsUp \\meter<\"4/4\"> \\tie( g1/8 g1/8 ) a1/4 h1/2 ], "
      "[ \\staff<1> \\stemsDown \\tie( g1/2 g1/2 ) ] }",
      "{ [ \\staff<1> \\stemsUp \\meter<\"4/4\"> \\tie( g1/8 g1/8 ) a1/8 f#1/8 h1/2 ], "
      "[ \\staff<1> \\stemsDown \\tie( g1/2 g1/2 ) ] }",
      "{ [ \\staff<1> \\stemsUp \\meter<\"4/4\"> _/4 \\tie( e1/8 e1/8 ) g1/4 h1/4 ], "
      "[ \\staff<1> \\stemsDown c1/4 \\tie( e1/2 e1/4 ) ] }",
  });
}

// Two voices each tie a note over a line break, the upper voice a whole note over a shorter
// note of the lower: where the line opens, the lower tie does not rise across the upper one to
// clear the wider head its tip stands under.
TEST_F(CurvesKeepClear, ContinuedTiesOfTwoVoicesStayApart) {
  ExpectNoCrossings({
      "{ [ \\staff<1> \\stemsUp \\key<-3> \\meter<\"4/4\"> \\tie( h&1/1 \\newSystem "
      "h&1/1 ) ], "
      "[ \\staff<1> \\stemsDown \\key<-3> \\meter<\"4/4\"> e&1/4 e&1/4 \\tie( g1/2 "
      "\\newSystem g1/4 ) f1/4 e&1/2 ] }",
      "{ [ \\staff<1> \\stemsUp \\key<5> \\meter<\"4/4\"> \\tie( a1/1 \\newSystem "
      "a1/1 ) ], "
      "[ \\staff<1> \\stemsDown \\key<5> \\meter<\"4/4\"> d#1/4 d#1/4 \\tie( f#1/2 "
      "\\newSystem f#1/4 ) e1/4 d#1/2 ] }",
  });
}

// A tie going on over a line break inside an octava begins after the octava's figure that
// opens the new line, rather than through it.
TEST_F(CurvesKeepClear, ContinuedTiesBeginAfterTheOctavaFigure) {
  for (char const* text : {
           "[ \\oct<1> \\key<-1> \\meter<\"4/4\"> c2/2 \\tie( h&2/2 | \\newSystem h&2/8 ) "
           "c2/8 h&1/4 d2/2 ]",
           "[ \\oct<1> \\key<-3> \\meter<\"4/4\"> e&2/2 \\tie( c3/2 | \\newSystem c3/1 ) ]",
       }) {
    SCOPED_TRACE(text);
    Draw(text);
    int figures = 0;
    for (PlacingDevice::Text const& figure : drawn.texts) {
      if (figure.text != "8" && figure.text != "8ba") continue;
      ++figures;
      NVRect const ink = TextInk(figure);
      PlacingDevice::Shape const letters =
          Filled(figure.page, ink.left, ink.top, ink.right, ink.bottom);
      for (PlacingDevice::Shape const& curve : drawn.shapes) {
        if (curve.xs.size() == kCurveCorners && curve.page == figure.page) {
          EXPECT_FALSE(Meet(curve, letters)) << "tie at " << curve.left << " on " << figure.text;
        }
      }
    }
    EXPECT_EQ(figures, 2);
  }
}

// A tie going on over a line break, of a voice sharing its staff, lies on its voice's side on both
// lines: on the new line the other voice's note and sign beside the tied note stand on the other
// side, where the piece would have to pass through them.
TEST_F(CurvesKeepClear, BrokenTiesOfVoicesKeepToTheirSide) {
  ExpectNoCrossings({
      "{ [ \\staff<1> \\stemsUp \\meter<\"4/4\"> c2/1 | g#1/1 ], "
      "[ \\staff<1> \\stemsDown \\meter<\"4/4\"> e1/2 \\tie( d1/2 \\newSystem d1/4 ) f1/4 "
      "e1/4 d1/4 ] }",
  });
}

// A sign of another voice's note standing between a tie's heads, where the tie could neither end
// before it nor rise over it from beside the heads: the tie passes over it from over the middle of
// one head to the other, on the side away from the stems.
TEST_F(CurvesKeepClear, TiesPassOverASignBetweenTheirHeads) {
  ExpectNoCrossings({
      "{ [ \\pageFormat<w=10cm, h=20cm, lm=0.5cm, tm=1cm, rm=0.5cm, bm=1cm> \\staff<1> \\stemsUp "
      "\\key<3> \\meter<\"2/4\", autoBarlines=\"off\"> h1/4 a1/4 e#1/2 ], "
      "[ \\staff<1> \\stemsDown \\key<3> \\meter<\"2/4\", autoBarlines=\"off\"> e1/8 g#1/8 f#1/8 "
      "\\tie( f#1/8 f#1/4 ) f#1/4 ] }",
  });
}

// A sign of another voice's note, at one time with a tie's last note, standing left of both their
// heads at the tied heads' height: the notes stand apart far enough for the tie to pass over the
// sign, and the tie ends over its head rather than short of the sign.
TEST_F(CurvesKeepClear, TiesPassASignJustBeforeTheirLastHead) {
  char const* const text =
      "{ [ \\staff<1> \\stemsUp h1/4 \\beam( h1/8 e#1/8 ) h1/2 ], "
      "[ \\staff<1> \\stemsDown \\beam( c1/8 c1/8 ) \\tie( g1/8 g1/8 ) g1/2 ] }";
  ExpectNoCrossings({text});
  float signRight = 0, tieRight = 0;
  for (PlacingDevice::Glyph const& glyph : drawn.glyphs)
    if (IsAccidental(glyph.code)) signRight = std::max(signRight, glyph.ink.right);
  for (PlacingDevice::Shape const& shape : drawn.shapes)
    if (shape.xs.size() == kCurveCorners) tieRight = std::max(tieRight, shape.right);
  EXPECT_GT(tieRight, signRight);
}

// A long tie under the notes, another voice's head standing lower than the tie's ends just before
// its last head: the tie is drawn fuller and deepest nearer that head, passing under it.
TEST_F(CurvesKeepClear, LongTiesPassALowHeadBeforeTheirEnd) {
  char const* const text =
      "{ [ \\staff<1> \\stemsUp c2/8 c2/8 c2/8 c2/8 \\beam( c2/16 c2/16 c2/16 e1/16 ) _/8 c2/8 ], "
      "[ \\staff<1> \\stemsDown \\tie( g1/2. g1/8 ) h0/8 ] }";
  ExpectNoCrossings({text});
  // The head stands within a space of the tie's end, where the crossings above let heads be.
  constexpr unsigned int kHead = 88;
  for (PlacingDevice::Shape const& curve : drawn.shapes)
    for (PlacingDevice::Glyph const& glyph : drawn.glyphs)
      if (curve.xs.size() == kCurveCorners && glyph.code == kHead && glyph.ink.left > curve.left &&
          glyph.ink.right < curve.right) {
        EXPECT_FALSE(Meet(curve, Outline(glyph))) << "head at " << glyph.x << ", " << glyph.y;
      }
}

// A key change the layout breaks a line at opens the line instead of standing after its first
// note: a tie leaving that note starts at its head, not past where the key would have stood.
TEST_F(CurvesKeepClear, TiesLeaveTheFirstNoteOfALineOpenedByAKeyChange) {
  std::string const narrow = "\\pageFormat<w=8cm, h=40cm, lm=0.5cm, tm=1cm, rm=0.5cm, bm=1cm> ";
  for (std::string const& bars :
       {EngineTesting::Repeated("\\key<-6> \\tie( d2/2 d2/4 ) e2/4 | \\key<0> c2/1 |", 3),
        EngineTesting::Repeated("\\key<6> \\tie( c2/2 c2/4 ) e2/4 | \\key<0> c2/1 |", 3),
        EngineTesting::Repeated("\\key<-6> \\tie( d2/1 | d2/4 ) e2/2. | \\key<2> c2/1 |", 3)}) {
    SCOPED_TRACE(bars);
    Draw("[ " + narrow + "\\meter<\"4/4\"> c2/1 | " + bars + " c2/1 ]");
    auto const lines = DrawnLines();
    ASSERT_GT(lines.size(), 3u);
    for (PlacingDevice::Shape const& curve : drawn.shapes) {
      if (curve.xs.size() != kCurveCorners) continue;
      // The gap to the nearest note it leaves; a piece going on from the line before leaves none.
      float gap = 1e9;
      for (ScoreElementDesc const& note : lines.at(LineAt(curve.top)).notes)
        if (note.right <= curve.left + kSpace / 2) gap = std::min(gap, curve.left - note.right);
      if (gap < 1e9) {
        EXPECT_LT(gap, kSpace) << "tie at " << curve.left;
      }
    }
  }
}

// A slur rises over all it passes, of any voice, the marks over its inner notes too; stands
// outside a tie it meets; and a piece continued on a new line begins over the notes there.
TEST_F(CurvesKeepClear, SlursPassOverAllBetweenTheirEnds) {
  ExpectNoCrossings({
      "[ \\meter<\"4/4\"> \\slur( c2/4 e2 g2 c3 \\newSystem h2/4 g2 e2 c2 ) | c2/1 ]",
      "{ [ \\staff<1> \\stemsDown \\slur( c2/4 d2 e2 f2 ) ], "
      "[ \\staff<1> \\stemsUp _/4 a2/8 h2 c3/4 _/4 ] }",
      "[ \\key<\"D\"> \\meter<\"4/4\"> \\slur( d2/4 e2 f#2 g2 | a2/2 \\tie( h2/2 | h2/4 ) a2 "
      "g2 f#2 | e2/1 ) ]",
      "[ \\meter<\"4/4\"> \\slur( a1/8 f2 e2 d2 \\tie( c2/2 | c2/4 ) ) ]",
      "[ \\meter<\"4/4\"> \\slur( _/4 d2/2 \\tie( c2/4 \\marcato( c2/8 ) ) a1/8 g1/4 ) ]",
      "[ \\meter<\"4/4\"> \\slur( d2/4 \\marcato( c2/8 ) a1/8 g1/8 f1/8 ) ]",
  });
}

// A tie keeps to the side away from its stems where a little rise clears the flag beside its
// head, though another voice shares the staff: on a narrow line, where the notes stand close,
// it does not cross to the flag's side.
TEST_F(CurvesKeepClear, TiesKeepClearOfFlags) {
  for (char const* text : {
           "{ [ \\pageFormat<w=5cm, h=20cm, lm=0.5cm, tm=1cm, rm=0.5cm, bm=1cm> \\staff<1> "
           "\\stemsUp \\meter<\"4/4\"> _/8. \\tie( g#1/16 g#1/4 ) g#1/16 a1 h1 c2 d2 e2 f2 g2 ], "
           "[ \\staff<1> \\stemsDown e1/2 e1/2 ] }",
           "{ [ \\pageFormat<w=5cm, h=20cm, lm=0.5cm, tm=1cm, rm=0.5cm, bm=1cm> \\staff<1> "
           "\\stemsUp \\meter<\"4/4\"> _/8. \\tie( g#1/16 g#1/4 ) f1/16 a1 h1 c2 d2 e2 f2 g2 ], "
           "[ \\staff<1> \\stemsDown e1/2 f1/2 ] }",
       }) {
    SCOPED_TRACE(text);
    Draw(text);
    for (std::string const& crossing : Crossings()) ADD_FAILURE() << crossing;
    for (std::string const& flag : FlagsMet()) ADD_FAILURE() << flag;
  }
}

// A tie of a voice sharing its staff leaves a flagged note on its voice's side, the flag's: the
// note keeps room past its flag for the least tie, which begins after the flag rather than in it.
// Where the piece before a line break was left under its note by the flag, the piece going on
// takes its voice's side rather than cross the other voice's stem beside the note it reaches.
TEST_F(CurvesKeepClear, TiesLeaveTheirFlagOnTheirVoiceSide) {
  for (char const* text : {
           // the other voice holds the pitch at once, on a line set tight
           "{ [ \\staff<1> \\stemsUp \\pageFormat<w=8cm, h=17cm, lm=0.5cm, tm=1cm, rm=0.5cm, "
           "bm=1cm> \\clef<\"g2\"> \\meter<\"3/8\"> \\intens<\"p\"> e&2/4 \\tie( h2/8 h2/8 ) _/4 "
           "f2/4 h1/8 \\tie( g1/8 g1/4 ) _/4. \\cresc( a1/8 \\tie( h1/8 h1/8 ) g#1/4 h#1/8 ) "
           "\\beam( g2/8 h#1/8 f1/8 ) ], [ \\staff<1> \\stemsDown \\clef<\"g2\"> \\meter<\"3/8\"> "
           "g0/4 h0/8 a0/4. c1/4. \\tie( g1/4 g1/8 ) \\beam( d1/8 d1/8 e1/8 ) a1/4 \\tie( "
           "f1/8 f1/4 ) f1/8 g1/8 a1/8 e1/8 ], [ \\staff<2> \\oct<-1> \\clef<\"f4\"> "
           "\\meter<\"3/8\"> a-1/4. {d-1/8, f-1/8, a-1/8} e-1/8 {f-1/8, a-1/8, c0/8} {d0/4, "
           "f0/4, a0/4} e0/8 e0/8 a-1/8 {g-1/8, h-1/8, d0/8} \\oct<0> \\intens<\"p\"> d-1/4. "
           "g-1/4. g-1/4 f#-1/8 _/4 _/8 ] }",
           // the tie goes on to the next line from the line's last note
           "{ [ \\staff<1> \\stemsUp \\pageFormat<w=8cm, h=22cm, lm=0.5cm, tm=1cm, rm=0.5cm, "
           "bm=1cm> \\clef<\"g2\"> \\key<6> \\meter<\"4/4\"> d#2/1 | \\newSystem \\grace( e#2/16 ) "
           "f#2/8 h2/8 \\beam<dy=6>( f#2/8 e#2/8 ) f#2/4. \\tie( a#1/8 | \\newSystem a#1/4 ) "
           "\\beam( e#1/8 f#1/8 ) g#1/8 a#1/8 h1/4 ], [ \\staff<1> \\stemsDown \\clef<\"g2\"> "
           "\\key<6> \\meter<\"4/4\"> f#1/1 | a#0/2 d#1/2 | g#1/2. _/4 ], [ \\staff<2> "
           "\\clef<\"f4\"> \\key<6> \\meter<\"4/4\"> f#0/1 | \\oct<-1>( c0/2 d#0/2 | \\grace( "
           "a#-1/16 h-1/16 ) c#0/2 {d#0/4, f#0/4, a#0/4} a##-1/4 ) ] }",
       }) {
    SCOPED_TRACE(text);
    Draw(text);
    for (std::string const& crossing : Crossings()) ADD_FAILURE() << crossing;
    for (std::string const& flag : FlagsMet()) ADD_FAILURE() << flag;
  }
}

// A curve keeps clear of the marks of the notes it binds and passes, by the marks' ink: a tie
// stays by its heads and the marks of its notes on its side stand outside it; a slur rises over
// a free-standing breath mark it passes, and ends beyond a marcato of its last chord; a mordent
// over a slur's note or end stands outside the slur.
TEST_F(CurvesKeepClear, CurvesKeepClearOfTheMarksOfTheirNotes) {
  for (char const* text : {
           "[ \\meter<\"2/4\"> c2/16 e&2/16 f2/16 \\tie( \\marcato( e2/16 ) e2/8 ) a2/8 ]",
           "[ \\meter<\"2/4\"> e2/16 \\tie( f2/16 \\ten( f2/16 ) ) a2/16 \\bm( e2/8 g1/8 ) ]",
           "[ \\meter<\"4/4\"> \\slur( f#1/8 g#1/16 _/16 {a1/8., f#1/8.} \\mord( g#1/16 ) "
           "c#2/8 _/16 g2/16 ) a2/4 ]",
           "[ \\meter<\"4/4\"> \\slurBegin c#2/2 \\marcato( {h1/4, g#1/4, e1/4} ) "
           "\\mord( {c#2/4, a#1/4, f#1/4} \\slurEnd ) ]",
           "[ \\meter<\"4/4\"> \\slur( c2/4 d2/4 \\breathMark e2/4 f2/4 ) ]",
           "[ \\clef<\"f4\"> \\meter<\"3/4\"> \\slurBegin {f-1/8, a#-1/8, c0/8} "
           "\\marcato( {f-1/8, a-1/8, c0/8} \\slurEnd ) c&0/4 {g-1/8, h-1/8, d0/8} _/8 ]",
       }) {
    SCOPED_TRACE(text);
    Draw(text);
    for (std::string const& met : MarksMet()) ADD_FAILURE() << met;
  }
}

// A slur on the stem side of a beamed chord at its end, where voices share the staff or the stems
// turn between its ends, ends at the stem's end, past the beam, rather than in it.
TEST_F(CurvesKeepClear, SlursEndPastTheStemsOnTheirSide) {
  for (char const* text : {
           "{ [ \\staff<1> \\stemsUp c2/2 ], "
           "[ \\staff<1> \\stemsDown \\slur( g1/4 \\beam( {d1/16, f1/16} {c1/16, e1/16} ) ) ] }",
           "{ [ \\staff<1> \\stemsUp \\slur( c2/4 \\beam( {e2/16, g2/16} {f2/16, a2/16} ) ) ], "
           "[ \\staff<1> \\stemsDown c1/2 ] }",
           "{ [ \\staff<1> \\stemsUp \\slur( \\beam( {e2/16, g2/16} {f2/16, a2/16} ) c2/4 ) ], "
           "[ \\staff<1> \\stemsDown c1/2 ] }",
           "{ [ \\staff<1> \\stemsUp c2/2 ], "
           "[ \\staff<1> \\stemsDown \\slur( \\beam( {c1/16, e1/16} {d1/16, f1/16} ) g1/4 ) ] }",
           "[ \\meter<\"4/4\"> \\slur( \\stemsDown a2/4 \\stemsUp \\beam( {d1/16, f1/16} {e1/16, "
           "g1/16} ) ) ]",
       }) {
    SCOPED_TRACE(text);
    Draw(text);
    for (std::string const& crossing : Crossings()) ADD_FAILURE() << crossing;
  }
}

}  // namespace
