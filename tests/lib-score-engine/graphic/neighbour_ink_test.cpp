// The ink of neighbouring notes stays apart, laid out and drawn on the real music font: heads of
// two voices beside each other, a sign after the ledger lines of the note before, and a beam
// over the signs and ledger lines of its notes.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <initializer_list>
#include <string>
#include <vector>

#include "drawn_score.h"

namespace {

using EngineTesting::IsAccidental;
using EngineTesting::Overlaps;
using EngineTesting::PlacingDevice;
using EngineTesting::Repeated;
using EngineTesting::TwoVoices;

constexpr unsigned int kDot = 46, kLedgerLine = 95, kStemUp = 218, kStemDown = 219;
constexpr unsigned int kHeads[] = {88, 69, 119};  // filled, hollow, whole

// Whether a filled polygon, as a sloping beam, covers some of the box: a beam's box reaches far
// past its ink.
bool Meets(PlacingDevice::Shape const& shape, NVRect const& box) {
  size_t const corners = shape.xs.size();
  if (corners < 3) return NVRect{shape.left, shape.top, shape.right, shape.bottom}.Collides(box);
  std::vector<float> xs{box.left, box.right};
  for (float const x : shape.xs)
    if (x > box.left && x < box.right) xs.push_back(x);
  for (float const x : xs) {
    float top = 1e9f, bottom = -1e9f;
    for (size_t i = 0; i < corners; ++i) {
      float const x1 = shape.xs[i], y1 = shape.ys[i];
      float const x2 = shape.xs[(i + 1) % corners], y2 = shape.ys[(i + 1) % corners];
      if (x < std::min(x1, x2) || x > std::max(x1, x2)) continue;
      float const y = x1 == x2 ? y1 : y1 + (y2 - y1) * (x - x1) / (x2 - x1);
      top = std::min({top, y, x1 == x2 ? y2 : y});
      bottom = std::max({bottom, y, x1 == x2 ? y2 : y});
    }
    if (top < box.bottom && bottom > box.top) return true;
  }
  return false;
}

class NeighbourInkTest : public EngineTesting::DrawnScore {
 protected:
  std::vector<NVRect> Inks(std::initializer_list<unsigned int> codes) const {
    std::vector<NVRect> inks;
    for (auto const& glyph : drawn.glyphs)
      if (std::find(codes.begin(), codes.end(), glyph.code) != codes.end())
        inks.push_back(glyph.ink);
    return inks;
  }
  // The ink of a note's head, drawn centred on the note's place.
  NVRect HeadOf(ScoreElementDesc const& note) const {
    NVRect head{};
    for (auto const& glyph : drawn.glyphs)
      if (std::find(std::begin(kHeads), std::end(kHeads), glyph.code) != std::end(kHeads) &&
          std::abs(glyph.y - note.refY) < 1 &&
          std::abs((glyph.ink.left + glyph.ink.right) / 2 - note.headX) < 5)
        head = glyph.ink;
    return head;
  }
  // Each head of the line starts no further left than where every head of its staff played
  // before it ends, and the air past it. The staves of these pieces stand further apart than
  // the heads of one reach.
  void ExpectHeadsInTheOrderOfTheirTimes(DrawnLine const& line, float air = 0) const {
    constexpr float kStavesApart = 400;
    for (ScoreElementDesc const& earlier : line.notes) {
      ASSERT_GT(HeadOf(earlier).right, HeadOf(earlier).left) << earlier.date;
      for (ScoreElementDesc const& later : line.notes)
        if (earlier.date < later.date && std::abs(later.refY - earlier.refY) < kStavesApart) {
          EXPECT_GE(HeadOf(later).left, HeadOf(earlier).right + air)
              << earlier.date << " and " << later.date;
        }
    }
  }
};

// A whole note's head is wider than the others: beside a head of the other voice a second away,
// or in unison with a head of another kind, the two touch at most, and the dots of the left one
// stand past the right one.
TEST_F(NeighbourInkTest, HeadsOfTwoVoicesBesideEachOtherDoNotMeet) {
  for (std::string const& text : {
           TwoVoices("a1/1", "g1/2 g1/2"),
           TwoVoices("g1/1", "g1/4 a1/4 h1/2"),
           TwoVoices("c2/2 c2/2", "h1/1"),
           TwoVoices("a1/1", "g1/2. g1/4"),
           TwoVoices("f2/1", "e2/4. d2/8 c2/2"),
       }) {
    SCOPED_TRACE(text);
    Draw(text);
    std::vector<NVRect> const heads = Inks({kHeads[0], kHeads[1], kHeads[2]});
    EXPECT_EQ(Overlaps(heads), 0);
    EXPECT_EQ(Overlaps(Inks({kDot}), heads), 0);
  }
}

// Two voices on one step at two pitches, struck or one held by a tie, never share a head: the
// two heads stand side by side, and a sign of the right one stands between them, before its own
// head, where it cannot read as the left one's.
TEST_F(NeighbourInkTest, HeadsOfTwoPitchesOnOneStepStandApartEachBehindItsSign) {
  struct Case {
    std::string text;
    int signsBetween;  // signs standing right of the left head
  };
  for (Case const& c : {
           Case{TwoVoices("a1/4", "a&1/4"), 0},
           Case{TwoVoices("a&1/4", "a1/4"), 1},
           Case{TwoVoices("f#1/2", "f1/2"), 1},
           Case{"{ [ \\staff<1> \\stemsUp \\key<1> c2/4 a&1/4 a1/4 ], "
                "[ \\staff<1> \\stemsDown \\key<1> c1/4 \\tie( a&1/4 a&1/4 ) ] }",
                1},
       }) {
    SCOPED_TRACE(c.text);
    Draw(c.text);
    // The last two heads are the two voices' at one time; before them two may share a head.
    std::vector<NVRect> heads = Inks({kHeads[0], kHeads[1]});
    ASSERT_GE(heads.size(), 2u);
    std::sort(heads.begin(), heads.end(),
              [](NVRect const& a, NVRect const& b) { return a.left < b.left; });
    NVRect const left = heads[heads.size() - 2], right = heads.back();
    EXPECT_EQ(Overlaps({left}, {right}), 0);
    float const leftEdge = left.right;
    int between = 0;
    for (auto const& sign : drawn.glyphs) {
      if (!IsAccidental(sign.code)) continue;
      EXPECT_EQ(Overlaps({sign.ink}, heads), 0);
      if (sign.ink.left >= leftEdge) ++between;
    }
    EXPECT_EQ(between, c.signsBetween);
  }
}

// Of two voices a step apart, the upper note in a space and the lower one on the line under it,
// each dot stands in a space of its own: two dots, not one of both.
TEST_F(NeighbourInkTest, DotsOfTwoVoicesAStepApartStandApart) {
  for (std::string const& text : {
           TwoVoices("a1/4. h1/8", "g1/4. g1/8"),
           TwoVoices("c2/4. h1/8", "h1/4. g1/8"),
           TwoVoices("e2/2.", "d2/2."),
           std::string("{ [ \\staff<1> a1/4. h1/8 ], [ \\staff<1> g1/4. g1/8 ] }"),
       }) {
    SCOPED_TRACE(text);
    Draw(text);
    std::vector<NVRect> const dots = Inks({kDot});
    EXPECT_EQ(dots.size(), 2u);
    EXPECT_EQ(Overlaps(dots), 0);
  }
}

// A sign keeps clear of a ledger line of the note before at its height, above the staff or
// below, after a chord or before one, where notes of the other voice stand between, and where
// the two stand in slices of their own.
TEST_F(NeighbourInkTest, ASignKeepsClearOfTheLedgerLinesOfTheNoteBefore) {
  for (std::string const& text : {
           std::string("[ \\meter<\"2/4\"> \\beam( c1/16 {c1/16, e1, g1} ) {c#1/8, f1, a1} ]"),
           std::string("[ \\meter<\"2/4\"> c1/16 c#1/16 h0/16 d#1/16 c1/16 e&1/16 ]"),
           std::string("[ \\meter<\"2/4\"> a2/16 a#2/16 c3/16 h&2/16 {a2/16, c3} {c#3/16, e3} ]"),
           std::string("{ [ \\staff<1> \\stemsDown c1/8 c#1/8 ], "
                       "[ \\staff<1> \\stemsUp g1/16 a1/16 h1/16 c2/16 ] }"),
           // Without bar lines a line may break anywhere: a chord and the next one stand in
           // two slices of it.
           std::string("[ \\meter<\"2/4\", autoBarlines=\"off\"> " +
                       Repeated("c1/16 {c1/16, e1, g1} {d#1/16, f1, a1} {c1/16, e1, g1} "
                                "{c#1/16, f1, a1} h0/16 {d#1/16, f#1, a1} c1/16 {e&1/16, g1}",
                                3) +
                       "]"),
       }) {
    SCOPED_TRACE(text);
    Draw(text);
    int signs = 0;
    for (auto const& sign : drawn.glyphs) {
      if (!IsAccidental(sign.code)) continue;
      ++signs;
      // The lines of the sign's own note run under it from the right.
      for (NVRect const& line : Inks({kLedgerLine}))
        if (line.left + line.right < sign.ink.left + sign.ink.right) {
          EXPECT_EQ(Overlaps({line}, {sign.ink}), 0) << sign.ink.left << ", " << sign.ink.top;
        }
    }
    EXPECT_GT(signs, 0);
  }
}

// A beam keeps clear of the signs of the notes under it as of their heads: a steep one over a
// sign of a note inside its group, a written one, one over a chord's sign, one under stems
// down, and a written one ending on a chord, whose notes are placed after the beam.
TEST_F(NeighbourInkTest, ABeamKeepsClearOfTheSignsUnderIt) {
  for (std::string const& text : {
           std::string("[ \\meter<\"2/4\"> \\beam( d1/16 g1/16 c2/16 f&2/16 ) "
                       "\\beam( c1/16 f1/16 h&1/16 e2/16 ) ]"),
           std::string("[ \\meter<\"2/4\"> \\beam<dy=7>( c1/16 e1/16 a&1/16 d2/16 ) "
                       "\\beam<dy=6>( d1/16 h1/16 e&2/16 a2/16 ) ]"),
           std::string("[ \\meter<\"2/4\"> \\beam( d1/16 {g1/16, c2} {c2/16, f#2} g2/16 ) "
                       "\\beam( e1/16 a1/16 {d2/16, g#2} a2/16 ) ]"),
           std::string("[ \\meter<\"3/8\"> c1/8 {c1/8, e1, g&1} c1/8 ]"),
           std::string("[ \\meter<\"2/4\"> \\beam( c1/8 {c1/8, e1, a&1} c1/8 ) c1/8 ]"),
           std::string("[ \\meter<\"2/4\"> \\beam( e1/16 {e1/16, g1, h&1} e1/16 d1/16 ) ]"),
           std::string("[ \\meter<\"3/8\"> a2/8 {a2/8, f2, d#2} a2/8 ]"),
           std::string("[ \\meter<\"2/4\"> \\stemsDown \\beam( a2/16 e2/16 h#1/16 f1/16 ) "
                       "\\beam( h2/16 f#2/16 c#2/16 g1/16 ) ]"),
           std::string(
               "[ \\clef<\"f4\"> \\meter<\"2/4\"> \\beam<dy=-9>( a##-1/8 {d0/8, f#0, a#0} ) "
               "\\beam<dy=-1.5>( c&0/8 {e&0/8, g&0, h&0} ) ]"),
           std::string("[ \\meter<\"2/4\"> \\beam<dy=6>( a&1/8 {d2/8, f#2} ) "
                       "\\stemsDown \\beam<dy=-6>( g2/8 {d#2/8, f2} ) ]"),
       }) {
    SCOPED_TRACE(text);
    Draw(text);
    std::vector<NVRect> signs;
    for (auto const& glyph : drawn.glyphs)
      if (IsAccidental(glyph.code)) signs.push_back(glyph.ink);
    EXPECT_FALSE(signs.empty());
    for (auto const& shape : drawn.shapes)
      for (NVRect const& sign : signs)
        EXPECT_FALSE(Meets(shape, sign)) << sign.left << ", " << sign.top;
  }
}

// A steep beam over the heads of a chord beyond the staff keeps clear of the ledger lines
// reaching past them as of the heads: a written one whose lengths give way to the shortest
// stem, rising to a chord over the staff and falling from one under it.
TEST_F(NeighbourInkTest, ABeamKeepsClearOfTheLedgerLinesUnderIt) {
  for (std::string const& text : {
           std::string("[ \\clef<\"f4\"> \\meter<\"2/4\"> \\beam<dy=-7>( f-1/16 "
                       "{a0/16, c1/16, e1/16} ) {c1/8, e1/8} g0/8 g0/16 g0/16 g0/16 g0/16 ]"),
           std::string("[ \\meter<\"2/4\"> \\stemsDown \\beam<dy=-7>( "
                       "{a0/16, c1/16, e1/16} g2/16 ) {a0/8, c1/8} d1/8 d1/16 d1/16 d1/16 d1/16 ]"),
       }) {
    SCOPED_TRACE(text);
    Draw(text);
    std::vector<NVRect> const lines = Inks({kLedgerLine});
    EXPECT_FALSE(lines.empty());
    for (auto const& shape : drawn.shapes)
      for (NVRect const& line : lines)
        EXPECT_FALSE(Meets(shape, line)) << line.left << ", " << line.top;
  }
}

// A ledger line keeps clear of the stem of its neighbour at its height: of a stem up on the
// right of the note before, which the lines of a note over the staff reach back to, and of a
// stem down on the left of the note after, which the lines of a note under the staff reach on
// to.
TEST_F(NeighbourInkTest, ALedgerLineKeepsClearOfTheStemOfItsNeighbour) {
  for (std::string const& text : {
           std::string("[ \\meter<\"2/4\"> " + Repeated("\\beam( e1/16 c3/16 f1/16 a2/16 )", 2) +
                       "]"),
           std::string("[ \\meter<\"2/4\"> \\stemsDown " +
                       Repeated("\\beam( c1/16 g2/16 a0/16 f2/16 )", 2) + "]"),
           std::string("[ \\meter<\"2/4\"> " +
                       Repeated("\\beam( {e1/16, g1} {c3/16, e3} f1/16 {a2/16, c3} )", 2) + "]"),
       }) {
    SCOPED_TRACE(text);
    Draw(text);
    std::vector<NVRect> const lines = Inks({kLedgerLine});
    EXPECT_FALSE(lines.empty());
    // A note's own stem stands at its head, in the middle part of its lines.
    for (NVRect const& line : lines)
      for (NVRect const& stem : Inks({kStemUp, kStemDown}))
        if (std::abs(stem.left + stem.right - line.left - line.right) >
            0.7f * (line.right - line.left)) {
          EXPECT_EQ(Overlaps({line}, {stem}), 0) << line.left << ", " << line.top;
        }
  }
}

// Heads of two voices a short time apart, as a triplet's notes beside the other voice's eighths
// and sixteenths: the later head starts right of the earlier one's, whatever their heights, so
// that they read in the order of their times; and heads at one height keep air between them,
// not rim to rim.
TEST_F(NeighbourInkTest, HeadsOfTwoVoicesAShortTimeApartKeepTheirOrderAndAir) {
  for (std::string const& text : {
           TwoVoices("\\key<3> \\meter<\"2/4\"> " +
                         Repeated("f#1/8 a1/8 \\tuplet<\"-3-\">( g#1/12 g#1/12 a&1/12 )", 8),
                     "\\key<3> \\meter<\"2/4\"> " + Repeated("g#0/8 c#1/8 f#1/8 e1/8", 8)),
           TwoVoices("\\key<3> \\meter<\"2/4\"> " +
                         Repeated("f#1/8 a1/8 \\tuplet<\"-3-\">( g#1/12 g#1/12 a&1/12 ) a1/4", 6),
                     "\\key<3> \\meter<\"2/4\"> " + Repeated("g#0/8 c#1/8 f#1/8 e1/8 c#1/4", 6)),
           TwoVoices("\\meter<\"2/4\"> " +
                         Repeated("\\tuplet<\"-3-\">( e2/12 f2/12 g2/12 ) a2/8 h2/16 c3/16", 8),
                     "\\meter<\"2/4\"> " + Repeated("c1/8 d1/16 e1/16 f1/8 g1/8", 8)),
           TwoVoices("\\meter<\"2/4\"> " +
                         Repeated("\\tuplet<\"-3-\">( c3/12 h2/12 a2/12 ) g2/8 f2/8", 8),
                     "\\meter<\"2/4\"> " + Repeated("a0/8 h0/8 c1/16 d1/16 e1/8", 8)),
       }) {
    SCOPED_TRACE(text);
    Draw(text);
    float const headWidth = Width(kHeads[0]);
    for (DrawnLine const& line : DrawnLines())
      for (ScoreElementDesc const& earlier : line.notes)
        for (ScoreElementDesc const& later : line.notes)
          if (earlier.date < later.date) {
            EXPECT_GE(later.headX - earlier.headX, headWidth - 1)
                << earlier.date << " and " << later.date;
          }
    std::vector<NVRect> const heads = Inks({kHeads[0]});
    ASSERT_FALSE(heads.empty());
    // Heads at one date stand in one column (a second apart beside each other, touching).
    for (NVRect const& a : heads)
      for (NVRect const& b : heads)
        if (a.left < b.left - 1 && a.bottom > b.top + 1 && b.bottom > a.top + 1 &&
            std::abs(a.top - b.top) > 30) {
          EXPECT_GE(b.left - a.right, 5) << a.left << ", " << a.top << " and " << b.left;
        }
  }
}

// A bar that fills a narrow line alone is set tighter than its heads keep their air at: the
// springs too short for them still keep a head of one voice, a wide whole note's most of all,
// clear of the note the other voice plays after it, at the cost of the line's other springs;
// on a line too narrow for all their air, the heads still stand clear.
TEST_F(NeighbourInkTest, HeadsOfABarFillingItsLineKeepTheOrderOfTheirTimes) {
  std::string const run = Repeated("c2/16 d2/16 e2/16 d2/16", 4);
  for (std::string const width : {"8cm", "7.5cm"}) {
    std::string const page = "\\set<systemBreak=\"off\"> \\pageFormat<w=" + width +
                             ", h=10cm, lm=0.5cm, tm=1cm, rm=0.5cm, bm=1cm> \\meter<\"4/4\"> ";
    std::string const text = TwoVoices(page + run, "\\meter<\"4/4\"> e1/1");
    SCOPED_TRACE(text);
    Draw(text);
    std::vector<DrawnLine> const lines = DrawnLines();
    ASSERT_EQ(lines.size(), 1u);
    ExpectHeadsInTheOrderOfTheirTimes(lines.front());
  }
}

// A line's slices start where it may break, a bar line drawn there or not: the last head of one
// slice, a short note's, keeps clear of a wide whole note at another height that starts the next
// slice beside another voice's note, as it does within a slice. A line broken so ends without a
// bar line: its last note gives no room to the heads the next line starts with, taken from the
// air of the line's own heads.
TEST_F(NeighbourInkTest, HeadsEitherSideOfASliceStartKeepTheirOrderAndAir) {
  std::string const meter = "\\meter<\"4/4\", autoBarlines=\"off\"> ";
  std::string const page = "\\pageFormat<w=7cm, h=20cm, lm=0.5cm, tm=1cm, rm=0.5cm, bm=1cm> ";
  for (std::string const& text : {
           TwoVoices(meter + Repeated("h1/2 g1/8 e2/8 a2/8. a2/16 d2/1", 3),
                     meter + Repeated("e1/4 a1/4 a1/2 e1/2 a1/4 a1/4", 3)),
           "{ [ \\staff<1> " + page + meter +
               "a#1/4 {c#2/4, a1/4, f1/4} \\tuplet<\"-3-\">( h1/12 h1/12 a&1/12 ) "
               "\\grace( g1/16 ) a1/8 f2/16 g2/16 _/16 h1/16 g2/16 h1/16 {c2/4, a1/4} d&2/8 e2/8 "
               "e2/8 c#2/8 ], [ \\staff<2> \\clef<\"f4\"> " +
               meter + "{e#-1/2, g-1/2, h-1/2} _/4 g-1/4 {d-1/1, f-1/1, a-1/1} ] }",
       }) {
    SCOPED_TRACE(text);
    Draw(text);
    for (DrawnLine const& line : DrawnLines()) ExpectHeadsInTheOrderOfTheirTimes(line, 5);
  }
}

}  // namespace

// A sign keeps clear of the note before on its staff where a dynamic of another staff stands
// between the two and a line may break before it: the dynamic starts a slice of its own, and
// the rods of that slice keep only its own springs apart.
TEST_F(NeighbourInkTest, ASignKeepsClearOfTheNoteBeforeAcrossADynamicOfAnotherStaff) {
  std::string const run = Repeated("c2/16 h1/16 a1/16 g1/16", 4);
  std::string const unbarred = "\\meter<\"4/4\", autoBarlines=\"off\"> ";
  for (std::string const width : {"14.5cm", "15cm"}) {
    std::string const text = "{ [ \\staff<1> \\pageFormat<w=" + width +
                             ", h=20cm, lm=0.5cm, tm=1cm, rm=0.5cm, bm=1cm> \\stemsUp " + unbarred +
                             Repeated(run, 4) + "], [ \\staff<1> \\stemsDown " + unbarred +
                             Repeated("f#1/1 f1/1", 2) + "], [ \\staff<2> \\clef<\"f4\"> " +
                             unbarred + Repeated("\\intens<\"f\"> c0/1 \\intens<\"p\"> c0/1", 2) +
                             "] }";
    SCOPED_TRACE(text);
    Draw(text);
    std::vector<NVRect> signs;
    for (auto const& glyph : drawn.glyphs)
      if (IsAccidental(glyph.code)) signs.push_back(glyph.ink);
    EXPECT_FALSE(signs.empty());
    EXPECT_EQ(Overlaps(signs, Inks({kHeads[0], kStemUp, kStemDown})), 0);
  }
}
