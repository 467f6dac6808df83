// Small drawing cases: repeat signs, a key written again, flags and dots of short notes, partial
// beams, one-line staves and a title under a narrow top margin.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "drawn_score.h"

namespace {

using EngineTesting::DrawnScore;
using EngineTesting::PlacingSymbolMap;

constexpr unsigned int kBar = 139, kRepeatEnd = 125, kRepeatBegin = 93, kSharp = 35, kDot = 46,
                       kFour = 52;

class SmallCasesTest : public DrawnScore {};

// Repeat signs are drawn centred on their place: back to back they keep clear of each other,
// and a repeat begin after a bar line stands in its place.
TEST_F(SmallCasesTest, RepeatSignsKeepClearAndReplaceTheBarLineBeforeThem) {
  Draw(
      "[ \\meter<\"4/4\"> c2/4 d e f \\repeatEnd \\repeatBegin g a h c3 | \\repeatBegin c2/1 "
      "\\repeatEnd ]");
  auto const ends = Glyphs(kRepeatEnd), begins = Glyphs(kRepeatBegin);
  ASSERT_EQ(ends.size(), 2u);
  ASSERT_EQ(begins.size(), 2u);
  // Both glyphs are drawn centred; the end's dots fill its first 25 units and the begin's its
  // last 25: each pair of dots stays clear of the other sign's lines.
  float const endLeft = ends[0].x - Width(kRepeatEnd) / 2;
  float const beginLeft = begins[0].x - Width(kRepeatBegin) / 2;
  EXPECT_GE(beginLeft, endLeft + 25);
  EXPECT_GE(beginLeft + Width(kRepeatBegin) - 25, endLeft + Width(kRepeatEnd));
  for (auto const& bar : Glyphs(kBar))
    for (auto const& begin : begins)
      EXPECT_GT(std::abs(bar.x - begin.x), 150) << "a bar line at " << bar.x;
  // Every repeat sign reports itself as a bar; the bar line it replaces does not.
  EXPECT_EQ(Records(3, 0).size(), 4u);
}

// A bar line written next to a repeat end, after it or before it, stands in its place: only
// the repeat sign is drawn and reported, and written after it the bar takes no room either.
TEST_F(SmallCasesTest, ARepeatEndIsTheBarLineWrittenNextToIt) {
  for (char const* score : {"[ \\meter<\"4/4\"> \\repeatBegin d2/1 \\repeatEnd | c2/1 ]",
                            "[ \\meter<\"4/4\"> \\repeatBegin d2/1 | \\repeatEnd c2/1 ]"}) {
    SCOPED_TRACE(score);
    Draw(score);
    EXPECT_TRUE(Glyphs(kBar).empty());
    ASSERT_EQ(Glyphs(kRepeatEnd).size(), 1u);
    EXPECT_EQ(Records(3, 0).size(), 3u);  // the repeat signs and the finish bar
  }
  auto roomAfterTheSign = [&] {
    std::vector<PlacingSymbolMap::Record> const notes = NoteRecords();
    return notes.at(1).desc.headX - Glyphs(kRepeatEnd).at(0).x;
  };
  Draw("[ \\meter<\"4/4\"> \\repeatBegin d2/1 \\repeatEnd c2/1 ]");
  float const alone = roomAfterTheSign();
  Draw("[ \\meter<\"4/4\"> \\repeatBegin d2/1 \\repeatEnd | c2/1 ]");
  EXPECT_NEAR(roomAfterTheSign(), alone, 1);
}

TEST_F(SmallCasesTest, TheKeyInForceWrittenAgainDrawsNothing) {
  Draw("[ \\key<2> \\meter<\"4/4\"> c2/4 d e f | \\key<2> g a h c3 | \\key<3> g a h c3 ]");
  // Two sharps at the start, none where the key is written again; the change to three sharps
  // cancels the two and shows the three.
  EXPECT_EQ(Glyphs(kSharp).size(), 5u);
}

// Down stems grow half a space for each flag after the first; a dot stands right after its
// head unless an up stem's flag stands there.
TEST_F(SmallCasesTest, FlagsOfDownStemsKeepClearOfTheHeadAndDotsFollowTheirHead) {
  Draw("[ \\meter<\"4/4\"> \\beamsOff c2/8 c2/16 c2/32 c2/64 c2/4 f1/8 f1/16 f1/32 ]");
  auto const stems = Records(2, 10);
  ASSERT_EQ(stems.size(), 8u);
  auto length = [&](size_t i) { return stems[i].bottom - stems[i].top; };
  EXPECT_FLOAT_EQ(length(1) - length(0), 25);
  EXPECT_FLOAT_EQ(length(2) - length(0), 50);
  EXPECT_FLOAT_EQ(length(3) - length(0), 75);
  EXPECT_FLOAT_EQ(length(4), length(0));  // the quarter
  // Up stems as they were: a 1/32 grows by half a space.
  EXPECT_FLOAT_EQ(length(6), length(5));
  EXPECT_FLOAT_EQ(length(7) - length(5), 25);

  Draw("[ \\meter<\"4/4\"> \\beamsOff c2/8. c2/16 c2/4. c2/8 | f1/4. f1/8 f1/8. f1/16 f1/4 ]");
  auto const dots = Glyphs(kDot);
  auto const notes = NoteRecords();
  ASSERT_EQ(dots.size(), 4u);
  ASSERT_EQ(notes.size(), 9u);
  EXPECT_FLOAT_EQ(dots[0].x, notes[0].desc.headX);       // down stem, flag
  EXPECT_FLOAT_EQ(dots[1].x, notes[2].desc.headX);       // down stem
  EXPECT_FLOAT_EQ(dots[2].x, notes[4].desc.headX);       // up stem, no flag
  EXPECT_FLOAT_EQ(dots[3].x, notes[6].desc.headX + 45);  // after the up stem's flag
}

// Every value down to 1/256 shows what it is: the flags of its undotted part, or as many beams,
// and its dots; so do rests, and the piece of a note that a bar line cut. A shorter length is
// read as 1/256.
TEST_F(SmallCasesTest, ShortValuesShowTheirFlagsBeamsAndDots) {
  struct Case {
    char const* note;
    unsigned int flag;
    size_t dots;
  } const cases[] = {
      {"c2/32.", 222, 1},   {"c2/64..", 83, 2},   {"c2/128.", 245, 1},
      {"f1/128..", 246, 2}, {"f1/32..", 221, 2},  {"f1/64", 115, 0},
      {"c2/256.", 247, 1},  {"f1/256..", 248, 2}, {"c2/512", 247, 0},
  };
  for (Case const& c : cases) {
    std::string const score = std::string("[ \\beamsOff ") + c.note + " ]";
    SCOPED_TRACE(score);
    Draw(score);
    EXPECT_EQ(Glyphs(c.flag).size(), 1u);
    EXPECT_EQ(Glyphs(kDot).size(), c.dots);
  }
  auto beams = [&] {
    return std::count_if(drawn.shapes.begin(), drawn.shapes.end(),
                         [](auto const& shape) { return shape.xs.size() == 4; });
  };
  // Three beams and a dot, then four; a dotted rest; five beams over the two 1/128 notes, four
  // on to the 1/64 and three on to the 1/32.
  Draw("[ \\meter<\"1/16\"> c2/32. d2/64 ]");
  EXPECT_EQ(Glyphs(kDot).size(), 1u);
  EXPECT_EQ(beams(), 4);
  Draw("[ \\meter<\"1/16\"> _/32. _/64 ]");
  EXPECT_EQ(Glyphs(kDot).size(), 1u);
  Draw("[ \\meter<\"1/16\"> c2/128 d2/128 e2/64 f2/32 ]");
  EXPECT_EQ(beams(), 5);
  // Six beams over the four 1/256 notes, five on to the 1/128, four on to the 1/64 and to the
  // dotted 1/64 that the bar leaves of the 1/32; the 1/128 after the bar has five flags.
  Draw("[ \\meter<\"1/16\"> c2/256 d2/256 e2/256 f2/256 g2/128 a2/64 h2/32 ]");
  EXPECT_EQ(beams(), 6);
  EXPECT_EQ(Glyphs(kDot).size(), 1u);
  EXPECT_EQ(Glyphs(245).size(), 1u);
  Draw("[ \\meter<\"1/16\"> _/256 _/256. _/128.. ]");
  EXPECT_EQ(Glyphs(249).size(), 2u);
  EXPECT_EQ(Glyphs(kDot).size(), 3u);
  // The bar cuts 7/64 into 1/16 and a dotted 1/32 tied to it.
  Draw("[ \\meter<\"1/16\"> c2/16.. d2/64 ]");
  EXPECT_EQ(Glyphs(kDot).size(), 1u);
  EXPECT_EQ(beams(), 4);
}

// A meter of three digits and more shows them all, centred over each other, clear of the clef
// before it and of the first note after it.
TEST_F(SmallCasesTest, LongMeterNumbersShowEveryDigitWithRoom) {
  Draw("[ \\clef<\"f4\"> \\meter<\"100/4\"> c0/1 ]");
  auto const ones = Glyphs(49), zeros = Glyphs(48), fours = Glyphs(kFour), clefs = Glyphs(63);
  ASSERT_EQ(ones.size(), 1u);
  ASSERT_EQ(zeros.size(), 2u);
  ASSERT_EQ(fours.size(), 1u);
  ASSERT_EQ(clefs.size(), 1u);
  EXPECT_NEAR((ones[0].ink.left + zeros[1].ink.right) / 2,
              (fours[0].ink.left + fours[0].ink.right) / 2, 5);
  EXPECT_GT(ones[0].ink.left, clefs[0].ink.right + 10);
  auto const notes = NoteRecords();
  ASSERT_EQ(notes.size(), 1u);
  EXPECT_GT(notes[0].desc.left, zeros[1].ink.right + 10);
}

// A partial beam runs along the slope of the beam it hangs from.
TEST_F(SmallCasesTest, PartialBeamsFollowTheSlopeOfTheirBeam) {
  Draw("[ \\meter<\"4/4\"> \\beam(c2/8. e2/16) \\beam(e1/8. a1/16) \\beam(a2/16 f2/8.) g2/2 ]");
  std::vector<float> slopes;
  for (auto const& shape : drawn.shapes)
    if (shape.xs.size() == 4)
      slopes.push_back((shape.ys[3] - shape.ys[0]) / (shape.xs[3] - shape.xs[0]));
  ASSERT_EQ(slopes.size(), 6u);  // a beam, then its partial beam, three times
  for (size_t i = 0; i < slopes.size(); i += 2) {
    EXPECT_NE(slopes[i], 0) << i;
    EXPECT_NEAR(slopes[i + 1], slopes[i], 1e-4) << i;
  }
}

// On a one-line staff the meter stands around the line and bar lines reach a space above and
// below it.
TEST_F(SmallCasesTest, MeterAndBarLinesOfAOneLineStaffStandAroundItsLine) {
  Draw("[ \\staffFormat<\"1-line\"> \\meter<\"4/4\"> c1/4 c c c | c c c c | c/1 ]");
  auto const lines = Records(2, 5);
  ASSERT_FALSE(lines.empty());
  float const line = lines[0].top;
  auto const fours = Glyphs(kFour);
  ASSERT_EQ(fours.size(), 2u);
  EXPECT_FLOAT_EQ(fours[0].y, line - 50);
  EXPECT_FLOAT_EQ(fours[1].y, line + 50);
  EXPECT_TRUE(Glyphs(kBar).empty());
  int bars = 0;
  for (auto const& shape : drawn.shapes) {
    if (!shape.xs.empty()) continue;  // a polygon
    ++bars;
    EXPECT_FLOAT_EQ(shape.top, line - 50);
    EXPECT_FLOAT_EQ(shape.bottom, line + 50);
  }
  EXPECT_EQ(bars, 4);  // two bar lines, the finish bar's thin and thick lines
}

TEST_F(SmallCasesTest, ATitleUnderANarrowTopMarginStaysOnThePage) {
  Draw(
      "[ \\pageFormat<\"a4\", lm=1cm, tm=1cm, rm=1cm, bm=1cm> \\title<\"Happy Birthday\"> "
      "\\meter<\"3/4\"> c1/4 d e ]");
  ASSERT_FALSE(drawn.texts.empty());
  auto const& title = drawn.texts[0];
  ASSERT_EQ(title.text, "Happy Birthday");
  int const size = std::stoi(title.font.substr(title.font.find('@') + 1));
  // Centred on its base line, which lies at least the font's size down the page.
  EXPECT_EQ(title.align, 8u | 1u);
  EXPECT_GE(title.y, size);
}

}  // namespace
