// Everyday piano texts drawn on the real music font: where two symbols meet, neither hides the
// other, and each stands where a reader looks for it.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <utility>
#include <vector>

#include "drawn_score.h"

namespace {

using EngineTesting::PlacingDevice;
using Boxes = std::vector<ScoreElementDesc>;

constexpr int kNote = 1, kOther = 2, kBar = 3, kStem = 10, kBeam = 14;

class SymbolsApart : public EngineTesting::DrawnScore {
 protected:
  Boxes Of(int kind, int subtype) const { return LeftToRight(Records(kind, subtype)); }
  // No note, stem (or beam) comes within a quarter space of the rectangle.
  void ExpectClear(float left, float top, float right, float bottom) const {
    Boxes boxes = Of(kNote, 10);
    for (int subtype : {kStem, kBeam})
      for (ScoreElementDesc const& box : Of(kOther, subtype)) boxes.push_back(box);
    for (ScoreElementDesc const& box : boxes)
      EXPECT_FALSE(box.left < right + 12.5f && left < box.right + 12.5f &&
                   box.top < bottom + 12.5f && top < box.bottom + 12.5f)
          << box.subtype << " at " << box.left << ", " << box.top;
  }
  float BarAt(float date) const {
    for (ScoreElementDesc const& bar : Records(kBar))
      if (std::fabs(bar.date - date) < 1e-4) return bar.left;
    return -1;
  }
};

// The parts of a tempo mark follow each other on a page drawn at any scale, and the mark stands
// above the beam, stems and notes under it (its words reach 70 units up and 22.5 down).
TEST_F(SymbolsApart, TempoMarksKeepTheirPartsApartAboveTheMusic) {
  float const scale = 0.4f;
  Draw("[ \\tempo<\"Allegro [1/4] = 60\"> c1/4 d | \\tempo<\"Adagio [3/8] = 60\"> g a ]", scale);
  ASSERT_EQ(drawn.texts.size(), 4u);
  std::vector<PlacingDevice::Glyph> small;
  for (PlacingDevice::Glyph const& head : Glyphs(88))
    if (head.xscale < scale) small.push_back(head);
  ASSERT_EQ(small.size(), 2u);
  for (int mark = 0; mark < 2; ++mark) {
    PlacingDevice::Text const& words = drawn.texts[2 * mark];
    EXPECT_GE(small[mark].x, words.x + Width(words) - 0.5f) << words.text;
    EXPECT_GE(drawn.texts[2 * mark + 1].x, small[mark].x + 0.65f * Width(88) * scale - 0.5f);
  }
  // The dotted quarter's dot stands close by its head, and the words after it start past it.
  std::vector<PlacingDevice::Glyph> dots;
  for (PlacingDevice::Glyph const& dot : Glyphs(46))
    if (dot.xscale < scale) dots.push_back(dot);
  ASSERT_EQ(dots.size(), 1u);
  float const headRight = small[1].x + 0.65f * Width(88) * scale;
  EXPECT_GE(dots[0].x, headRight - 0.5f);
  EXPECT_LE(dots[0].x - headRight, 0.65f * Width(88) * scale / 2);
  EXPECT_GE(drawn.texts[3].x, dots[0].x + 0.65f * Width(46) * scale - 0.5f);

  Draw("[ \\meter<\"6/8\"> \\tempo<\"Allegro\"> f1/8 h1 d2 f2/4 d2/8 ]");
  ASSERT_EQ(drawn.texts.size(), 1u);
  PlacingDevice::Text const& words = drawn.texts[0];
  ExpectClear(words.x, words.y - 70, words.x + Width(words), words.y + 22.5f);
}

// A mark near the end of a long beam clears it where it rises highest, far to the mark's left;
// the high notes before and after the beam leave the mark below them.
TEST_F(SymbolsApart, TempoMarksClearALongBeamThatRisesBeforeThem) {
  Draw(
      "[ e4/4 \\stemsUp \\beam(a2/16 f2 d2 h1 g1 e1 c1 d1 e1 \\tempo<\"Lento\"> d1 c1 d1) "
      "\\stemsAuto e4/4 ]");
  ASSERT_EQ(drawn.texts.size(), 1u);
  PlacingDevice::Text const& words = drawn.texts[0];
  ExpectClear(words.x, words.y - 70, words.x + Width(words), words.y + 22.5f);
  Boxes const notes = Of(kNote, 10);
  ASSERT_FALSE(notes.empty());
  EXPECT_GT(words.y - 70, notes.front().top) << "lifted over the high note far before it";
}

// Wide dynamics end before the next one and before the end bar; a dynamic between two staves
// keeps clear of the stems of the lower staff's chords (its glyph reaches 95 up and 35 down).
TEST_F(SymbolsApart, DynamicsTakeTheirRoomAndClearTheStemsOfTheNextStaff) {
  Draw("[ \\intens<\"sf\"> g1/4 \\intens<\"ffff\"> g \\intens<\"ppp\"> g \\intens<\"pppp\"> g ]");
  std::vector<PlacingDevice::Glyph> marks;
  for (unsigned int code : {243, 242, 240, 241}) marks.push_back(Glyphs(code).at(0));
  for (size_t i = 0; i + 1 < marks.size(); ++i)
    EXPECT_LT(marks[i].x + Width(marks[i].code), marks[i + 1].x) << marks[i].code;
  EXPECT_LT(marks.back().x + Width(marks.back().code), BarAt(1));

  Draw(
      "{ [ \\meter<\"3/4\"> a2/2 \\intens<\"mf\"> c3/4 ], [ \\staff<2> \\clef<\"bass\"> "
      "\\meter<\"3/4\"> f-1/4 {a-1, c0, f0} {a-1, c0, f0} ] }");
  PlacingDevice::Glyph const mf = Glyphs(70).at(0);
  ExpectClear(mf.x, mf.y - 95, mf.x + Width(70), mf.y + 35);
}

// A ledger line reaches past the head on both sides for every note value.
TEST_F(SymbolsApart, LedgerLinesReachPastEveryHead) {
  Draw("[ \\meter<\"4/4\"> c1/1 | c4/1 | c-2/1 | c1/2 c4/2 | c-2/4 c1/4 c4/4 c-2/4 ]");
  int heads = 0, lines = 0;
  for (unsigned int code : {119, 69, 88}) {
    for (PlacingDevice::Glyph const& head : Glyphs(code)) {
      ++heads;
      float const right = head.x + Width(code);
      // The nearest line, through the head or just above or below it.
      for (PlacingDevice::Glyph const& line : Glyphs(95)) {
        if (std::fabs(line.y - head.y) > 26 || line.x > right || line.x + 100 < head.x) continue;
        ++lines;
        EXPECT_LE(line.x, head.x - 5) << code;
        EXPECT_GE(line.x + Width(95) * line.xscale, right + 5) << code;
      }
    }
  }
  EXPECT_EQ(heads, 9);
  EXPECT_GE(lines, 9);
}

// A whole-measure rest stands in the middle of its measure, in the last one as in the others.
TEST_F(SymbolsApart, WholeMeasureRestsAreCentredInTheLastMeasureToo) {
  Draw("[ \\meter<\"4/4\"> c2/1 | _/1 | c2/2 _/2 | _/1 ]");
  Boxes const rests = Of(kNote, 11);
  ASSERT_EQ(rests.size(), 3u);
  for (ScoreElementDesc const& rest : {rests[0], rests[2]})
    EXPECT_NEAR(rest.left + rest.right, BarAt(rest.date) + BarAt(rest.date + 1), 4) << rest.date;
}

// A sign right after a repeat begin in mid line keeps from the repeat's dots the gap it keeps
// from a plain bar line, for single notes and chords, sharps, flats and naturals, and on each
// staff of a system.
TEST_F(SymbolsApart, SignsAfterARepeatBeginStandClearOfItsDots) {
  constexpr unsigned int kRepeatBegin = 93, kBarLine = 139;
  Draw("[ \\meter<\"4/4\"> c#2/1 | c#2/1 ]");
  PlacingDevice::Glyph const bar = Glyphs(kBarLine).at(0);
  float gap = 1e9f;
  for (PlacingDevice::Glyph const& sign : Glyphs(35))
    if (sign.ink.left > bar.ink.right) gap = std::min(gap, sign.ink.left - bar.ink.right);
  ASSERT_GT(gap, 0);
  ASSERT_LT(gap, 50);

  for (char const* score : {
           "[ \\meter<\"4/4\"> c#2/1 \\repeatBegin c#2/1 \\repeatEnd ]",
           "[ \\meter<\"4/4\"> e&2/2 g2 \\repeatBegin e&2/2 f2 \\repeatEnd ]",
           "[ \\key<\"D\"> \\meter<\"4/4\"> d2/1 \\repeatBegin c2/1 \\repeatEnd ]",
           "[ \\meter<\"4/4\"> c2/1 \\repeatBegin {c#2/2, e2, g#2} f2 \\repeatEnd ]",
           "[ \\meter<\"4/4\"> c2/1 \\repeatEnd \\repeatBegin {f&1/1, a&1} \\repeatEnd ]",
           "{ [ \\staff<1> \\meter<\"4/4\"> c2/1 \\repeatBegin c#2/1 ], [ \\staff<2> "
           "\\clef<\"f4\"> "
           "\\meter<\"4/4\"> c0/1 \\repeatBegin e&0/1 ] }",
       }) {
    SCOPED_TRACE(score);
    Draw(score);
    int signs = 0;
    for (PlacingDevice::Glyph const& repeat : Glyphs(kRepeatBegin)) {
      // The nearest sign on the repeat's right at its height.
      PlacingDevice::Glyph const* next = nullptr;
      for (PlacingDevice::Glyph const& glyph : drawn.glyphs)
        if (EngineTesting::IsAccidental(glyph.code) && glyph.ink.right > repeat.ink.right &&
            glyph.ink.top < repeat.ink.bottom && glyph.ink.bottom > repeat.ink.top &&
            (!next || glyph.ink.left < next->ink.left))
          next = &glyph;
      if (!next || next->ink.left > repeat.ink.right + 100) continue;
      ++signs;
      EXPECT_GE(next->ink.left - repeat.ink.right, gap - 0.5f)
          << "sign " << next->code << " at " << next->ink.left << ", repeat ends at "
          << repeat.ink.right;
    }
    EXPECT_GT(signs, 0);
  }
}

// A bar sign both voices of a staff write at one time is the staff's one sign: its glyphs are
// drawn once, not a second time in the same place, it is listed once, and no bar line of either
// voice (written, or set by the meter) stands before a repeat begin.
TEST_F(SymbolsApart, BarSignsBothVoicesWriteAreDrawnOnce) {
  constexpr unsigned int kRepeatBegin = 93, kBarLine = 139, kRepeatEnd = 125;
  struct Case {
    char const* meter;
    char const* sign;
    unsigned int glyph;
    size_t glyphs;  // of the staff's one sign
  };
  char const* const unbarred = "\\meter<\"4/4\", autoBarlines=\"off\"> ";
  char const* const barred = "\\meter<\"4/4\"> ";
  for (Case const& c : {Case{unbarred, "\\doubleBar", kBarLine, 2},
                        Case{unbarred, "\\repeatBegin", kRepeatBegin, 1},
                        Case{unbarred, "\\bar \\repeatBegin", kRepeatBegin, 1},
                        Case{barred, "\\repeatBegin", kRepeatBegin, 1},
                        Case{unbarred, "\\repeatEnd", kRepeatEnd, 1}}) {
    std::string const meter = c.meter, sign = c.sign;
    std::string const score = "{ [ \\staff<1> \\stemsUp " + meter + "c2/1 " + sign +
                              " d2/1 ], [ \\staff<1> \\stemsDown " + meter + "e1/1 " + sign +
                              " f1/1 ] }";
    SCOPED_TRACE(score);
    Draw(score);
    EXPECT_EQ(Glyphs(c.glyph).size(), c.glyphs);
    size_t listed = 0;
    for (ScoreElementDesc const& bar : Records(kBar)) listed += std::fabs(bar.date - 1) < 1e-4;
    EXPECT_LE(listed, 1u);
    if (c.glyph != kBarLine) {
      EXPECT_TRUE(Glyphs(kBarLine).empty());
    }
  }
}

// Under stems that go down, a tuplet's bracket ends at its last stem, below the beam there.
TEST_F(SymbolsApart, TupletBracketEndsAtItsLastStem) {
  Draw("[ \\meter<\"2/4\"> \\tuplet<\"-6-\">( c2/24 d2 e2 f2 g2 a2 ) h1/8 c2/8 ]");
  ScoreElementDesc const last = Of(kOther, kStem).at(5);
  NVPoint end{-1e9, 0};  // the bracket's right end, the lower end of its hook
  for (PlacingDevice::Segment const& line : drawn.lines)
    for (NVPoint p : {NVPoint{line.x1, line.y1}, NVPoint{line.x2, line.y2}})
      if (line.width == 4 && line.alpha == 255 && (p.x > end.x || (p.x == end.x && p.y > end.y)))
        end = p;
  float const right = end.x, bottom = end.y;
  EXPECT_GE(right, last.right);
  EXPECT_LE(right, last.right + 10);
  EXPECT_GT(bottom, last.bottom + 25);
}

// Triplets in both hands, under the upper staff (its stems go down) and over the lower one: the
// staves stand far enough apart for both numbers and brackets, as they do for dynamics.
TEST_F(SymbolsApart, TupletsInBothHandsTakeTheirRoomBetweenTheStaves) {
  Draw(
      "{ [ \\staff<1> \\meter<\"2/4\"> \\tuplet<\"-3-\">( e2/12 d2 c2 ) g2/4 ], [ \\staff<2> "
      "\\clef<\"f4\"> \\meter<\"2/4\"> \\tuplet<\"-3-\">( c0/12 g0 e0 ) c0/4 ] }");
  Boxes const staves = Records(kOther, 5);  // the lines of each staff, top down
  ASSERT_EQ(staves.size(), 2u);
  // The heights inked between the staves: each number (a line space high over the foot it is
  // drawn at) and each bracket line.
  std::vector<std::pair<float, float>> ink;
  for (PlacingDevice::Text const& text : drawn.texts)
    if (text.text == "3") ink.emplace_back(text.y - 50, text.y);
  for (PlacingDevice::Segment const& line : drawn.lines)
    if (line.width == 4 && std::min(line.y1, line.y2) > staves[0].bottom &&
        std::max(line.y1, line.y2) < staves[1].top)
      ink.emplace_back(std::min(line.y1, line.y2), std::max(line.y1, line.y2));
  ASSERT_EQ(ink.size(), 10u);
  // Two bands with room between them: one tuplet's and the other's.
  std::sort(ink.begin(), ink.end());
  int bands = 1;
  float bottom = ink[0].second;
  for (auto const& [top, foot] : ink) {
    if (top > bottom + 10) ++bands;
    bottom = std::max(bottom, foot);
  }
  EXPECT_EQ(bands, 2);
}

// A stem reaching out of its staff towards the other staff of the system stays clear of that
// staff's heads by a quarter space, or it reads as their stem too: the staves stand apart for
// it. The second text draws its third line with the staves as close as its opening allows.
TEST_F(SymbolsApart, StemsBetweenTheStavesStandClearOfTheOtherStaffsHeads) {
  constexpr unsigned int kFilledHead = 88;
  for (char const* text : {
           "{ [ \\staff<1> \\stemsUp c1/4 ], [ \\staff<2> \\clef<\"bass\"> \\stemsUp g0/4 ] }",
           "{ [ \\staff<1> \\pageFormat<w=7cm, h=17cm, lm=0.5cm, tm=1cm, rm=0.5cm, bm=1cm> "
           "\\key<-6> \\meter<\"3/4\"> \\i<\"sfz\"> \\mord( g&2/4 ) \\tie( a&2/4 \\i<\"mp\"> a&2/4 "
           ") | _/8 h&2/16 a&2/16 \\b<dy=9>( \\turn( {e&2/8, c&2/8} ) e&2/8 ) \\beamBegin {g&1/8, "
           "e&1/8, c&1/8} {h&1/8, g&1/8} \\beamEnd | \\grace( d&1/16 e&1/16 ) f1/4. g&&1/8 a&1/4 | "
           "], [ \\units<\"hs\"> \\instr<\"Piano\"> \\stemsAuto \\staff<2> \\clef<\"f4\"> "
           "\\key<-6> \\meter<\"3/4\"> \\intens<\"f\"> {c0/4, e&0/4, g&0/4} e-1/4 a-1/4 | g&-1/2 "
           "{h&-1/4, d&0/4, f0/4} | \\stacc( {c0/4, e&0/4, g&0/4} ) \\grace( f0/16 c&0/16 ) "
           "{d&0/8, f#0/8, a&0/8} d&&0/8 {e&0/4, g&0/4, h&0/4} \\bar ] }",
       }) {
    SCOPED_TRACE(text);
    Draw(text);
    // The staff a point is nearest to, by the lines of the staves drawn on its page over it.
    auto staffOf = [&](int page, float x, float y) {
      ScoreElementDesc nearest;
      float best = 1e9f;
      for (ScoreElementDesc const& staff : Records(kOther, 5, page)) {
        if (x < staff.left || x > staff.right) continue;
        float const away = std::max({0.f, staff.top - y, y - staff.bottom});
        if (away < best) best = away, nearest = staff;
      }
      return nearest.top;
    };
    for (int page = 1; page <= Pages(); ++page)
      for (ScoreElementDesc const& stem : Records(kOther, kStem, page)) {
        // A stem leaves from the staff its middle is nearest to.
        float const x = (stem.left + stem.right) / 2;
        float const own = staffOf(page, x, (stem.top + stem.bottom) / 2);
        for (PlacingDevice::Glyph const& head : Glyphs(kFilledHead)) {
          // The head's glyph, half a space either way of its line or space; a stem at either
          // edge is its stem.
          NVRect const ink{head.x - 5, head.y - 25, head.x + Width(kFilledHead) + 5, head.y + 25};
          if (head.page != page || staffOf(page, x, head.y) == own) continue;
          EXPECT_FALSE(stem.left < ink.right && ink.left < stem.right &&
                       stem.top < ink.bottom + 12.5f && ink.top - 12.5f < stem.bottom)
              << "stem at " << x << ", " << stem.top << ".." << stem.bottom << " and head at "
              << head.x << ", " << head.y;
        }
      }
  }
}

// The figure of an octava down stands under the music of its staff and keeps a quarter space
// from the staff below and its music, or it reads as that staff's.
TEST_F(SymbolsApart, AnOctavaDownStandsClearOfTheStaffBelow) {
  for (char const* text : {
           "{ [ \\staff<1> \\clef<\"f4\"> \\oct<-1> d0/4 g#-1/4 {f&-1/4, a-1/4, c0/4} ], "
           "[ \\staff<2> \\clef<\"f4\"> e0/4 f0 g0 ] }",
           "{ [ \\staff<1> \\oct<-1> c1/4 a0 f0 ], [ \\staff<2> g2/4 c3 e3 ] }",
       }) {
    SCOPED_TRACE(text);
    Draw(text);
    Boxes const staves = Records(kOther, 5);
    ASSERT_EQ(staves.size(), 2u);
    int figures = 0;
    for (PlacingDevice::Text const& figure : drawn.texts) {
      if (figure.text != "8ba") continue;
      ++figures;
      NVRect const ink = TextInk(figure);
      EXPECT_LT(ink.bottom + 12.5f, staves[1].top);
      ExpectClear(ink.left, ink.top, ink.right, ink.bottom);
    }
    EXPECT_EQ(figures, 1);
  }
}

}  // namespace
