// Where the layout breaks lines of its own accord: every line within the page's margins, and the
// lines of a page about equally full.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "GRPage.h"
#include "drawn_score.h"

namespace {

using EngineTesting::DrawnScore;
using EngineTesting::PlacingDevice;

constexpr int kBar = 3;
constexpr int kStaff = 5;
constexpr unsigned int kBlackHead = 88;

std::string Repeated(std::string const& bar, int times) {
  std::string text;
  for (int n = 0; n < times; ++n) text += bar + " ";
  return text;
}

class LineBreakingTest : public DrawnScore {
 protected:
  // The rightmost ink, staff line or note drawn past the right margin of its page, 0 when none.
  float PastTheMargin() const {
    float past = 0;
    auto take = [&](int page, float right) {
      GRPage const* drawnOn = music->getPage(page);
      past = std::max(past, right - (drawnOn->getPageWidth() - drawnOn->getMarginRight()));
    };
    for (PlacingDevice::Glyph const& glyph : drawn.glyphs) take(glyph.page, glyph.ink.right);
    for (auto const& [page, record] : placed.records)
      if (record.kind == kStaff || record.kind == 1) take(page, record.right);
    return past;
  }
  // The top lines of the staves of a line, top down.
  std::vector<float> StavesOf(DrawnLine const& line) const {
    std::vector<float> tops;
    for (auto const& [page, record] : placed.records)
      if (page == line.page && record.kind == kStaff && line.Holds(record.refY) &&
          std::find(tops.begin(), tops.end(), record.refY) == tops.end())
        tops.push_back(record.refY);
    std::sort(tops.begin(), tops.end());
    return tops;
  }
  static float NearestStaff(std::vector<float> const& tops, float y) {
    return *std::min_element(tops.begin(), tops.end(), [y](float a, float b) {
      return std::abs(a + 100 - y) < std::abs(b + 100 - y);
    });
  }
  // The line that holds the note at that date, -1 when none does.
  int LineOf(float date) const {
    std::vector<DrawnLine> const lines = DrawnLines();
    for (size_t n = 0; n < lines.size(); ++n)
      for (ScoreElementDesc const& note : lines[n].notes)
        if (std::abs(note.date - date) < 1e-4f) return static_cast<int>(n);
    return -1;
  }
};

// Three bars, six that may not break, six more and a whole note; four bars, one 24/4 bar of
// eighths and four bars. The stretch that cannot break is a line of its own, as tight as it must
// be to stay on the page, and the music around it breaks as it would without it.
TEST_F(LineBreakingTest, AStretchThatCannotBreakIsSqueezedOntoThePageBetweenLinesOfItsOwn) {
  std::string const eighths = "c2/8 d2 e2 f2 g2 a2 h2 c3 |";
  std::string const quarters = "c2/4 d2 e2 f2 |";
  struct Case {
    std::string score;
    float inStretch;  // the date of a note in the stretch
    float after;      // and of the last note
  } const cases[] = {
      {"[ \\meter<\"4/4\"> " + Repeated(eighths, 3) + "\\set<systemBreak=\"off\"> " +
           Repeated(eighths, 6) + "\\set<systemBreak=\"on\"> " + Repeated(eighths, 6) + "c2/1 ]",
       5, 15},
      {"[ \\meter<\"4/4\"> " + Repeated(quarters, 4) + "\\meter<\"24/4\"> " +
           Repeated("c2/8 d2 e2 f2 g2 a2 h2 c3", 6) + "| \\meter<\"4/4\"> " +
           Repeated(quarters, 4) + "]",
       5, 13.75f},
  };
  for (Case const& c : cases) {
    SCOPED_TRACE(c.score);
    Draw(c.score);
    EXPECT_LE(PastTheMargin(), 1);
    int const stretch = LineOf(c.inStretch);
    ASSERT_GE(stretch, 0);
    EXPECT_LT(LineOf(0), stretch) << "no break before the stretch";
    EXPECT_GT(LineOf(c.after), stretch) << "no break after the stretch";
  }
}

// Thirty-two bars of sixteenths and eighths in two hands, with ledger lines and sharps: the
// lines of each page hold about as many bars each and are spaced alike.
TEST_F(LineBreakingTest, ThePageSharesItsBarsEvenlyAmongItsLines) {
  char const* const right[] = {"a2/16 h2 c#3 d3 e3/8 c#3", "d3/16 e3 f#3 g3 a3/8 f#3",
                               "e3/16 d3 c#3 h2 a2/8 e2", "f#2/16 g#2 a2 h2 c#3/8 a2"};
  char const* const left[] = {"a0/8 e1 c#1 e1", "d1/8 a0 f#0 a0", "e0/8 h0 g#0 h0",
                              "a-1/8 e0 c#1 e0"};
  std::string upper, lower;
  for (int bar = 0; bar < 32; ++bar) {
    upper += std::string(bar ? " | " : "") + right[bar % 4];
    lower += std::string(bar ? " | " : "") + left[bar % 4];
  }
  Draw("{ [ \\staff<1> \\clef<\"g\"> \\meter<\"2/4\"> " + upper +
       " ], [ \\staff<2> \\clef<\"f\"> \\meter<\"2/4\"> " + lower + " ] }");

  std::vector<DrawnLine> const lines = DrawnLines();
  ASSERT_GT(lines.size(), 2u);
  for (int page = 1; page <= Pages(); ++page) {
    int fewest = 1000, most = 0;
    for (DrawnLine const& line : lines) {
      if (line.page != page) continue;
      // One bar line of the upper staff ends each bar.
      std::vector<float> const staves = StavesOf(line);
      int count = 0;
      for (auto const& [onPage, bar] : placed.records)
        if (onPage == page && bar.kind == kBar && line.Holds(bar.top) &&
            std::abs(bar.top - staves.front()) < 10)
          ++count;
      fewest = std::min(fewest, count);
      most = std::max(most, count);
    }
    EXPECT_LE(most - fewest, 1) << "page " << page;
  }

  // The sixteenths of the upper staff stand about as far apart on every line of a page: no line
  // is crammed to fill the page, nor left loose.
  for (int page = 1; page <= Pages(); ++page) {
    float closest = 1e9f, widest = 0;
    for (DrawnLine const& line : lines) {
      if (line.page != page) continue;
      std::vector<float> const staves = StavesOf(line);
      std::vector<float> heads;
      for (PlacingDevice::Glyph const& glyph : drawn.glyphs)
        if (glyph.page == page && glyph.code == kBlackHead && line.Holds(glyph.y) &&
            NearestStaff(staves, glyph.y) == staves.front())
          heads.push_back(glyph.x);
      std::sort(heads.begin(), heads.end());
      float step = 1e9f;
      for (size_t n = 1; n < heads.size(); ++n)
        if (heads[n] - heads[n - 1] > 1) step = std::min(step, heads[n] - heads[n - 1]);
      closest = std::min(closest, step);
      widest = std::max(widest, step);
    }
    EXPECT_LT(widest, 1.5f * closest) << "page " << page;
  }
}

}  // namespace
