// Short scores laid out with the music font's real metrics and drawn: where bar lines, staff
// lines, clefs, dynamics, voltas, beams, ties and tuplet brackets land on the page.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "GObject.h"
#include "drawn_score.h"

namespace {

using EngineTesting::PlacingDevice;
using Boxes = std::vector<ScoreElementDesc>;

constexpr unsigned int kBarGlyph = 139, kTrebleClef = 38, kSharp = 35, kForte = 102, kPiano = 112;
constexpr int kNote = 1, kOther = 2, kBar = 3, kSystem = 7;
constexpr int kStem = 10, kClef = 13, kBeam = 14, kStaffLines = 5, kTie = 17;

// Two staves on A4 that break after the crescendo, with an "f" over a chord of the lower staff
// whose top note stands above it.
constexpr char kTwoStaves[] =
    "{ [ \\meter<\"3/4\"> \\key<\"G\"> \\slur( d1/4 e f# ) g/2 \\tie( a/4 a/4 ) h/8 c2 d e "
    "\\repeatEnd \\crescBegin c/4 d e \\crescEnd \\intens<\"f\"> f#/2. g1/8 a h c2/4 d e d c "
    "h1/4 a g g/2. ], [ \\staff<2> \\clef<\"f\"> \\meter<\"3/4\"> \\key<\"G\"> g0/2. {c0/4,e,g} "
    "_/4 _ d0/2. g-1/2. {g-1/2,d0,h0} _/4 a-1/2. d0/2. g0/2. g-1/2. ] }";

bool Inside(NVPoint const& p, ScoreElementDesc const& box) {
  return p.x >= box.left && p.x <= box.right && p.y >= box.top && p.y <= box.bottom;
}

bool Crosses(PlacingDevice::Segment const& s, ScoreElementDesc const& box) {
  for (float t = 0; t <= 1; t += 0.01f)
    if (Inside(NVPoint{s.x1 + t * (s.x2 - s.x1), s.y1 + t * (s.y2 - s.y1)}, box)) return true;
  return false;
}

class DrawnScore : public EngineTesting::DrawnScore {
 protected:
  // The records of a kind, and of a subtype when one is given, on the page, left to right.
  Boxes Of(int kind, int subtype = -1, int page = 1) const {
    return LeftToRight(Records(kind, subtype, page));
  }
  // The x of the bar line at the date, -1 when there is none.
  float BarAt(float date) const {
    for (ScoreElementDesc const& record : Records(kBar))
      if (std::fabs(record.date - date) < 1e-4) return record.left;
    return -1;
  }
};

TEST_F(DrawnScore, BarLinesStandWhereTheMeasureEnds) {
  // A full measure keeps its bar line when a new meter follows.
  Draw("[ \\meter<\"4/4\"> c1 d e f \\meter<\"3/4\"> g a h ]");
  ASSERT_EQ(Glyphs('3').size(), 1u);
  EXPECT_GT(BarAt(1), Of(kNote)[3].right);
  EXPECT_LT(BarAt(1), Glyphs('3')[0].x);

  // A key or a dynamic that opens a measure comes after its bar line.
  Draw("[ \\meter<\"3/4\"> c1/4 d e f g a h c2 d \\key<\"D\"> e f g ]");
  EXPECT_GT(BarAt(2.25f), 0);
  EXPECT_LT(BarAt(2.25f), Glyphs(kSharp)[0].x);
  Draw("[ \\meter<\"3/4\"> c1/4 d e \\intens<\"f\"> f/2. ]");
  EXPECT_LT(BarAt(0.75f), Glyphs(kForte)[0].x);

  // Where the line breaks at that bar, the dynamic goes to the next line with its note.
  Draw(kTwoStaves);
  ASSERT_EQ(Of(kSystem).size(), 2u);
  PlacingDevice::Glyph const forte = Glyphs(kForte).at(0);
  EXPECT_TRUE(Inside(NVPoint{forte.x, forte.y - 1}, Of(kSystem)[1]));

  // A clef change stays in front of the bar line, as engraved.
  Draw("[ \\meter<\"2/4\"> c1/4 d \\clef<\"f\"> e f ]");
  EXPECT_GT(BarAt(0.5f), Of(kOther, kClef).at(1).right);
}

TEST_F(DrawnScore, StaffLinesCloseOnlyWhereTheSystemBegins) {
  Draw("[ c1/4 d e f \\bar g a h c2 ]");
  std::vector<float> closing;
  for (PlacingDevice::Segment const& line : drawn.lines)
    if (line.alpha == 122 && line.x1 == line.x2) closing.push_back(line.x1);
  // One piece between each two lines.
  EXPECT_EQ(closing, std::vector<float>(4, Of(kSystem)[0].left));
}

// The room between a clef and the next note is the same at a line's start and at a change.
TEST_F(DrawnScore, AClefChangeKeepsTheRoomOfALineStart) {
  Draw("[ \\clef<\"g2+8\"> c2 d e f \\clef<\"g2-8\"> c1 d e f ]");
  Boxes const notes = Of(kNote);
  std::vector<PlacingDevice::Glyph> const clefs = Glyphs(kTrebleClef);
  ASSERT_EQ(clefs.size(), 2u);
  float const width = GObject::GetSymbolExtent(kTrebleClef);
  EXPECT_NEAR(notes.at(4).left - clefs[1].x, notes.at(0).left - clefs[0].x, 10);
  EXPECT_GT(notes.at(4).left - clefs[1].x - width, 50);
}

TEST_F(DrawnScore, AStaffFormatHoldsUntilTheNextOne) {
  // A size of 0.8 half spaces, 20 units, gives line spaces of 40.
  for (auto [format, height] :
       {std::pair{"\\staffFormat<\"3-line\">", 100}, {"\\staffFormat<size=0.8hs>", 160}}) {
    SCOPED_TRACE(format);
    Draw(std::string("[ \\meter<\"4/4\"> c2/4 d e f | ") + format +
         " c2/4 d e f | g a h c3 \\newSystem c3/1 | c3/1 ]");
    Boxes const staves = Records(kOther, kStaffLines);
    ASSERT_GE(staves.size(), 4u);
    EXPECT_NEAR(staves[0].bottom - staves[0].top, 200, 0.01);
    for (size_t i = 1; i < staves.size(); ++i)
      EXPECT_NEAR(staves[i].bottom - staves[i].top, height, 0.01) << "staff " << i;
  }
}

// "sf", "ffff", "ppp", "pppp" and "sfz" draw glyphs of their own, none of them a flag's.
TEST_F(DrawnScore, DynamicMarksDrawTheirOwnGlyphs) {
  Draw(
      "[ \\intens<\"sf\"> g1/4 \\intens<\"ffff\"> g \\intens<\"ppp\"> g \\intens<\"pppp\"> g "
      "\\intens<\"sfz\"> g ]");
  float const staffBottom = Of(kOther, kStaffLines)[0].bottom;
  std::vector<unsigned int> under;
  for (PlacingDevice::Glyph const& glyph : drawn.glyphs)
    if (glyph.y > staffBottom + 50) under.push_back(glyph.code);
  EXPECT_EQ(under, (std::vector<unsigned int>{243, 242, 240, 241, 244}));
}

// Two bar lines where a double bar stands, and no bar record for it.
TEST_F(DrawnScore, DoubleBarDrawsTwoBarLines) {
  Draw("[ c1/4 d e f \\doubleBar g a h c2 ]");
  Boxes const notes = Of(kNote);
  std::vector<float> between;
  for (PlacingDevice::Glyph const& bar : Glyphs(kBarGlyph))
    if (bar.x > notes[3].right && bar.x < notes[4].left) between.push_back(bar.x);
  ASSERT_EQ(between.size(), 2u);
  EXPECT_FLOAT_EQ(between[1] - between[0], 20);
  EXPECT_EQ(BarAt(1), -1);
}

// On the next line a volta's bracket ends 12.5 before the bar after its last note (at 5/1), as
// it does on one line.
TEST_F(DrawnScore, BrokenVoltaEndsBeforeTheBarAfterItsLastNote) {
  Draw(
      "[ \\meter<\"4/4\"> c1/4 d e f | \\volta<\"1.\",\"1\">( g a h c2 | c2 h1 a g \\newSystem g a "
      "h c2 | d2 e f g ) | c2/1 ]");
  float const firstBottom = Of(kSystem)[0].bottom;
  std::vector<float> ends;
  for (PlacingDevice::Segment const& line : drawn.lines)
    if (line.alpha == 255 && line.y1 == line.y2 && line.x1 != line.x2 && line.y1 > firstBottom)
      ends.push_back(std::max(line.x1, line.x2));
  float const barLeft = BarAt(5) - 0.5f * GObject::GetSymbolExtent(kBarGlyph);
  ASSERT_EQ(ends.size(), 1u);
  EXPECT_NEAR(ends[0], barLeft - 12.5f, 0.01);
}

// A page or system break before the first event makes no page or line of its own.
TEST_F(DrawnScore, ABreakBeforeTheMusicIsIgnored) {
  Draw("[ \\newPage c1/4 d e f | g a h c2 \\newPage c/1 ]");
  ASSERT_EQ(Pages(), 2);
  EXPECT_EQ(Of(kNote, -1, 1).size(), 8u);
  EXPECT_EQ(Of(kNote, -1, 2).size(), 1u);
  Draw("[ \\newSystem c1/4 d e f ]");
  ASSERT_EQ(Pages(), 1);
  EXPECT_EQ(Of(kSystem).size(), 1u);
}

// A beam across two staves lies between them, no steeper than on one staff and within its
// system, also over a bar line; the upper staff's stems reach down to it, the lower staff's up.
TEST_F(DrawnScore, BeamAcrossStavesLiesBetweenThem) {
  for (char const* beamed : {"\\beam( c0/8 \\staff<1> e1/8 \\staff<2> g0/8 \\staff<1> c2/8 ) |",
                             "c0/4 \\beam( c0/8 \\staff<1> e1/8 | g1/8 \\staff<2> e0/8 )"}) {
    SCOPED_TRACE(beamed);
    Draw(std::string("{ [ \\staff<1> \\clef<\"treble\"> \\meter<\"2/4\"> _/2 | _/2 ], [ "
                     "\\staff<2> \\clef<\"bass\"> \\meter<\"2/4\"> ") +
         beamed + " \\staff<2> c0/4 ] }");
    float upperBottom = 1e9, lowerTop = -1e9;
    for (ScoreElementDesc const& staff : Of(kOther, kStaffLines)) {
      upperBottom = std::min(upperBottom, staff.bottom);
      lowerTop = std::max(lowerTop, staff.top);
    }
    ScoreElementDesc const beam = Of(kOther, kBeam).at(0);
    EXPECT_GT(beam.top, upperBottom);
    EXPECT_LT(beam.bottom, lowerTop);
    EXPECT_LT(beam.right, Of(kSystem)[0].right);
    auto main = std::find_if(drawn.shapes.begin(), drawn.shapes.end(), [&](auto const& shape) {
      return shape.xs.size() == 4 && Inside(NVPoint{shape.xs[0], shape.ys[0]}, beam);
    });
    ASSERT_NE(main, drawn.shapes.end());
    EXPECT_LE(std::fabs((main->ys[3] - main->ys[0]) / (main->xs[3] - main->xs[0])), 0.1f + 1e-4f);

    int reaching = 0;
    for (ScoreElementDesc const& note : Of(kNote, 10)) {
      for (ScoreElementDesc const& stem : Of(kOther, kStem)) {
        if (note.right < beam.left || note.left > beam.right || stem.right < note.left - 1 ||
            stem.left > note.right + 1)
          continue;
        bool const above = note.bottom < beam.top;
        EXPECT_TRUE(above ? stem.bottom >= beam.top : stem.top <= beam.bottom) << note.left;
        ++reaching;
      }
    }
    EXPECT_EQ(reaching, 4);
  }
}

// A note cut into several drawn values is tied piece to piece.
TEST_F(DrawnScore, EveryPieceOfACutNoteIsTiedToTheNext) {
  for (auto [text, pieces] : {std::pair{"[ c*13/16 ]", 3}, {"[ c*29/32 ]", 4}, {"[ c*5/8 ]", 2}}) {
    SCOPED_TRACE(text);
    Draw(text);
    Boxes const notes = Of(kNote, 10);
    Boxes const ties = Of(kOther, kTie);
    ASSERT_EQ(notes.size(), size_t(pieces));
    ASSERT_EQ(ties.size(), size_t(pieces - 1));
    for (size_t i = 0; i < ties.size(); ++i)
      EXPECT_TRUE(ties[i].left >= notes[i].left && ties[i].right <= notes[i + 1].right) << i;
  }
}

// A wedge or a dynamic under a staff stands below the staff's notes and above the next staff,
// a quarter space clear of its lines and of every note: the staves move apart to make room. The
// dynamic glyphs reach 95 units above their base line and 35 below it.
TEST_F(DrawnScore, MarksUnderAStaffStandBetweenItsNotesAndTheNextStaff) {
  for (char const* text :
       {kTwoStaves,
        // Low notes of the upper staff, with ledger lines.
        "{ [ \\clef<\"g\"> \\meter<\"2/4\"> \\intens<\"p\"> a0/4 \\crescBegin g0/8 a0 \\crescEnd "
        "], "
        "[ \\staff<2> \\clef<\"f\"> \\meter<\"2/4\"> e1/4 \\intens<\"f\"> {g0/4, h0, d1} ] }",
        // A wedge over a line break, over bars and notes high above the lower staff, and a
        // dynamic under a chord.
        "{ [ \\meter<\"4/4\"> \\crescBegin c2/4 d e f | g a h c3 \\newSystem c2/4 d e f \\crescEnd "
        "| "
        "\\intens<\"f\"> {c1/2, e1, g1} g0/2 ], [ \\staff<2> \\clef<\"f\"> \\meter<\"4/4\"> c1/1 | "
        "e1/1 | {c1/1, e1} | c1/1 ] }"}) {
    SCOPED_TRACE(text);
    Draw(text);
    Boxes const staves = Records(kOther, kStaffLines);
    Boxes const notes = Records(kNote);
    auto expectClear = [&](float left, float top, float right, float bottom) {
      SCOPED_TRACE(testing::Message()
                   << "mark " << left << ", " << top << " - " << right << ", " << bottom);
      float above = -1e9, below = 1e9;
      for (ScoreElementDesc const& staff : staves) {
        if (right < staff.left || left > staff.right) continue;
        if (staff.bottom < top) above = std::max(above, staff.bottom);
        if (staff.top > top) below = std::min(below, staff.top);
      }
      EXPECT_GT(top, above);
      EXPECT_LE(bottom + 12.5f, below);
      for (ScoreElementDesc const& note : notes)
        EXPECT_FALSE(note.right > left && note.left < right && note.bottom + 12.5f > top &&
                     note.top - 12.5f < bottom)
            << "meets the note at " << note.left << ", " << note.top;
    };
    int wedges = 0, dynamics = 0;
    for (PlacingDevice::Segment const& leg : drawn.lines) {
      if (leg.width != 6) continue;
      ++wedges;
      expectClear(std::min(leg.x1, leg.x2), std::min(leg.y1, leg.y2), std::max(leg.x1, leg.x2),
                  std::max(leg.y1, leg.y2));
    }
    for (PlacingDevice::Glyph const& glyph : drawn.glyphs) {
      if (glyph.code != kForte && glyph.code != kPiano) continue;
      ++dynamics;
      expectClear(glyph.x, glyph.y - 95, glyph.x + GObject::GetSymbolExtent(glyph.code),
                  glyph.y + 35);
    }
    EXPECT_GE(wedges, 2);
    EXPECT_GE(dynamics, 1);
  }
}

// A tuplet's bracket keeps clear of the notes, stems and beams on its side.
TEST_F(DrawnScore, TupletBracketsClearTheirNotesStemsAndBeams) {
  Draw(
      "[ \\meter<\"4/4\"> c1/4 d e f | g a h c2 | d2/2 c2 | h1/2 a | \\tuplet<\"-3-\">( g1/8 a h ) "
      "\\tuplet<\"-3-\">( c2/8 d e ) f/2 ]");
  Boxes obstacles = Of(kNote);
  for (int subtype : {kStem, kBeam})
    for (ScoreElementDesc const& element : Of(kOther, subtype)) obstacles.push_back(element);
  int brackets = 0;
  for (PlacingDevice::Segment const& line : drawn.lines) {
    if (line.width != 4 || line.alpha != 255 || (line.x1 == line.x2 && line.y1 == line.y2))
      continue;
    ++brackets;
    for (ScoreElementDesc const& obstacle : obstacles)
      EXPECT_FALSE(Crosses(line, obstacle)) << line.x1 << "," << line.y1 << " " << obstacle.left;
  }
  EXPECT_EQ(brackets, 8);  // two halves and two hooks each
}

}  // namespace
