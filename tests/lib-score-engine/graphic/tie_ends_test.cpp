// Ties drawn on the real music font where ink crowds them: a tie still leaves its first head and
// reaches its second, so that a reader sees which notes it holds.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "drawn_score.h"

namespace {

using EngineTesting::DrawnScore;
using EngineTesting::Repeated;
using EngineTesting::TwoVoices;

constexpr float kSpace = 50;
// Black, half and whole note heads.
constexpr unsigned int kHeads[] = {88, 69, 119};
// A tie or slur is one band of two curves of 27 points each.
constexpr size_t kCurvePoints = 54;

class TieEndsTest : public DrawnScore {
 protected:
  struct Tip {
    float x, y;
  };
  // The left and right tips of each tie drawn.
  std::vector<std::pair<Tip, Tip>> TieTips() const {
    std::vector<std::pair<Tip, Tip>> tips;
    for (auto const& shape : drawn.shapes) {
      if (shape.xs.size() != kCurvePoints) continue;
      Tip left{1e9f, 0}, right{-1e9f, 0};
      for (size_t i = 0; i < shape.xs.size(); ++i) {
        if (shape.xs[i] < left.x) left = {shape.xs[i], shape.ys[i]};
        if (shape.xs[i] > right.x) right = {shape.xs[i], shape.ys[i]};
      }
      tips.push_back({left, right});
    }
    return tips;
  }
  // Whether a tip stands beside a head, on the side it leaves (reaches), within a quarter space
  // of it and no further than some 0.8 space over or under its middle.
  bool AtHead(Tip tip, bool leaving) const {
    for (unsigned int code : kHeads)
      for (auto const& head : Glyphs(code)) {
        float const middle = (head.ink.top + head.ink.bottom) / 2;
        bool const beside = leaving
                                ? tip.x >= head.ink.left && tip.x <= head.ink.right + kSpace / 4
                                : tip.x >= head.ink.left - kSpace / 4 && tip.x <= head.ink.right;
        if (beside && std::abs(tip.y - middle) <= 0.8f * kSpace) return true;
      }
    return false;
  }
};

// A tie that passes other notes on its way, with their signs and flags, rises over them and still
// joins its heads, rather than being cut back to begin or end by those notes, far from its own.
TEST_F(TieEndsTest, ATiePassingSignsOfOtherNotesStillJoinsItsHeads) {
  struct Case {
    std::string score;
    bool broken;  // the tie goes on from one line to the next
  } const cases[] = {
      // a held note under the other voice's quick notes, one of them with a sharp
      {TwoVoices("\\meter<\"4/4\"> _/8 a1/8 a1/4 f#1/4. f1/8 | e1/4 _/8. f1/16 a1/4 f2/4",
                 "g1/2 \\tie( f#1/2 | f#1/2 ) c1/2"),
       false},
  };
  for (Case const& c : cases) {
    SCOPED_TRACE(c.score);
    Draw(c.score);
    auto tips = TieTips();
    ASSERT_EQ(tips.size(), c.broken ? 2u : 1u);
    // On a broken tie the piece on the first line leaves its head, the other reaches its own.
    std::sort(tips.begin(), tips.end(),
              [](auto const& a, auto const& b) { return a.first.y < b.first.y; });
    EXPECT_TRUE(AtHead(tips.front().first, true)) << "leaves no head at " << tips.front().first.x;
    EXPECT_TRUE(AtHead(tips.back().second, false)) << "reaches no head at " << tips.back().second.x;
  }
}

// A tie on the stem side of a flagged note, where the next head stands close to the flag, begins
// after the flag rather than in it, and keeps low there, so that it still reads as a tie.
TEST_F(TieEndsTest, ATieLeavingAFlaggedNoteOnItsStemSideBeginsAfterTheFlag) {
  // Flags of eighth and sixteenth notes, stems up and down.
  constexpr unsigned int kFlags[] = {106, 107, 74, 75};
  std::string const narrow =
      "\\pageFormat<w=8cm, h=21cm, lm=0.5cm, tm=1cm, rm=0.5cm, bm=1cm> "
      "\\meter<\"6/8\", autoBarlines=\"off\"> ";
  std::string const cases[] = {
      // the note tied to stands in unison with the other voice's, so the tie keeps to its
      // voice's side, over the flag of the note it leaves, on lines squeezed to leave less than
      // a space after the flag
      TwoVoices(narrow + Repeated("e&1/4 \\tie( a1/8 a1/8 ) g#1/4", 7),
                Repeated("c1/4 e1/8 a1/8 e1/4", 7)),
  };
  for (std::string const& score : cases) {
    SCOPED_TRACE(score);
    Draw(score);
    ASSERT_FALSE(TieTips().empty());
    int inFlags = 0;
    for (unsigned int code : kFlags)
      for (auto const& flag : Glyphs(code))
        for (auto const& [left, right] : TieTips())
          for (Tip tip : {left, right})
            inFlags += tip.x > flag.ink.left && tip.x < flag.ink.right && tip.y > flag.ink.top &&
                       tip.y < flag.ink.bottom;
    EXPECT_EQ(inFlags, 0) << "ends of ties in a flag";
  }
}

}  // namespace
