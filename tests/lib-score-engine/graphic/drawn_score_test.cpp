// Short scores laid out with the music font's real metrics and drawn: where bar lines, staff
// lines, clefs, dynamics, voltas, beams, ties and tuplet brackets land on the page.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <optional>

#include "GObject.h"
#include "drawn_page.h"

namespace {

using EngineTesting::DrawnPageFixture;
using EngineTesting::PageDevice;
using Records = std::vector<CScoreElement>;

constexpr unsigned int kBarGlyph = 139;
constexpr unsigned int kTrebleClef = 38;
constexpr unsigned int kSharp = 35;
constexpr unsigned int kForte = 102;
constexpr int kNote = 1, kOther = 2, kBar = 3, kSystem = 7;
constexpr int kStem = 10, kClef = 13, kBeam = 14, kStaffLines = 5, kTie = 17;

bool Inside(NVPoint const& p, CScoreElement const& box) {
  return p.x >= box.left && p.x <= box.right && p.y >= box.top && p.y <= box.bottom;
}

// True when some point of the segment lies in the box.
bool Crosses(PageDevice::Segment const& s, CScoreElement const& box) {
  for (int i = 0; i <= 100; ++i) {
    float const t = i / 100.0f;
    if (Inside(NVPoint{s.x1 + t * (s.x2 - s.x1), s.y1 + t * (s.y2 - s.y1)}, box)) return true;
  }
  return false;
}

// The records of a kind and subtype in the order they were drawn.
Records InOrder(Records const& records, int kind, int subtype) {
  Records found;
  for (CScoreElement const& record : records)
    if (record.kind == kind && record.subtype == subtype) found.push_back(record);
  return found;
}

std::optional<CScoreElement> AtDate(Records const& records, float date) {
  for (CScoreElement const& record : records)
    if (std::fabs(record.date - date) < 1e-4) return record;
  return std::nullopt;
}

class DrawnScore : public DrawnPageFixture {};

TEST_F(DrawnScore, BarLinesStandWhereTheMeasureEnds) {
  // A new meter after a full measure: the bar line stands between the measure and the meter.
  LayOut("[ \\meter<\"4/4\"> c1 d e f \\meter<\"3/4\"> g a h ]");
  Records records = Draw();
  std::optional<CScoreElement> bar = AtDate(Of(records, kBar), 1);
  ASSERT_TRUE(bar) << "no bar line at the meter change";
  std::vector<PageDevice::Symbol> const three = SymbolsOf('3');
  ASSERT_EQ(three.size(), 1u);
  EXPECT_GT(bar->left, Of(records, kNote)[3].right);
  EXPECT_LT(bar->left, three[0].x);

  // A key change that opens a measure comes after its bar line.
  LayOut("[ \\meter<\"3/4\"> c1/4 d e f g a h c2 d \\key<\"D\"> e f g ]");
  records = Draw();
  bar = AtDate(Of(records, kBar), 2.25f);
  ASSERT_TRUE(bar);
  ASSERT_EQ(SymbolsOf(kSharp).size(), 2u);
  EXPECT_LT(bar->left, SymbolsOf(kSharp)[0].x);

  // A dynamic that opens a measure stands after its bar line, under its note.
  LayOut(
      "[ \\meter<\"3/4\"> d1/4 e f g/2 a/4 a h/8 c2 d e c/4 d e c d e c d e \\intens<\"f\"> "
      "f/2. g1/4 a h c2 d e ]");
  records = Draw();
  bar = AtDate(Of(records, kBar), 3.75f);
  ASSERT_TRUE(bar);
  ASSERT_EQ(SymbolsOf(kForte).size(), 1u);
  EXPECT_GT(SymbolsOf(kForte)[0].x, bar->left);

  // Where the line breaks at that bar, the dynamic goes to the next line with its note.
  LayOut(
      "{ [ \\meter<\"3/4\"> \\key<\"G\"> \\slur( d1/4 e f# ) g/2 \\tie( a/4 a/4 ) h/8 c2 d e "
      "\\repeatEnd \\crescBegin c/4 d e \\crescEnd \\intens<\"f\"> f#/2. g1/8 a h c2/4 d e d c "
      "h1/4 a g g/2. ], [ \\staff<2> \\clef<\"f\"> \\meter<\"3/4\"> \\key<\"G\"> g0/2. {c0/4,e,g} "
      "_/4 _ d0/2. g-1/2. {g-1/2,d0,h0} _/4 a-1/2. d0/2. g0/2. g-1/2. ] }");
  records = Draw();
  Records const systems = Of(records, kSystem);
  ASSERT_EQ(systems.size(), 2u);
  ASSERT_EQ(SymbolsOf(kForte).size(), 1u);
  PageDevice::Symbol const forte = SymbolsOf(kForte)[0];
  EXPECT_TRUE(Inside(NVPoint{forte.x, forte.y - 1}, systems[1])) << forte.x << "," << forte.y;

  // A clef change stays in front of the bar line, as engraved.
  LayOut("[ \\meter<\"2/4\"> c1/4 d \\clef<\"f\"> e f ]");
  records = Draw();
  bar = AtDate(Of(records, kBar), 0.5f);
  ASSERT_TRUE(bar);
  Records const clefs = Of(records, kOther, kClef);
  ASSERT_EQ(clefs.size(), 2u);
  EXPECT_GT(bar->left, clefs[1].right);
}

// Staff lines close with a vertical line only at a system's start, not where a later slice's
// staff begins at a note.
TEST_F(DrawnScore, StaffLinesCloseOnlyWhereTheSystemBegins) {
  LayOut("[ c1/4 d e f \\bar g a h c2 ]");
  Records const records = Draw();
  std::vector<PageDevice::Segment> vertical;
  for (PageDevice::Segment const& line : pageDevice.lines)
    if (line.alpha == 122 && line.x1 == line.x2) vertical.push_back(line);
  ASSERT_EQ(vertical.size(), 1u);
  EXPECT_FLOAT_EQ(vertical[0].x1, Of(records, kSystem)[0].left);
  EXPECT_LT(vertical[0].x1, Of(records, kNote)[0].left);
}

// The room between a clef and the next note is the same at a line's start and at a change.
TEST_F(DrawnScore, AClefChangeKeepsTheRoomOfALineStart) {
  LayOut("[ \\clef<\"g2+8\"> c2 d e f \\clef<\"g2-8\"> c1 d e f ]");
  Records const records = Draw();
  std::vector<PageDevice::Symbol> const clefs = SymbolsOf(kTrebleClef);
  Records const notes = Of(records, kNote);
  ASSERT_EQ(clefs.size(), 2u);
  ASSERT_EQ(notes.size(), 8u);
  float const width = GObject::GetSymbolExtent(kTrebleClef);
  float const atStart = notes[0].left - (clefs[0].x + width);
  float const atChange = notes[4].left - (clefs[1].x + width);
  EXPECT_GT(atChange, 50);
  EXPECT_NEAR(atChange, atStart, 10);
}

// A staff format holds for the staves after it, on the same line and on the next ones.
TEST_F(DrawnScore, AStaffFormatHoldsUntilTheNextOne) {
  // A size of 0.8 half spaces, 20 units, gives line spaces of 40.
  struct Case {
    char const* format;
    float height;
  } const cases[] = {{"\\staffFormat<\"3-line\">", 100}, {"\\staffFormat<size=0.8hs>", 160}};
  for (Case const& c : cases) {
    SCOPED_TRACE(c.format);
    LayOut(std::string("[ \\meter<\"4/4\"> c2/4 d e f | ") + c.format +
           " c2/4 d e f | g a h c3 \\newSystem c3/1 | c3/1 ]");
    Records const staves = InOrder(Draw(), kOther, kStaffLines);
    ASSERT_GE(staves.size(), 4u);
    EXPECT_NEAR(staves[0].bottom - staves[0].top, 200, 0.01);
    for (size_t i = 1; i < staves.size(); ++i)
      EXPECT_NEAR(staves[i].bottom - staves[i].top, c.height, 0.01) << "staff " << i;
  }
}

// "sf", "ffff", "ppp", "pppp" and "sfz" draw glyphs of their own, none of them a flag's.
TEST_F(DrawnScore, DynamicMarksDrawTheirOwnGlyphs) {
  LayOut(
      "[ \\intens<\"sf\"> g1/4 \\intens<\"ffff\"> g \\intens<\"ppp\"> g \\intens<\"pppp\"> g "
      "\\intens<\"sfz\"> g ]");
  float const staffBottom = Of(Draw(), kOther, kStaffLines)[0].bottom;
  std::vector<unsigned int> drawn;
  for (PageDevice::Symbol const& symbol : pageDevice.symbols)
    if (symbol.y > staffBottom + 50) drawn.push_back(symbol.glyph);
  EXPECT_EQ(drawn, (std::vector<unsigned int>{243, 242, 240, 241, 244}));
  // Each is as wide as its letters.
  float const p = GObject::GetSymbolExtent(112);
  EXPECT_GT(GObject::GetSymbolExtent(240), 2 * p);
  EXPECT_GT(GObject::GetSymbolExtent(241), GObject::GetSymbolExtent(240) + 0.5f * p);
  EXPECT_GT(GObject::GetSymbolExtent(242), 2 * GObject::GetSymbolExtent(102));
}

// Two bar lines where a double bar stands, and no bar record for it.
TEST_F(DrawnScore, DoubleBarDrawsTwoBarLines) {
  LayOut("[ c1/4 d e f \\doubleBar g a h c2 ]");
  Records const records = Draw();
  Records const notes = Of(records, kNote);
  std::vector<PageDevice::Symbol> between;
  for (PageDevice::Symbol const& bar : SymbolsOf(kBarGlyph))
    if (bar.x > notes[3].right && bar.x < notes[4].left) between.push_back(bar);
  ASSERT_EQ(between.size(), 2u);
  EXPECT_FLOAT_EQ(between[1].x - between[0].x, 20);
  EXPECT_FALSE(AtDate(Of(records, kBar), 1));
}

// On the next line a volta's bracket ends 12.5 before the bar after its last note (at 5/1), as
// it does on one line.
TEST_F(DrawnScore, BrokenVoltaEndsBeforeTheBarAfterItsLastNote) {
  LayOut(
      "[ \\meter<\"4/4\"> c1/4 d e f | \\volta<\"1.\",\"1\">( g a h c2 | c2 h1 a g \\newSystem g a "
      "h c2 | d2 e f g ) | c2/1 ]");
  Records const records = Draw();
  Records const systems = Of(records, kSystem);
  ASSERT_EQ(systems.size(), 2u);
  std::optional<CScoreElement> bar = AtDate(Of(records, kBar), 5);
  ASSERT_TRUE(bar);
  std::vector<PageDevice::Segment> brackets;
  for (PageDevice::Segment const& line : pageDevice.lines)
    if (line.alpha == 255 && line.y1 == line.y2 && line.x1 != line.x2 &&
        line.y1 > systems[0].bottom)
      brackets.push_back(line);
  ASSERT_EQ(brackets.size(), 1u);
  float const barLeft = bar->left - 0.5f * GObject::GetSymbolExtent(kBarGlyph);
  EXPECT_NEAR(std::max(brackets[0].x1, brackets[0].x2), barLeft - 12.5f, 0.01);
}

// A page or system break before the first event makes no page or line of its own.
TEST_F(DrawnScore, ABreakBeforeTheMusicIsIgnored) {
  LayOut("[ \\newPage c1/4 d e f | g a h c2 \\newPage c/1 ]");
  ASSERT_EQ(Pages(), 2);
  EXPECT_EQ(Of(Draw(1), kNote).size(), 8u);
  EXPECT_EQ(Of(Draw(2), kNote).size(), 1u);

  LayOut("[ \\newSystem c1/4 d e f ]");
  ASSERT_EQ(Pages(), 1);
  Records const records = Draw();
  EXPECT_EQ(Of(records, kSystem).size(), 1u);
  EXPECT_EQ(Of(records, kNote).size(), 4u);
}

// A beam across two staves lies between them, no steeper than on one staff and within its
// system, also over a bar line; the upper staff's stems reach down to it and the lower staff's
// up.
TEST_F(DrawnScore, BeamAcrossStavesLiesBetweenThem) {
  for (char const* text :
       {"{ [ \\staff<1> \\clef<\"treble\"> \\meter<\"2/4\"> _/2 | c2/4 d2 ], [ \\staff<2> "
        "\\clef<\"bass\"> \\meter<\"2/4\"> \\beam( c0/8 \\staff<1> e1/8 \\staff<2> g0/8 \\staff<1> "
        "c2/8 ) | \\staff<2> c0/2 ] }",
        "{ [ \\staff<1> \\clef<\"treble\"> \\meter<\"2/4\"> _/2 | _/2 ], [ \\staff<2> "
        "\\clef<\"bass\"> \\meter<\"2/4\"> c0/4 \\beam( c0/8 \\staff<1> e1/8 | g1/8 \\staff<2> "
        "e0/8 ) c0/4 ] }"}) {
    SCOPED_TRACE(text);
    LayOut(text);
    Records const records = Draw();
    float upperBottom = 1e9, lowerTop = -1e9;
    for (CScoreElement const& staff : Of(records, kOther, kStaffLines)) {
      upperBottom = std::min(upperBottom, staff.bottom);
      lowerTop = std::max(lowerTop, staff.top);
    }
    Records const beams = Of(records, kOther, kBeam);
    ASSERT_EQ(beams.size(), 1u);
    CScoreElement const& beam = beams[0];
    EXPECT_GT(beam.top, upperBottom);
    EXPECT_LT(beam.bottom, lowerTop);
    EXPECT_LT(beam.right, Of(records, kSystem)[0].right);

    // The beam's polygon: start at the stem, away from it, end away, end at the stem.
    auto main = std::find_if(pageDevice.polygons.begin(), pageDevice.polygons.end(), [&](auto& p) {
      return p.size() == 4 && Inside(p[0], beam) && Inside(p[2], beam);
    });
    ASSERT_NE(main, pageDevice.polygons.end());
    std::vector<NVPoint> const& p = *main;
    EXPECT_LE(std::fabs((p[3].y - p[0].y) / (p[3].x - p[0].x)), 0.1f + 1e-4f);

    // Each beamed note's stem runs from its head to the beam, downwards above it and upwards
    // below it.
    Records const stems = Of(records, kOther, kStem);
    int reaching = 0;
    for (CScoreElement const& note : Of(records, kNote, 10)) {
      if (note.left > beam.right || note.right < beam.left) continue;
      for (CScoreElement const& stem : stems) {
        if (stem.right < note.left - 1 || stem.left > note.right + 1) continue;
        if (note.bottom < beam.top) {
          EXPECT_LT(stem.top, note.bottom);
          EXPECT_GE(stem.bottom, beam.top);
        } else {
          EXPECT_GT(stem.bottom, note.top);
          EXPECT_LE(stem.top, beam.bottom);
        }
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
    LayOut(text);
    Records const records = Draw();
    Records const notes = Of(records, kNote, 10);
    Records const ties = Of(records, kOther, kTie);
    ASSERT_EQ(notes.size(), size_t(pieces));
    ASSERT_EQ(ties.size(), size_t(pieces - 1));
    for (size_t i = 0; i < ties.size(); ++i) {
      EXPECT_GE(ties[i].left, notes[i].left);
      EXPECT_LE(ties[i].right, notes[i + 1].right);
    }
  }
}

// A tuplet's bracket and number keep clear of the notes, stems and beams on their side.
TEST_F(DrawnScore, TupletBracketsClearTheirNotesStemsAndBeams) {
  LayOut(
      "[ \\meter<\"4/4\"> c1/4 d e f | g a h c2 | d2/2 c2 | h1/2 a | \\tuplet<\"-3-\">( g1/8 a h ) "
      "\\tuplet<\"-3-\">( c2/8 d e ) f/2 ]");
  Records const records = Draw();
  Records obstacles = Of(records, kOther, kStem);
  for (CScoreElement const& beam : Of(records, kOther, kBeam)) obstacles.push_back(beam);
  for (CScoreElement const& note : Of(records, kNote)) obstacles.push_back(note);
  int brackets = 0;
  for (PageDevice::Segment const& line : pageDevice.lines) {
    if (line.width != 4 || line.alpha != 255 || (line.x1 == line.x2 && line.y1 == line.y2))
      continue;
    ++brackets;
    for (CScoreElement const& obstacle : obstacles)
      EXPECT_FALSE(Crosses(line, obstacle))
          << "(" << line.x1 << "," << line.y1 << ")-(" << line.x2 << "," << line.y2 << ") crosses "
          << obstacle.kind << "/" << obstacle.subtype << " at " << obstacle.left << ","
          << obstacle.top;
  }
  EXPECT_EQ(brackets, 8);  // two halves and two hooks each
}

}  // namespace
