// Marks that belong to notes, drawn on the real music font: articulations, wedges, beams.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <utility>
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

// Where voices share a staff, each voice's articulations stand clear on its stems' side, never
// between the voices; a voice alone keeps them at its heads.
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
        bool const clearOver = ink.bottom + 5 <= top, clearUnder = ink.top >= bottom + 5;
        EXPECT_TRUE(clearOver || clearUnder) << "glyph " << code << " in the music at " << mark.x;
        above += clearOver, below += clearUnder && !clearOver;
      }
    }
    EXPECT_EQ(above, over);
    EXPECT_EQ(below, under);
  }
}

// A voice whose partner on the staff only rests keeps its marks where a voice alone would.
TEST_F(MarksAtTheirNotesTest, AVoiceWhosePartnerOnlyRestsKeepsItsMarksAsAVoiceAlone) {
  // The marks, each by its height over the nearest note's head.
  auto const marks = [this](std::string const& text) {
    Draw(text);
    std::vector<std::pair<unsigned int, int>> found;
    for (unsigned int code : {46, 45, 62}) {  // staccato, tenuto, accent
      for (auto const& mark : Glyphs(code)) {
        float const x = (mark.ink.left + mark.ink.right) / 2;
        ScoreElementDesc nearest{};
        for (auto const& [page, note] : NoteRecords())
          if (std::abs(note.headX - x) < std::abs(nearest.headX - x)) nearest = note;
        found.emplace_back(code, static_cast<int>(std::lround(mark.y - nearest.refY)));
      }
    }
    std::sort(found.begin(), found.end());
    return found;
  };
  struct Case {
    std::string partnerRests, alone;
  };
  for (auto const& [partnerRests, alone] : std::vector<Case>{
           {"{ [ \\staff<1> \\meter<\"4/4\"> \\stacc( c2/4 d2 e2 f2 ) | g2/1 ], [ \\staff<1> "
            "\\meter<\"4/4\"> _/1 | \\stemsDown c2/1 ] }",
            "[ \\meter<\"4/4\"> \\stacc( c2/4 d2 e2 f2 ) | g2/1 ]"},
           {TwoVoices("\\stacc( e2/8 f2 g2 a2 ) \\accent( c2/2 )", "_/2 _/2"),
            "[ \\stemsUp \\stacc( e2/8 f2 g2 a2 ) \\accent( c2/2 ) ]"},
           {TwoVoices("_/2 _/4 _/4", "\\stacc( c2/8 d2 e2 f2 ) \\ten( g1/2 )"),
            "[ \\stemsDown \\stacc( c2/8 d2 e2 f2 ) \\ten( g1/2 ) ]"},
       }) {
    SCOPED_TRACE(partnerRests);
    EXPECT_EQ(marks(partnerRests), marks(alone));
  }
}

// A wedge runs on to short of what follows on its staff and is never shorter than three spaces.
TEST_F(MarksAtTheirNotesTest, AWedgeRunsOnTowardsWhatFollowsAndIsNeverShorterThanThreeSpaces) {
  for (char const* text : {
           "[ \\meter<\"4/4\"> c2/2 \\dim( e2/2 ) | \\cresc( g2/1 ) | \\accent( c2/2 ) \\cresc( "
           "e2/4 f2 ) | g2/1 ]",
           "{ [ \\staff<1> \\meter<\"4/4\"> \\cresc( c2/8 ) d2 \\dim( e2/16 ) f2 g2 a2 \\cresc( "
           "h2/4 ) \\intens<\"f\"> c3/4 c3/4 ], [ \\staff<2> \\clef<\"bass\"> \\meter<\"4/4\"> "
           "\\dim( c0/2 ) e0/8 f0 \\cresc( g0/4 ) ] }",
           "[ \\pageFormat<w=9cm, h=20cm, lm=1cm, tm=1cm, rm=1cm, bm=1cm> \\meter<\"2/4\"> "
           "\\cresc( c2/16 ) d2 e2 f2 \\dim( g2/16 ) a2 h2 c3 | \\cresc( {c2/4, e2} ) d2 ]",
       }) {
    SCOPED_TRACE(text);
    Draw(text);
    // Wedge legs: the heaviest pen.
    std::vector<EngineTesting::PlacingDevice::Segment> legs;
    for (auto const& line : drawn.lines)
      if (line.width == 6) legs.push_back(line);
    ASSERT_TRUE(!legs.empty() && legs.size() % 2 == 0);
    for (size_t i = 0; i < legs.size(); i += 2) {
      float const left = std::min(legs[i].x1, legs[i].x2);
      float const right = std::max(legs[i].x2, legs[i + 1].x2);
      SCOPED_TRACE(left);
      EXPECT_GE(right - left, 3 * kSpace - 1);
      ScoreElementDesc staff{};
      for (auto const& s : Records(2, 5))
        if (s.bottom < legs[i].y1 && s.bottom > staff.bottom) staff = s;
      std::vector<ScoreElementDesc> things = Records(3, 0);
      for (auto const& [page, note] : NoteRecords()) things.push_back(note);
      float next = staff.right;
      for (auto const& thing : things) {
        if (StaffAt(thing.top, thing.bottom).top != staff.top) continue;
        EXPECT_FALSE(thing.left < right && right < thing.right) << "ends in " << thing.left;
        if (thing.left >= right) next = std::min(next, thing.left);
      }
      EXPECT_LE(next - right, kSpace) << "stops short of what begins at " << next;
    }
  }
}

// Whether a beam, drawn as a polygon with its left corners first, puts ink on a box: the box of a
// head, or of a stem (widened by a unit) that reaches the beam.
bool Crosses(EngineTesting::PlacingDevice::Shape const& beam, NVRect const& box) {
  float const from = std::max(beam.xs[0], box.left), to = std::min(beam.xs[3], box.right);
  if (beam.xs[3] <= beam.xs[0] || from > to) return false;
  auto const at = [&](int a, int b, float x) {
    return beam.ys[a] + (beam.ys[b] - beam.ys[a]) * (x - beam.xs[a]) / (beam.xs[b] - beam.xs[a]);
  };
  bool over = true, under = true;
  for (float const x : {from, to}) {
    over = over && std::max(at(0, 3, x), at(1, 2, x)) <= box.top + 1;
    under = under && std::min(at(0, 3, x), at(1, 2, x)) >= box.bottom - 1;
  }
  return !over && !under;
}

// Stems always reach a beam with a written offset, and every level of it hangs on a stem and
// none runs into the heads; a length that would take them there leaves the automatic beams'
// shortest stem, and one that would run the levels through a ledger line moves them past it. A
// piece cut by a line break runs level, on its notes' side.
TEST_F(MarksAtTheirNotesTest, StemsReachTheirBeamAndABeamNeverRunsIntoTheHeads) {
  for (auto const& [text, shortest] : std::vector<std::pair<std::string, float>>{
           {"[ \\beam<dy=-10>( c2/8 d2 ) \\beam<dy=-3>( c1/8 d1 ) \\beam<dy=1>( e1/8 f1 ) ]", 3.5f},
           {"[ \\beam<dy=3>( c1/8 g1 d1 ) \\stemsDown \\beam<dy=-2>( g1/16 a1 h1 c2 ) ]", 3.5f},
           {"[ \\beam<dy=-4>( {c2/8, e2} {d2, f2} ) ]", 3.5f},
           {"[ \\beam<dy=3>( c1/8 d1 ) ]", 1.5f},
           {"[ \\meter<\"2/4\"> \\beam<dy=2>( c2/16 d2 ) \\beam<dy=3>( c2/16 d2 ) "
            "\\beam<dy=2>( f1/16 g1 ) _/8 ]",
            3.5f},
           {"[ \\meter<\"2/4\"> \\beam<dy=4>( d2/16 f2 a2 f2 d2 f2 a2 f2 ) ]", 3.5f},
           {"[ \\beam<dy=5>( c2/32 c2 c2 c2 ) ]", 2.5f},
           {"[ \\beam<dy1=4, dy2=-6>( c2/8 e2 ) ]", 2},
           // The second piece passes its levels clear of the ledger line under e3.
           {"[ \\beam<dy=3>( c3/16 d3 \\newLine e3 f3 ) ]", 3.44f},
           {"[ \\beam( c3/16 d3 \\newLine e3 f3 ) ]", 4},
           {"{ [ \\staff<1> \\beam<dy=-10>( c2/8 d2 ) ], [ \\staff<2> \\clef<\"bass\"> "
            "\\beam<dy=-3>( g0/8 a0 ) ] }",
            3.5f},
       }) {
    SCOPED_TRACE(text);
    Draw(text);
    auto const beams = Records(2, 14);
    float least = 1e9f;
    for (auto const& stem : Records(2, 10)) {
      float highest = 1e9f, lowest = -1e9f;  // of the heads on the stem
      for (auto const& head : Glyphs(88))
        if (head.ink.left <= stem.right + 2 && head.ink.right >= stem.left - 2 &&
            head.y > stem.top - 1 && head.y < stem.bottom + 1)
          highest = std::min(highest, head.y), lowest = std::max(lowest, head.y);
      ASSERT_LT(highest, 1e9f) << "a stem without a head at " << stem.left;
      bool const down = stem.bottom > lowest + 1;
      float const end = down ? stem.bottom : stem.top, x = (stem.left + stem.right) / 2;
      least = std::min(least, down ? end - lowest : highest - end);
      EXPECT_TRUE(std::any_of(beams.begin(), beams.end(),
                              [&](auto const& beam) {
                                return x >= beam.left - 10 && x <= beam.right + 10 &&
                                       end >= beam.top - 0.5f && end <= beam.bottom + 0.5f;
                              }))
          << "the stem at " << stem.left << " does not reach its beam";
    }
    EXPECT_NEAR(least, shortest * kSpace, 1);
    for (auto const& beam : drawn.shapes) {
      if (beam.xs.size() != 4) continue;
      for (auto const& head : Glyphs(88))
        EXPECT_FALSE(Crosses(beam, head.ink)) << "a beam through the head at " << head.x;
      auto const stems = Records(2, 10, beam.page);
      EXPECT_TRUE(std::any_of(
          stems.begin(), stems.end(),
          [&](auto const& stem) {
            return Crosses(beam, NVRect{stem.left - 1, stem.top, stem.right + 1, stem.bottom});
          }))
          << "a beam no stem reaches at " << beam.xs[0];
    }
  }
}

// A mark on the stem's side of a beamed note keeps clear of a steep beam, which over the head,
// where the mark stands, lies further from the head than where it meets the stem: over stems up
// and under stems down, falling and rising, a chord's mark and a fermata's.
TEST_F(MarksAtTheirNotesTest, AMarkOnTheStemsSideKeepsClearOfASteepBeam) {
  for (std::string const& text : {
           TwoVoices(
               "\\meter<\"2/4\"> \\stacc( \\beam<dy=8>( c2/8 g1/8 ) \\beam<dy=8>( d2/8 e1/8 ) )",
               "\\meter<\"2/4\"> f1/2"),
           TwoVoices(
               "\\meter<\"2/4\"> \\ten( \\beam<dy=8>( g1/8 d2/8 ) \\beam<dy=7>( e1/8 c2/8 ) )",
               "\\meter<\"2/4\"> d1/2"),
           TwoVoices(
               "\\meter<\"2/4\"> h1/2",
               "\\meter<\"2/4\"> \\stacc( \\beam<dy=-8>( c1/8 g1/8 ) \\beam<dy=-8>( a1/8 d1/8 ) )"),
           TwoVoices("\\meter<\"2/4\"> \\stacc( \\beam<dy=8>( {c2/8, e2} {f1/8, a1} ) ) g1/4",
                     "\\meter<\"2/4\"> d1/2"),
           std::string(
               "[ \\meter<\"2/4\"> \\stemsUp \\fermata( \\beam<dy=8>( c2/8 g1/8 ) ) g1/4 ]"),
       }) {
    SCOPED_TRACE(text);
    Draw(text);
    int marks = 0;
    // staccato, tenuto, accent, marcatos, fermatas
    for (unsigned int code : {46, 45, 62, 94, 118, 85, 117}) {
      for (auto const& mark : Glyphs(code)) {
        ++marks;
        NVRect const& ink = mark.ink;
        for (auto const& beam : drawn.shapes) {
          if (beam.xs.size() != 4) continue;
          EXPECT_FALSE(Crosses(beam, NVRect{ink.left, ink.top - 5, ink.right, ink.bottom + 5}))
              << "glyph " << code << " on the beam at " << mark.x;
        }
      }
    }
    EXPECT_GT(marks, 0);
  }
}

// A tempo mark starts at the note it was written before, on that note's line: inside a measure,
// after a bar line, at the first measure of a line the line breaker or a written break starts,
// and over a note of the lower staff.
TEST_F(MarksAtTheirNotesTest, ATempoMarkStandsOverTheNoteItWasWrittenAt) {
  for (auto const& [text, date] : std::vector<std::pair<std::string, float>>{
           {"[ c1/4 d \\tempo<\"Vivo\"> e f ]", 0.5f},
           {"[ \\meter<\"4/4\"> c d e f \\tempo<\"Vivo\"> g a h c2 ]", 1},
           {"[ \\meter<\"4/4\"> c d e f g a h c2 c d e f \\tempo<\"Vivo\"> g a h c2 c d e f g a h "
            "c2 ]",
            3},
           {"[ c1/4 d \\newSystem \\tempo<\"Vivo\"> e f ]", 0.5f},
           {"{ [ c2/2 d2 ], [ \\clef<\"bass\"> c0/4 \\tempo<\"Vivo\"> d0 e0/2 ] }", 0.25f},
       }) {
    SCOPED_TRACE(text);
    Draw(text);
    auto const marks = Texts("Vivo");
    ASSERT_EQ(marks.size(), 1u);
    auto const lines = DrawnLines();
    int at = 0;
    for (auto const& note : lines.at(LineAt(marks[0].y, true)).notes) {
      if (std::abs(note.date - date) > 1e-4f) continue;
      ++at;
      EXPECT_NEAR(marks[0].x, note.refX, 5);
    }
    EXPECT_EQ(at, 1) << "notes written at the mark on its line";
  }
}

}  // namespace
