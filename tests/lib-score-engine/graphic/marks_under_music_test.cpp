// Dynamic marks and wedges under a staff, drawn on the real music font: each stands clear of all
// the ink of the music it stands under, of every voice on its staff and of the staff below, and
// wedges written over each other stand one below the other; all of them below a text written at
// its own height and an octava's figure.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "GRStaffManager.h"
#include "drawn_score.h"

namespace {

using EngineTesting::PlacingDevice;

constexpr float kWedgePen = 6;
// Letters the music font draws dynamic marks with: p, pp, mp, mf, f, ff, sfz.
constexpr unsigned int kDynamics[] = {112, 132, 80, 70, 102, 131, 244};
// Longer than any ledger line: the staff's own lines.
constexpr float kStaffLine = 200;

struct Drawn {
  std::string what;
  NVRect box;
};

class MarksUnderMusicTest : public EngineTesting::DrawnScore {
 protected:
  static bool IsDynamic(unsigned int code) {
    return std::ranges::find(kDynamics, code) != std::end(kDynamics);
  }
  std::vector<Drawn> Wedges() const {
    std::vector<Drawn> found;
    for (NVRect const& box : WedgeBoxes(kWedgePen)) found.push_back({"wedge", box});
    return found;
  }
  std::vector<Drawn> Dynamics() const {
    std::vector<Drawn> found;
    for (auto const& glyph : drawn.glyphs)
      if (IsDynamic(glyph.code))
        found.push_back({"dynamic " + std::to_string(glyph.code), glyph.ink});
    return found;
  }
  // The music's ink: every other glyph (heads, stems, flags, signs, dots, rests), the ledger
  // lines, the beams and the curves of slurs and ties, by their boxes.
  std::vector<Drawn> Music() const {
    std::vector<Drawn> found;
    for (auto const& glyph : drawn.glyphs)
      if (!IsDynamic(glyph.code) && glyph.ink.right > glyph.ink.left)
        found.push_back({"glyph " + std::to_string(glyph.code), glyph.ink});
    for (auto const& line : drawn.lines)
      if (line.width != kWedgePen && std::abs(line.x2 - line.x1) < kStaffLine)
        found.push_back({"line", LineBox(line)});
    for (auto const& shape : drawn.shapes)
      found.push_back({"shape", {shape.left, shape.top, shape.right, shape.bottom}});
    return found;
  }
  std::vector<Drawn> Words() {
    std::vector<Drawn> found;
    for (auto const& text : drawn.texts) found.push_back({"'" + text.text + "'", TextInk(text)});
    return found;
  }
  // What of the one meets what of the other (each pair once, and nothing itself, where both are
  // the same marks).
  static std::string Meetings(std::vector<Drawn> const& ones, std::vector<Drawn> const& others) {
    std::string met;
    bool const same = &ones == &others;
    for (size_t i = 0; i < ones.size(); ++i)
      for (size_t j = same ? i + 1 : 0; j < others.size(); ++j)
        if (Drawn const& one = ones[i], &other = others[j];
            one.box.left < other.box.right && other.box.left < one.box.right &&
            one.box.top < other.box.bottom && other.box.top < one.box.bottom)
          met += one.what + " meets " + other.what + "; ";
    return met;
  }
};

TEST_F(MarksUnderMusicTest, DynamicsAndWedgesStandClearOfAllTheMusicUnderThem) {
  for (char const* text : {
           // The stem of a chord reaches below the boxes of its notes.
           "{ [ \\key<-5> \\tempo<\"[1/8] 120\"> {f&-1/4, a&0/4} \\cresc( g&-1/4 {d&0/4, "
           "a&0/4} ) ] }",
           // A chord's flag hangs from its stem over where the wedge begins.
           "[ \\meter<\"2/4\"> \\dim( {e2/8, c2/8, a1/8} _/8 g2/4 ) ]",
           // The notes of the other voice on the staff, with their ledger lines.
           "{ [ \\stemsUp \\cresc( e2/16 ) ], [ \\staff<1> g-1/2 ] }",
           // The beams and stems of the notes after the mark's own reach under its letters.
           "[ \\stemsDown \\intens<\"mf\"> h1/16 \\beam( c1/16 a0/16 f0/16 ) g1/4 ]",
           // Marks at neighbouring notes, one of them over low stems and a beam, and marks at
           // notes closer together than their letters are wide.
           "[ \\intens<\"mp\"> g1/32 \\intens<\"mf\"> \\beam( c1/32 a0/32 f0/32 ) ]",
           "[ \\pageFormat<w=4cm, h=10cm, lm=0.5cm, tm=1cm, rm=0.5cm, bm=1cm> \\intens<\"mp\"> "
           "c2/32 \\intens<\"mf\"> d2/32 \\intens<\"sfz\"> e2/32 \\intens<\"ff\"> f2/32 g2/32 "
           "a2/32 h2/32 c3/32 ]",
           // Under the low notes of the other voice; a chord of the staff below reaches up
           // with its stem.
           "{ [ \\staff<1> \\stemsUp \\dim( f2/2 ) ], [ \\staff<1> \\stemsDown \\tie( a&0/4 "
           "a&0/4 ) ], [ \\staff<2> \\clef<\"f4\"> {c&0/4, e&0/4, g&0/4} f0/4 ] }",
           // An accidental's glyph reaches below its box, and so does a rest's, moved below the
           // other voice's notes.
           "[ \\key<2> \\cresc( d1/4 c1/4 e1/4 ) ]",
           "{ [ \\staff<1> \\stemsUp e1/4 \\cresc( f1/4 g1/4 a1/4 ) ], [ \\staff<1> \\stemsDown "
           "c1/4 _/4 c1/4 c1/4 ] }",
           // A text written at the wedge's height, and an octava's figure beside a mark.
           "[ \\text<\"espr.\", dy=-3> \\cresc( c2/4 d2/4 e2/4 f2/4 ) ]",
           "[ \\clef<\"f4\"> \\text<\"espr.\", dy=-6> \\cresc( {d#-1/4, f#-1/4, a-1/4} e-1/4 "
           "c-1/4 ) ]",
           "[ \\text<\"espr.\", dy=-6> \\cresc( a0/4 h0/4 c1/4 ) ]",
           "[ \\clef<\"f4\"> \\key<-3> \\oct<-1>( \\intens<\"sfz\"> g-1/4 {e&-1/4, g-1/4, "
           "h&-1/4} a-1/2 ) ]",
           // An octava's figure over the staff below.
           "{ [ \\staff<1> \\cresc( c1/4 d1/4 e1/4 f1/4 ) ], [ \\staff<2> \\clef<\"f4\"> c0/4 "
           "d0/4 \\oct<1>( e1/4 f1/4 ) ] }",
           // Wedges written over each other.
           "[ \\cresc( c2/4 \\cresc( d2/4 e2/4 ) f2/4 ) \\dim( g1/4 \\dim( a1/4 ) ) ]",
       }) {
    SCOPED_TRACE(text);
    Draw(text);
    std::vector<Drawn> const wedges = Wedges();
    std::vector<Drawn> const dynamics = Dynamics();
    std::vector<Drawn> const music = Music();
    std::vector<Drawn> const words = Words();
    ASSERT_FALSE(wedges.empty() && dynamics.empty());
    EXPECT_EQ(Meetings(wedges, music), "");
    EXPECT_EQ(Meetings(dynamics, music), "");
    EXPECT_EQ(Meetings(wedges, wedges), "");
    EXPECT_EQ(Meetings(dynamics, dynamics), "");
    EXPECT_EQ(Meetings(wedges, words), "");
    EXPECT_EQ(Meetings(dynamics, words), "");
  }
}

// A wedge that starts at a dynamic mark's note begins after the mark's letters and keeps the
// shortest length a wedge reads as one: so it reaches under the notes after its own, and stands
// beyond their heads, stems and ledger lines too.
TEST_F(MarksUnderMusicTest, AWedgeMovedPastAMarkStandsClearOfTheNotesItNowReaches) {
  for (char const* text : {
           // Under the head of a low note, with its ledger line.
           "[ \\intens<\"ff\"> \\dim( e1/16 ) a0/16 g1/8 ]",
           "[ \\intens<\"mp\"> \\cresc( f1/16 ) c1/16 g1/8 ]",
           // Under a stem reaching down below the staff.
           "[ \\intens<\"ff\"> \\dim( e1/32 ) \\stemsDown h1/32 g1/32 a1/32 ]",
       }) {
    SCOPED_TRACE(text);
    Draw(text);
    std::vector<Drawn> const wedges = Wedges();
    ASSERT_FALSE(wedges.empty());
    EXPECT_EQ(Meetings(wedges, Music()), "");
  }
}

// A key changed within the line draws its signs down to the staff's lowest lines, where the
// naturals and sharps reach below it: a wedge under them stands below those too.
TEST_F(MarksUnderMusicTest, AWedgeUnderAKeyChangeStandsClearOfItsSigns) {
  for (char const* text : {
           "[ \\clef<\"f4\"> \\stemsUp \\key<6> c1/4 \\cresc( d1/4 \\key<5> e1/4 f1/4 g1/4 ) ]",
           "[ \\clef<\"f4\"> \\stemsUp \\key<4> c1/4 \\cresc( d1/4 \\key<6> e1/4 f1/4 g1/4 ) ]",
           "[ \\stemsUp \\key<-6> c3/4 \\cresc( d3/4 \\key<2> e3/4 f3/4 g3/4 ) ]",
       }) {
    SCOPED_TRACE(text);
    Draw(text);
    std::vector<Drawn> const wedges = Wedges();
    ASSERT_FALSE(wedges.empty());
    EXPECT_EQ(Meetings(wedges, Music()), "");
  }
}

// Lines stacked at the engine's distance, not spread over the page: the marks under one line keep
// that distance from all the music of the next one, which reaches over its staff's box where it
// moved once the line was spaced.
TEST_F(MarksUnderMusicTest, TheNextLinesMusicStandsClearOfTheMarksAboveIt) {
  struct Stacked {
    int const distribution = GRStaffManager::sSystemDistribution;
    Stacked() { GRStaffManager::sSystemDistribution = 3; }
    ~Stacked() { GRStaffManager::sSystemDistribution = distribution; }
  } const stacked;
  for (char const* text : {
           // A rest moved over the other voice's beam, a tuplet's bracket over that rest.
           "{ [ \\staff<1> \\cresc( c1/4 d1/4 e1/4 f1/4 ) \\newSystem \\tuplet<\"-3-\">( f1/12 "
           "e1/12 f1/12 ) f1/16 a1/16 g1/16 a1/16 g1/8 h1/8 f2/4 ], [ \\staff<1> c1/1 "
           "\\newSystem _/2 _/2 ] }",
           "{ [ \\staff<1> \\intens<\"ff\"> c1/1 \\newSystem f1/16 a1/16 g1/16 a1/16 g1/8 h1/8 "
           "f2/2 ], [ \\staff<1> c1/1 \\newSystem _/4 _/4 _/2 ] }",
           // A tempo mark opening the next line, whose small note's flag rises above its stem.
           "[ \\intens<\"ff\"> c1/1 \\newSystem \\tempo<\"[1/8] = 120\"> c2/1 ]",
           "[ \\cresc( c1/2 d1/2 ) \\newSystem \\tempo<\"[1/16] = 60\"> c2/1 ]",
       }) {
    SCOPED_TRACE(text);
    Draw(text);
    std::vector<float> staffLines;
    for (auto const& line : drawn.lines)
      if (line.width != kWedgePen && std::abs(line.x2 - line.x1) >= kStaffLine)
        staffLines.push_back(line.y1);
    std::ranges::sort(staffLines);
    ASSERT_GE(staffLines.size(), 10u);
    // The widest step between staff lines parts the first line from the second.
    float between = 0, widest = 0;
    for (size_t i = 1; i < staffLines.size(); ++i)
      if (staffLines[i] - staffLines[i - 1] > widest) {
        widest = staffLines[i] - staffLines[i - 1];
        between = (staffLines[i] + staffLines[i - 1]) / 2;
      }
    float above = -1e9f, below = 1e9f;
    for (std::vector<Drawn> const& ink : {Wedges(), Dynamics(), Music(), Words()})
      for (Drawn const& one : ink)
        if ((one.box.top + one.box.bottom) / 2 < between)
          above = std::max(above, one.box.bottom);
        else
          below = std::min(below, one.box.top);
    // Less the pen of a wedge's legs, which reaches past the wedge's box.
    EXPECT_GE(below - above, GRStaffManager::sDefaultSystemDistance - kWedgePen);
  }
}

}  // namespace
