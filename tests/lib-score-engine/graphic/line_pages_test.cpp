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

}  // namespace
