// What opens a line: clef, key and meter in that order, then the repeat sign, whatever order the
// text wrote them in, at the line's start; a line broken before a repeat sign ends with its bar
// line.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "drawn_score.h"

namespace {

using EngineTesting::DrawnScore;

constexpr unsigned int kTreble = 38, kBass = 63, kFlat = 98, kThree = '3', kFour = '4';
constexpr unsigned int kBar = 139, kRepeatBegin = 93, kRepeatEnd = 125, kFinishBar = 92;

// Clefs, accidentals, meter digits, bar lines and repeat signs: what stands between notes.
bool IsStaffSign(unsigned int code) {
  return code == kTreble || code == kBass || EngineTesting::IsAccidental(code) ||
         (code >= '0' && code <= '9') || code == kBar || code == kRepeatBegin ||
         code == kRepeatEnd || code == kFinishBar;
}
constexpr int kSystem = 7;

class LineStartOrderTest : public DrawnScore {
 protected:
  struct Line {
    std::vector<unsigned int> opening;  // the signs before the first note, left to right
    std::vector<unsigned int> ending;   // the last sign drawn on the line
    float ends = 0;                     // where the staff of the line ends
  };

  std::vector<Line> Lines() const {
    std::vector<Line> lines;
    auto const notes = NoteRecords();
    for (int page = 1; page <= Pages(); ++page)
      for (ScoreElementDesc const& system : LeftToRight(Records(kSystem, -1, page))) {
        auto inside = [&](float y) { return y >= system.top && y <= system.bottom; };
        float first = system.right;
        for (auto const& [onPage, note] : notes)
          if (onPage == page && inside(note.refY)) first = std::min(first, note.headX);
        std::vector<std::pair<float, unsigned int>> before, all;
        for (auto const& glyph : drawn.glyphs) {
          if (glyph.page != page || !inside(glyph.y) || !IsStaffSign(glyph.code)) continue;
          all.push_back({glyph.x, glyph.code});
          if (glyph.x < first) before.push_back({glyph.x, glyph.code});
        }
        std::stable_sort(before.begin(), before.end(),
                         [](auto const& a, auto const& b) { return a.first < b.first; });
        Line line;
        for (auto const& [x, code] : before) line.opening.push_back(code);
        auto const last = std::max_element(
            all.begin(), all.end(), [](auto const& a, auto const& b) { return a.first < b.first; });
        if (last != all.end()) line.ending = {last->second};
        line.ends = system.right;
        lines.push_back(line);
      }
    return lines;
  }

  bool Warned() const { return warnings.find("Meter set before key !") != std::string::npos; }
};

using Codes = std::vector<unsigned int>;

// A repeat begin written before the clef, key or meter, on the first line or after a written
// break: the line opens with clef, key and meter, in that order, and then the repeat sign.
TEST_F(LineStartOrderTest, ClefKeyAndMeterOpenALineBeforeTheRepeatSign) {
  Draw(
      "[ \\repeatBegin \\clef<\"bass\"> \\key<\"F\"> \\meter<\"3/4\"> c0/2. | f0/2. \\repeatEnd ]");
  auto lines = Lines();
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0].opening, (Codes{kBass, kFlat, kThree, kFour, kRepeatBegin}));
  EXPECT_FALSE(Warned());

  Draw(
      "[ \\clef<\"bass\"> \\key<\"F\"> \\meter<\"3/4\"> c0/2. | f0/2. \\newSystem \\repeatBegin "
      "\\clef<\"bass\"> e0/2. | f0/2. \\repeatEnd ]");
  lines = Lines();
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[1].opening, (Codes{kBass, kFlat, kRepeatBegin}));

  Draw(
      "[ \\clef<\"bass\"> \\key<\"F\"> \\meter<\"4/4\"> c0/1 | f0/1 \\newSystem \\repeatBegin "
      "\\meter<\"3/4\"> e0/2. | f0/2. \\repeatEnd ]");
  lines = Lines();
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[1].opening, (Codes{kBass, kFlat, kThree, kFour, kRepeatBegin}));
}

// A key and meter change written meter first is drawn key first, with the warning; a line that
// opens with another tag before its key gets no warning.
TEST_F(LineStartOrderTest, AKeyStandsBeforeTheMeterAndOnlyAMeterBeforeItIsWarnedOf) {
  Draw("[ \\key<\"C\"> \\meter<\"4/4\"> c2/2 d2/2 | \\meter<\"3/4\"> \\key<\"F\"> f2/2. | g2/2. ]");
  std::vector<float> flats, threes;
  for (auto const& glyph : Glyphs(kFlat)) flats.push_back(glyph.x);
  for (auto const& glyph : Glyphs(kThree)) threes.push_back(glyph.x);
  ASSERT_EQ(flats.size(), 1u);
  ASSERT_EQ(threes.size(), 1u);
  EXPECT_LT(flats[0], threes[0]);
  EXPECT_TRUE(Warned());

  for (char const* score :
       {"[ \\title<\"T\"> \\key<\"G\"> \\meter<\"4/4\"> c2/1 ]",
        "[ \\repeatBegin \\key<\"G\"> \\meter<\"4/4\"> c2/1 \\repeatEnd ]",
        "[ \\meter<\"4/4\"> c2/1 \\newSystem \\repeatBegin \\key<\"G\"> d2/1 ]"}) {
    SCOPED_TRACE(score);
    Draw(score);
    EXPECT_FALSE(Warned()) << warnings;
  }
  Draw("[ \\meter<\"4/4\"> \\key<\"G\"> c2/1 ]");
  EXPECT_TRUE(Warned());
}

// The layout breaks the line where a repeat begins, written with or without a bar line before
// it: the first line ends with a bar line at its end, the repeat sign opens the next line after
// its clef; where no break falls the sign stands alone between the measures.
TEST_F(LineStartOrderTest, ALineBrokenBeforeARepeatEndsWithItsBarLine) {
  std::string const up = "c2/8 d e f g a h c3";
  std::string const down = "c3/8 h2 a g f e d c";
  for (std::string const& before : {std::string(" "), std::string(" | ")}) {
    std::string const score = "[ \\meter<\"4/4\"> " + up + " | " + down + before +
                              "\\repeatBegin " + up + " | " + down + " | " + up + " | " + down +
                              " \\repeatEnd | c2/1 ]";
    SCOPED_TRACE(score);
    Draw(score);
    auto const lines = Lines();
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0].ending, Codes{kBar});
    EXPECT_EQ(lines[1].opening, (Codes{kTreble, kRepeatBegin}));
    EXPECT_EQ(Glyphs(kRepeatBegin).size(), 1u);
    // The bar line ends the staff: no bit of staff after it.
    auto const bars = Glyphs(kBar);
    float lastOnFirstLine = 0;
    for (auto const& bar : bars)
      if (bar.y < Records(kSystem)[1].top) lastOnFirstLine = std::max(lastOnFirstLine, bar.x);
    EXPECT_NEAR(lastOnFirstLine, lines[0].ends, 5);
  }
  for (char const* score : {"[ \\meter<\"4/4\"> c2/1 \\repeatBegin d2/1 | e2/1 \\repeatEnd ]",
                            "[ \\meter<\"4/4\"> c2/1 | \\repeatBegin d2/1 | e2/1 \\repeatEnd ]"}) {
    SCOPED_TRACE(score);
    Draw(score);
    auto const lines = Lines();
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(Glyphs(kRepeatBegin).size(), 1u);
    // The bars after d and after e only; none before the repeat sign.
    EXPECT_EQ(Glyphs(kBar).size(), 1u);
  }
}

// A line the layout breaks just after a key change opens with its clef and key at their own
// width, whatever the signs of the line before needed: the music gets the line's room.
TEST_F(LineStartOrderTest, ALineOpensWithItsClefAtItsStart) {
  for (char const* score : {
           // A key change with words, two events before the break.
           "{ [ \\pageFormat<w=13cm, h=18cm, lm=0.5cm, tm=1cm, rm=0.5cm, bm=1cm> \\key<-5> "
           "\\cresc( h&1/2. | d2/2. _/4 g&1/8 ) \\stacc( \\beam( g&&1/8 c2/8 g&2/8 ) f2/16 ) "
           "a2/16 g&2/8 g&2/8 _/4 {e&2/8, a&1/8} \\key<-6> \\t<\"a tempo\"> g&2/4. ], "
           "[ \\fingering<\"4\">( d&0/2. ) e&&0/4 h&-1/8 \\accent( c0/4 ) e&0/8 d&0/2. "
           "\\cresc( {a&-1/4, c#0/4, e&0/4} g&-1/8 \\marcato( {a&-1/4., c0/4., e&0/4.} ) ) "
           "\\key<-6> \\slur( g&&-1/4 e&-1/8 d&0/8 ) ] }",
       }) {
    SCOPED_TRACE(score);
    Draw(score);
    auto clefs = Glyphs(kTreble);
    for (auto const& glyph : Glyphs(kBass)) clefs.push_back(glyph);
    auto const lines = DrawnLines();
    ASSERT_GT(lines.size(), 2u);
    for (auto const& line : lines) {
      float first = line.system.right;
      for (auto const& clef : clefs)
        if (clef.page == line.page && clef.y >= line.system.top && clef.y <= line.system.bottom)
          first = std::min(first, clef.x);
      EXPECT_LT(first - line.system.left, (line.system.right - line.system.left) / 10)
          << "line at " << line.system.top;
    }
  }
}

}  // namespace
