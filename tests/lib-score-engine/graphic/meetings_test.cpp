// Where two marks meet on a few notes, laid out and drawn on the real music font: neither hides
// the other, each keeps the shape and place the text gives it, and what a tag asks reaches it.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "drawn_score.h"
#include "graphic_globals.h"

namespace {

using EngineTesting::Overlaps;
using EngineTesting::TwoVoices;

constexpr float kSpace = 50;
constexpr unsigned int kHead = 88, kDot = 46;

bool IsDigit(unsigned int code) {
  return code >= '0' && code <= '9';
}

class MeetingsTest : public EngineTesting::DrawnScore {};

// A dot stands at most half a space after its head, flag, rest or dot, past the heads of a chord
// or of another voice beside its own; nothing lies on it, and a quarter space of air follows it.
TEST_F(MeetingsTest, ADotStandsHalfASpaceAfterWhatItLengthensAndClearOfWhatFollows) {
  for (auto const& [text, count] : std::initializer_list<std::pair<std::string, size_t>>{
           {"[ \\meter<\"1/16\"> f1/32. g1/64 ]", 1},
           {"[ \\meter<\"2/4\"> a1/32. h1/64 c2/16 d2/8 e2/4 ]", 1},
           {"[ \\meter<\"2/4\"> \\beam( g1/16 a1*3/64 h1/64 ) c2/8 c2/4 ]", 1},
           {"[ \\meter<\"2/4\"> a1/16. h1/32 a1/16. h1/32 c2/4 ]", 2},
           {"[ \\beamsOff a1/8. h1/16 a1/32. h1/64 a1/64. h1/128 {c1/8., e1} c1/16 ]", 5},
           {"[ \\meter<\"4/4\"> {f1/4., g1} a1/8 {a1/8., h1} c2/16 _/4 | {c2/4., d2} e2/8 ]", 6},
           {TwoVoices("f2/4. g2/8", "e2/4. d2/8"), 2},
           {"[ \\meter<\"2/4\"> f1/32. _/64 f1/16 f1/8 f1/4 ]", 1},
           {"[ f1*7/256 _*7/256 ]", 4},
           {"[ \\meter<\"2/4\"> _/8. c2/16 _/16. c2/32 c2/8 c2/4 ]", 2},
       }) {
    SCOPED_TRACE(text);
    Draw(text);
    std::vector<NVRect> dots, others;  // the others: glyphs, beams and stems
    for (auto const& glyph : drawn.glyphs)
      (glyph.code == kDot ? dots : others).push_back(glyph.ink);
    for (auto const& s : drawn.shapes) others.push_back({s.left, s.top, s.right, s.bottom});
    EXPECT_EQ(dots.size(), count);
    EXPECT_EQ(Overlaps(dots, others), 0);
    for (NVRect const& dot : dots) {
      auto const level = [&](NVRect const& ink, float by) {
        return ink.top < dot.bottom + by && ink.bottom > dot.top - by;
      };
      float before = -1e9f, after = 1e9f;
      for (NVRect const& ink : others) {
        if (level(ink, kSpace) && ink.right <= dot.left + 1) before = std::max(before, ink.right);
        if (level(ink, kSpace / 4) && ink.left >= dot.left + 1) after = std::min(after, ink.left);
      }
      for (NVRect const& other : dots)
        if (level(other, 0) && other.right <= dot.left + 1) before = std::max(before, other.right);
      EXPECT_LE(dot.left - before, kSpace / 2) << dot.left;
      EXPECT_GE(after - dot.right, kSpace / 4) << dot.left;
    }
  }
}

// Texts at one time stand clear of each other and of the music: a text on a fingered note, the
// lyrics or fingerings of two voices, texts under dynamics, octave marks over high notes and
// under low ones, a chord's fingerings in the order of its notes. Unless the score places them,
// a text hangs half a space and a fingering a space under the staff, and an octave mark in the
// staff's text font at a text's size stands over or under the staff.
TEST_F(MeetingsTest, TextsAtOneTimeStandApartAndClearOfTheMusic) {
  for (std::string const& text :
       {std::string("[ \\text<\"dolce\">( \\fingering<\"3\">( c2/4 ) ) d2 e2 f2 ]"),
        TwoVoices("\\lyrics<\"la la la\">( c2/4 d2 e2 )", "\\lyrics<\"lo lo lo\">( a1/4 g1 f1 )"),
        TwoVoices("\\fingering<\"1\">( c2/4 d2 e2 )", "\\fingering<\"5\">( a1/4 g1 f1 )"),
        std::string("[ \\intens<\"p\"> \\text<\"dolce\">( c2/4 ) d2 e2 f2 | \\intens<\"mf\"> "
                    "\\text<\"espressivo\">( g1/4 ) a1 h1 c2 ]"),
        std::string("[ c2/4 \\oct<1>( c4 d4 ) g2 | \\oct<-1> c2 d2 e2 c-1 | \\oct<0> c2/1 ]"),
        std::string("[ { \\fingering<\"1\">( c1/4 ), \\fingering<\"3\">( e1 ), "
                    "\\fingering<\"5\">( g1 ) } { \\text<\"a\">( c2 ), \\text<\"b\">( e2 ) } ]")}) {
    SCOPED_TRACE(text);
    Draw(text);
    std::vector<NVRect> texts, music;
    for (auto const& drawnText : drawn.texts) texts.push_back(TextInk(drawnText));
    for (auto const& glyph : drawn.glyphs) music.push_back(glyph.ink);
    for (auto const& [page, note] : NoteRecords())
      music.push_back({note.left, note.top, note.right, note.bottom});
    ASSERT_GT(texts.size(), 1u);
    EXPECT_EQ(Overlaps(texts, music), 0);
  }
  EXPECT_LT(Texts("5").at(0).y, Texts("3").at(0).y);
  EXPECT_LT(Texts("3").at(0).y, Texts("1").at(0).y);

  Draw("[ \\stemsUp \\text<\"t\">( g1/4 ) \\fingering<\"2\">( a1 ) \\oct<1>( h1 ) \\oct<-1> c2 ]");
  ScoreElementDesc const staff = Records(2, 5).at(0);
  EXPECT_FLOAT_EQ(TextInk(Texts("t").at(0)).top, staff.bottom + kSpace / 2);
  EXPECT_FLOAT_EQ(TextInk(Texts("2").at(0)).top, staff.bottom + kSpace);
  EXPECT_LE(TextInk(Texts("8").at(0)).bottom, staff.top);
  EXPECT_GE(TextInk(Texts("8ba").at(0)).top, staff.bottom);
  for (auto const& mark : {Texts("8")[0], Texts("8ba")[0]}) {
    ASSERT_EQ(mark.face, gFontDefs.text.font);
    EXPECT_EQ(mark.face->GetSize(), 75);
  }
}

// Over c2 e2 g2 e2, stems down, a positive written height bends a slur up by about that height,
// a negative one down, and a written peak place alone keeps it over the heads. A beam written
// with one length for its stems, or one for each end, meets every stem.
TEST_F(MeetingsTest, WrittenHeightsAndLengthsShapeSlursAndBeams) {
  for (auto const& [slur, up] : {std::pair{"h=4", true}, {"h=-4", false}, {"r3=0.3", true}}) {
    Draw(std::string("[ \\slur<") + slur + ">(c2/4 e2 g2 e2) ]");
    float const high = std::min(Glyphs(kHead).at(0).y, Glyphs(kHead).at(3).y);
    ScoreElementDesc const curve = Records(2, 17).at(0);
    EXPECT_TRUE(up ? curve.top < high - kSpace : curve.bottom > high + 2 * kSpace) << slur;
  }
  for (char const* text : {"[ \\beam<dy=10>( c2/8 d2 ) ]", "[ \\beam<dy1=6, dy2=9>( c2/8 d2 ) ]",
                           "[ \\stemsDown \\beam<dy=8>( g1/8 a1 h1 ) ]"}) {
    Draw(text);
    ScoreElementDesc const beam = Records(2, 14).at(0);
    auto const stems = LeftToRight(Records(2, 10));
    auto const heads = Glyphs(kHead);
    ASSERT_EQ(heads.size(), stems.size());
    for (size_t i = 0; i < stems.size(); ++i) {
      float const tip = stems[i].bottom > heads[i].y + 1 ? stems[i].bottom : stems[i].top;
      EXPECT_TRUE(tip >= beam.top - 0.5f && tip <= beam.bottom + 0.5f) << text << " " << i;
    }
  }
}

// A meter after a mid-line bar line keeps about a space before the next note, whatever the width
// of its numbers; a tie between two close notes runs over them from the middle of one head to
// the middle of the other; a bar line cutting a note of a shared place stays; codas and segnos
// at one bar line or on one note stand side by side with their words; a grace note written among
// a chord's notes stands before the chord, small, with a flag of its own.
TEST_F(MeetingsTest, SignsAtOneOrCloseByPlacesStandClearOfEachOther) {
  for (std::string const change : {"\\meter<\"3/4\"> g0/4 a0 h0", "\\meter<\"100/64\"> g0/4 a0"}) {
    Draw("[ \\clef<\"bass\"> \\meter<\"4/4\"> c0/4 d0 e0 f0 | " + change + " ]");
    float const bar = LeftToRight(Records(3, 0)).at(0).right;
    float meter = 0, note = 1e9f;
    for (auto const& glyph : drawn.glyphs)
      if (IsDigit(glyph.code) && glyph.x > bar) meter = std::max(meter, glyph.ink.right);
    for (auto const& head : Glyphs(kHead))
      if (head.ink.left > meter) note = std::min(note, head.ink.left);
    EXPECT_GE(note - meter, 0.9f * kSpace) << change;
  }
  Draw("[ \\tie( e2/16 e2/16 ) f2/8 g2/4 a2/2 ]");
  ScoreElementDesc const tie = Records(2, 17).at(0);
  auto const heads = Glyphs(kHead);
  EXPECT_LE(tie.left, (heads[0].ink.left + heads[0].ink.right) / 2 + 1);
  EXPECT_GE(tie.right, (heads[1].ink.left + heads[1].ink.right) / 2 - 1);
  EXPECT_LE(tie.bottom, std::min(heads[0].ink.top, heads[1].ink.top));

  Draw("[ \\meter<\"4/4\"> c2/2 \\shareLocation( d2/1 ) e2/2 ]");
  auto const bars = LeftToRight(Records(3, 0));
  ASSERT_EQ(bars.size(), 2u);  // the bar line and the end bar
  EXPECT_GT(bars[0].left, NoteRecords().at(1).desc.right);
  EXPECT_LT(bars[0].right, NoteRecords().at(2).desc.left);

  Draw("[ \\meter<\"3/4\"> g2/2. \\coda | \\segno a2/2. | \\segno \\coda h2/2. ]");
  std::vector<NVRect> segnos, codas, texts;
  for (auto const& sign : Glyphs(37)) segnos.push_back(sign.ink);
  for (auto const& sign : Glyphs(230)) codas.push_back(sign.ink);
  for (auto const& text : drawn.texts) texts.push_back(TextInk(text));
  ASSERT_EQ(segnos.size() + codas.size() + texts.size(), 6u);
  EXPECT_EQ(Overlaps(segnos, codas) + Overlaps(codas) + Overlaps(texts, segnos), 0);

  Draw("[ {c2/2, \\grace( d2/8 ), e2} g2/2 ]");
  float graceRight = 0;
  int graceGlyphs = 0;
  for (auto const& glyph : drawn.glyphs)
    if (FontSize(glyph) == 150) graceRight = std::max(graceRight, glyph.ink.right), ++graceGlyphs;
  EXPECT_GE(graceGlyphs, 2) << "a head and a flag";
  EXPECT_LT(graceRight, Glyphs(69).at(0).ink.left);  // the chord's first half head
}

// The colour of a tie range reaches its ties, the colour of a key its sharps, and a meter's own
// size its numbers.
TEST_F(MeetingsTest, ColourAndSizeWrittenOnATagReachItsSigns) {
  drawn.calls.clear();
  Draw("[ \\tie<color=\"red\">( c2/2 c2/2 ) ]");
  EXPECT_NE(std::find(drawn.calls.begin(), drawn.calls.end(), "PushFillColor(rgba(200,0,0,255))"),
            drawn.calls.end());
  Draw("[ \\key<2, color=\"red\"> \\meter<\"3/4\", size=2> c2/4 d2 e2 ]");
  ASSERT_EQ(Glyphs(35).size(), 2u);
  for (auto const& sharp : Glyphs(35)) EXPECT_EQ(sharp.color, VGColor(200, 0, 0));
  std::vector<int> digits;
  for (auto const& glyph : drawn.glyphs)
    if (IsDigit(glyph.code)) digits.push_back(FontSize(glyph));
  EXPECT_EQ(digits, std::vector<int>(2, 400));
}

}  // namespace
