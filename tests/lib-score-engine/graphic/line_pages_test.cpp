// Lines of music ended by the score's own line breaks fill pages one after the other; the line
// breaker takes no more pages than the music needs on lines that keep room between their
// events, and a break after the music adds none.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "GRMusic.h"
#include "GRPage.h"
#include "GRSpaceForceFunction2.h"
#include "GRStaffManager.h"
#include "GRSystem.h"
#include "room_checked_score.h"

namespace {

class LinePagesTest : public EngineTesting::RoomCheckedScore {
 protected:
  static float Height(GRSystem const* system) {
    return system->getBoundingBox().bottom - system->getBoundingBox().top;
  }
};

// Forty one-measure lines: each page takes the lines that fit on it, the next line opens the
// next page, and no line stands below a page's foot.
TEST_F(LinePagesTest, LinesEndedByANewLineStartAPageWhenTheyDoNotFit) {
  std::string score = "[ \\meter<\"4/4\"> c2/1";
  for (int line = 1; line < 40; ++line) score += " \\newLine c2/1";
  Draw(score + " ]");
  ASSERT_GT(Pages(), 1);
  int lines = 0;
  float const distance = GRStaffManager::sDefaultSystemDistance;
  for (int n = 1; n <= Pages(); ++n) {
    GRPage const* page = music->getPage(n);
    float stacked = -distance;
    for (void* pos = page->getSystems().GetHeadPosition(); pos;) {
      GRSystem const* system = page->getSystems().GetNext(pos);
      EXPECT_LE(system->getPosition().y + system->getBoundingBox().bottom, page->getInnerHeight())
          << "page " << n;
      stacked += Height(system) + distance;
      ++lines;
    }
    // The first line of the next page would not have fitted on this one.
    if (n < Pages()) {
      GRSystem const* next = music->getPage(n + 1)->getSystems().GetHead();
      EXPECT_GT(stacked + distance + Height(next), page->getInnerHeight());
    }
  }
  EXPECT_EQ(lines, 40);
}

// Bars of a learner piece in turn, the left hand's shifted against the right's so lines differ.
std::string Piece(int bars, bool twoStaves, int shift) {
  static std::vector<std::string> const right = {"e3/4 d3 c3 h2",
                                                 "c2/8 h1 a1 h1 c2 d2 e2 f2",
                                                 "{a2/4, c3, e3} {g2, c3, e3} {a2/2, c3, e3}",
                                                 "c3/2 _/2",
                                                 "a3/8 g3 f3 e3 d3 c3 h2 a2",
                                                 "a2/8 c3 e3 a3 e3 c3 a2 g2",
                                                 "{a2/4, c3, e3} {h2, d3, f3} {c3/2, e3, a3}"};
  static std::vector<std::string> const left = {"a-1/4 e-1 a-2 e-1",         "{a-2/1, a-1}",
                                                "c0/8 e0 g0 c0 e0 g0 c0 e0", "c-1/2 g-1",
                                                "c0/8 e0 g0 c1 e1 g1 c2 e2", "c-1/1"};
  std::string upper = "[ \\staff<1> \\meter<\"4/4\"> ",
              lower = "[ \\staff<2> \\clef<\"bass\"> \\meter<\"4/4\"> ";
  for (int bar = 0; bar < bars; ++bar) {
    upper += right[(bar * 3 + shift) % right.size()] + " | ";
    lower += left[(bar * 5 + shift) % left.size()] + " | ";
  }
  return twoStaves ? "{ " + upper + "], " + lower + "] }" : upper + "]";
}

// Forty bars drawn at random from a learner piece's bars, one staff: eighths up to three ledger
// lines above the staff beside chords and quarters, so that lines of as many bars differ in width.
std::string BarsAtRandom(std::uint32_t& seed) {
  static std::vector<std::string> const bars = {"e3/4 d3 c3 h2",
                                                "a3/8 g3 f3 e3 d3 c3 h2 a2",
                                                "g2/4 a2 h2 c3",
                                                "{e1/4, g1, c2} {e1, a1, c2} {e1/2, g1, c2}",
                                                "c3/2 _/2",
                                                "c2/8 h1 a1 h1 c2 d2 e2 f2",
                                                "a2/8 c3 e3 a3 e3 c3 a2 g2",
                                                "{a2/4, c3, e3} {h2, d3, f3} {c3/2, e3, a3}",
                                                "c1/4 e1 g1 c2",
                                                "f2/8 g2 a2 h2 c3/2"};
  std::string text = "[ \\meter<\"4/4\"> ";
  for (int bar = 0; bar < 40; ++bar) {
    seed = seed * 1103515245u + 12345u;
    text += (bar ? " | " : "") + bars[((seed & 0x7fffffffu) >> 16) % bars.size()];
  }
  return text + " ]";
}

// No line is tighter than half the optimum force or past the margin, and none so tight that the
// heads or ledger lines of neighbouring events come closer than the air they keep (0.15 space;
// neighbouring ledger lines stop short a fifth of a space apart); a piece takes no more pages
// than it needs on such lines (one, where they fit on it). Thirty pieces of the same bars in
// other orders take one page or two, whichever keeps their lines so.
TEST_F(LinePagesTest, LinesAreNeverCrammedAndThePieceTakesNoMorePagesThanItNeeds) {
  struct Case {
    std::string text;
    int pages;  // 0: as many as its lines need
  };
  std::vector<Case> cases = {
      {"{ [ \\staff<1> \\meter<\"4/4\"> e3/4 d3 c3 h2 | c2/8 h1 a1 h1 c2 d2 e2 f2 | {a2/4, c3, "
       "e3} {g2, c3, e3} {a2/2, c3, e3} | {a2/4, c3, e3} {g2, c3, e3} {a2/2, c3, e3} | c3/2 _/2 | "
       "{a2/4, c3, e3} {g2, c3, e3} {a2/2, c3, e3} | a3/8 g3 f3 e3 d3 c3 h2 a2 | a2/8 c3 e3 a3 e3 "
       "c3 a2 g2 | c2/8 h1 a1 h1 c2 d2 e2 f2 | {a2/4, c3, e3} {h2, d3, f3} {c3/2, e3, a3} | a2/8 "
       "c3 e3 a3 e3 c3 a2 g2 | a2/8 c3 e3 a3 e3 c3 a2 g2 | a3/8 g3 f3 e3 d3 c3 h2 a2 | a3/8 g3 f3 "
       "e3 d3 c3 h2 a2 | c3/2 _/2 | {a2/4, c3, e3} {g2, c3, e3} {a2/2, c3, e3} | ], [ \\staff<2> "
       "\\clef<\"bass\"> \\meter<\"4/4\"> a-1/4 e-1 a-2 e-1 | a-1/4 e-1 a-2 e-1 | {a-2/1, a-1} | "
       "c0/8 e0 g0 c0 e0 g0 c0 e0 | a-1/4 e-1 a-2 e-1 | c-1/2 g-1 | c0/8 e0 g0 c0 e0 g0 c0 e0 | "
       "{a-2/1, a-1} | c0/8 e0 g0 c1 e1 g1 c2 e2 | c-1/1 | c-1/2 g-1 | c-1/2 g-1 | c0/8 e0 g0 c1 "
       "e1 g1 c2 e2 | c-1/2 g-1 | {a-2/1, a-1} | c0/8 e0 g0 c1 e1 g1 c2 e2 | ] }",
       1},
      {Piece(16, true, 0), 1},
      {Piece(20, true, 1), 1},
      {Piece(24, true, 2), 2},
      {Piece(32, true, 4), 2},
      {Piece(40, true, 5), 3},
      {Piece(24, false, 0), 1},
      {Piece(40, false, 2), 1},
  };
  std::uint32_t seed = 84;
  for (int piece = 0; piece < 30; ++piece) cases.push_back({BarsAtRandom(seed), 0});
  // Half the optimum force, less what the breaker's sums over slices round off.
  float const tightest = 0.495f * GRSpaceForceFunction2::getOptForce();
  for (Case const& c : cases) {
    Draw(c.text);
    EXPECT_GE(LeastRoomBetweenEvents(), 7.4f) << c.text;
    for (int n = 1; n <= Pages(); ++n) {
      GRPage const* page = music->getPage(n);
      for (void* pos = page->getSystems().GetHeadPosition(); pos;)
        EXPECT_GE(page->getSystems().GetNext(pos)->getForce(), tightest) << c.text;
    }
    float right = 0;
    for (auto const& glyph : drawn.glyphs) right = std::max(right, glyph.ink.right);
    GRPage const* first = music->getPage(1);
    EXPECT_LE(right, first->getPageWidth() - first->getMarginRight() + 1) << c.text;
    if (c.pages) {
      EXPECT_EQ(Pages(), c.pages) << c.text;
    }
  }
}

// A break after the last event adds no line or page without music.
TEST_F(LinePagesTest, ABreakAfterTheLastEventAddsNoLineOrPage) {
  for (char const* text :
       {"{ [ \\meter<\"4/4\"> c d e f \\newSystem ], [ c0 d0 ] }", "[ c d e f \\newPage ]",
        "[ \\meter<\"4/4\"> c d e f \\newSystem \\newPage ]"}) {
    Draw(text);
    EXPECT_EQ(Pages(), 1) << text;
    EXPECT_EQ(DrawnLines().size(), 1u) << text;
  }
}

// Generated pieces whose systems stand taller as built than the line breaker estimated them:
// a page that took one system too many spread its systems so close that a stem of one reached
// down to a beam above the next. Between any two systems stays half the default distance.
TEST_F(LinePagesTest, SystemsBuiltTallerThanEstimatedKeepAGapOnTheirPage) {
  static char const* const kPieces[] = {
      R"rmn({ [ \title<"Etude"> \composer<"Anon."> \instr<"Piano"> \staff<1> \pageFormat<w=11cm, h=16cm, lm=0.5cm, tm=1cm, rm=0.5cm, bm=1cm> \clef<"g2"> \meter<"C"> g2/16 h2/16 _/16 \tieBegin h#2/16 \t<"legato", dy=5> h#2/4 \tieEnd a2/4 \intens<"p"> a2/16 a2/16 g2/16 a2/16
  \mark<"A"> f2/4 \oct<1>( \fermata( \fingering<"1">( g&2/8 ) ) f#2/8 {d#2/8, h1/8} e2/8 ) \stacc( a1/8. ) _/16
  \i<"f"> \b( f1/8 f1/8 ) e#1/8 h1/8 d2/2
  h#2/2. \decresc( a2/8 d2/8
  d2/4 e2/8 f2/8 e2/2
  \grace( h1/16 c2/16 ) d2/4 ) \dimBegin e2/8 d2/8 a1/4 \dimEnd \tuplet<"-3-">( \staccBegin e2/12 c&2/12 d&2/12 \staccEnd ) \doubleBar
  \tempo<"Allegro [1/4] = 132"> \i<"mp"> g1/2 f#1/4. g1/8
  \stacc( \tuplet<"-3-">( d&2/12 a#1/12 f1/12 ) g1/4 ) {a1/4, f1/4, d1/4} \tie( g1/4
  g1/8 ) a2/16 h2/16 h2/4 \i<"f"> \cresc( d#2/2
  \grace( c&2/16 ) \newSystem d2/4 ) a1/4 a1/16 g1/16 _/16 f1/16 h1/4
  a1/4. c2/8 \fingering<"4">( a2/4. ) h&2/8
  g2/4 \slurBegin \bm<dy=7>( g2/8 f2/8 ) \cresc( a#2/4 \stacc( g#2/16 \tieBegin c2/16 c2/16 \tieEnd c&2/16 \slurEnd ) )
  _/8. _/16 \oct<1> \tuplet<"-3-">( e2/12 d2/12 a&1/12 ) \stacc( {g&1/8, e1/8, c1/8} a1/8 \staccBegin g&1/8 a1/8 \staccEnd ) ],
[ \units<"pc"> \instr<"Piano"> \staff<2> \oct<-1> \clef<"f4"> \meter<"C"> {a-1/2, c0/2, e0/2} d&0/2
  \ritBegin g-1/4 e0/8 _/8 \tieBegin d0/4 d0/4 \tieEnd
  e0/2 d0/2
  \oct<0> \accent( c0/1 \ritEnd )
  h-1/2 {a-1/4, c0/4, e0/4} e-1/4
  c0/1 \doubleBar
  {c0/4, e0/4, g0/4} d0/8 c0/8 d0/2
  {f&0/2., a0/2., c1/2.} \oct<-1>( {h-1/4, d0/4, f0/4}
  \text<"legato", dy=1.25> a-1/2 h-1/4 {c0/4, e0/4, g0/4} \newSystem
  \grace( d0/16 a-1/16 ) {h&-1/4, d0/4, f0/4} ) \beam( a-1/8 {g-1/8, h-1/8, d0/8} ) {f-1/2, a-1/2, c0/2}
  g#-1/1
  f-1/1
  {g-1/1, h-1/1, d0/1} \endBar \units<"hs"> ] })rmn",
      R"rmn({ [ \composer<"Anon."> \stemsAuto \staff<1> \pageFormat<w=10cm, h=20cm, lm=0.5cm, tm=1cm, rm=0.5cm, bm=1cm> \clef<"g2"> \key<1> \beamsOff \slur( h&1/1 \slurBegin d2/1 | \newSystem
  \grace( h1/16 f#1/16 ) g1/2. \slurEnd ) \intens<"mf"> \oct<1>( \tuplet<"-3-">( c#2/12 g2/12 c2/12 ) \beamsAuto _/1
  e1/4. {e1/8, c1/8} h1/4 \beam( {g1/8, e1/8} a1/8 ) \b<dy=8>( g&1/16 g1/16 a1/16 f#1/16 ) ) g1/4 _/2
  \turn( d&2/4 ) \accel( \oct<1>( c2/4 f#1/4 h1/4 h1/1
  a1/8 g1/8 _/8 \turn( a&1/8 ) ) g1/4 \space<4> f#1/8 g&1/8 ) f##1/8 d2/8 \tuplet<"-3-">( a2/12 f#2/12 a2/12 ) d&2/4 a1/16 f1/16 f#1/16 e1/16
  \b( {f#1/8, d1/8, h0/8} e1/8 ) \intens<"pp"> {g1/8, e1/8} g1/8 f1/8. g1/16 e2/4 {g2/8, e2/8, c2/8} h1/16 a#1/16 _/8. \tie( h1/16 h1/8. ) c&2/16 d&2/4 \bar
  \tempo<"Presto [1/2] = 88"> _/8 _/8 \decresc( g2/8 g2/8 f2/4 d2/16 h2/16 e2/16 g2/16 ) \grace( h2/16 ) a2/1 \key<-1>
  \dimBegin g2/16 e&2/16 _/16 g1/16 \text<"espr."> \tie( f#1/8. f#1/16 \dimEnd ) c2/2 h&1/2 {g2/4, e2/4} \beam( c&2/8 e&2/16 d2/16 )
  f1/8 h&1/8 {a1/4, f1/4, d1/4} g1/4 a1/8 {h&&1/8, g1/8} \fingering<"3">( g&2/4 ) a2/4 a2/8 e2/8 \beam( f2/8 a#2/8 )
  \i<"pp"> \slur( f#2/1 c2/1
  {h&&1/1, g1/1} a1/2 ) h&1/2
  \cresc( c2/2. \grace( g1/16 a1/16 ) {h&1/4, g1/4, e1/4} \tie( f1/1 \newLine
  \text<"dolce", dy=7> f1/8 ) h&1/16 f2/16 \t<"dolce"> e2/8 g1/8 ) {e2/4, c2/4} g&1/8 \tieBegin f1/8 f1/8 \tieEnd c2/8 g1/8 \tieBegin g1/8 \i<"p"> g1/4 \tieEnd \i<"sfz"> \tuplet<"-3-">( c2/12 g1/12 g&1/12 )
  \tie( e#1/8 e#1/8 ) f1/16 _/16 e1/16 g1/16 a1/8 e1/16 f1/16 a1/16 h&1/16 f1/16 \tie( h&1/16 h&1/4 ) \beamBegin \stacc( d2/8 e2/16 a2/16 \beamEnd ) h&2/2
  \dim( e&2/4 f#2/8 g2/16 \trill( a2/16 ) ) h2/4 h&2/8 h2/8 {f2/4., d2/4.} c2/8 d2/16 _/16 e2/16 d2/16 \grace( f2/16 ) e2/16 f2/16 e2/16 h2/16
  \tuplet<"-3-">( h&2/12 d2/12 h&1/12 ) c2/8 f&2/8 \stacc( a1/8. g1/16 \space<4> f1/4 d#2/4 ) \t<"a tempo"> {a1/4, f1/4, d1/4} h&1/8 g1/8 _/4 \endBar ],
[ \stemsAuto \staff<2> \clef<"f4"> \key<1> \intens<"mf"> g-1/1 \i<"ff"> {f#-1/1, a-1/1, c0/1} | \newSystem
  {c0/2, e0/2, g0/2} d0/8 c0/8 \intens<"f"> {c0/4, e0/4, g0/4} \slur( e&0/2 \tie( h-1/2
  h-1/1 ) d0/4 {e0/4, g0/4, h0/4} e0/8 d0/8 ) \intens<"sfz"> c0/4
  {d0/1, f#0/1, a0/1} f#0/4 e#0/4 \slurBegin \fermata( c0/2 )
  {h-1/2, d0/2, f#0/2} \slurEnd a-1/4 {h-1/4, d0/4, f#0/4} {c0/1, e0/1, g0/1}
  \stacc( {f#0/4, a0/4, c1/4} e0/4 ) h-1/2 \intens<"mf"> c0/4 {d0/4, f#0/4, a0/4} \beam( \sl( e0/8 d0/8 ) ) {f#0/4, a0/4, c1/4} \bar
  \cresc( h-1/1 {f#-1/4, a-1/4, c0/4} \grace( e0/16 ) \mord( {d0/4, f#0/4, a0/4} ) ) f#0/2 \key<-1>
  \slurBegin d0/1 a-1/1
  e-1/2 \slurEnd f-1/8 c0/8 d&0/4 {g-1/4, h&-1/4, d0/4} {f#-1/8, a-1/8, c0/8} d-1/8 d-1/2
  {h-1/1, d0/1, f0/1} {e#0/4, g0/4, h&0/4} \stacc( {d0/8, f0/8, a0/8} {e0/8, g0/8, h&0/8} ) \slur( \turn( {e0/2, g0/2, h&0/2} )
  {f0/1, a0/1, c1/1} ) d0/1
  \dim( {f0/1, a0/1, c1/1} a-1/2 g-1/4 \tie( f-1/4 \newSystem
  f-1/1 ) ) \cresc( f-1/1
  {h&-1/2, d0/2, f0/2} a-1/4 ) h&-1/4 \fingering<"3">( a-1/4 ) {f#0/4, a0/4, c1/4} \cresc( {e0/4, g0/4, h&0/4} f#0/4
  {e0/1, g0/1, h&0/1} h&-1/1 )
  {e0/4, g0/4, h&0/4} \intens<"ff"> g-1/4 \grace( g-1/16 a-1/16 ) {h&-1/4, d0/4, f0/4} {h&-1/4, d0/4, f0/4} e0/8 {d0/8, f0/8, a0/8} a-1/4 g#-1/2 ] })rmn"};
  float const leastGap = GRStaffManager::sDefaultSystemDistance / 2;
  for (char const* piece : kPieces) {
    Draw(piece);
    for (int n = 1; n <= Pages(); ++n) {
      GRSystem const* above = nullptr;
      for (void* pos = music->getPage(n)->getSystems().GetHeadPosition(); pos;) {
        GRSystem const* system = music->getPage(n)->getSystems().GetNext(pos);
        if (above) {
          EXPECT_GE(system->getPosition().y + system->getBoundingBox().top -
                        (above->getPosition().y + above->getBoundingBox().bottom),
                    leastGap)
              << "page " << n << " of\n"
              << piece;
        }
        above = system;
      }
    }
  }
}

}  // namespace
