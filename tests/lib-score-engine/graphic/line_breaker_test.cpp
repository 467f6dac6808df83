#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <vector>

#include "GRLineBreaker.h"

namespace {

// Lines as tall as their tallest slice, a little taller at the top of a page.
class SliceHeights : public GRLineHeights {
 public:
  explicit SliceHeights(std::vector<float> heights) : mHeights(std::move(heights)) {}
  void startLine(int, bool) override { mLine = 0; }
  void addSlice(int slice) override { mLine = std::max(mLine, mHeights[slice]); }
  float getHeight(bool firstOnPage) const override { return mLine + (firstOnPage ? 10 : 0); }

 private:
  std::vector<float> mHeights;
  float mLine = 0;
};

GRLineBreakPage OneArea(float width) {
  GRLineBreakPage page;
  page.innerWidth = width;
  page.innerHeight = 1e6f;
  page.systemDistance = 75;
  return page;
}

TEST(LineBreakerTest, LinesAreJudgedByTheirDeviationFromTheOptimumForce) {
  struct Case {
    float deviation;
    bool acceptable, tooTight;
    float cost;
  } const cases[] = {
      {0, true, false, 0},          {974, true, false, 974},       {975, false, false, 975},
      {-300, true, false, 938.74f}, {-374, true, false, 1223.05f}, {-375, false, true, 0},
  };
  for (Case const& c : cases) {
    const GRLineJudgement judgement = judgeLine(c.deviation, 750);
    EXPECT_EQ(judgement.acceptable, c.acceptable) << c.deviation;
    EXPECT_EQ(judgement.tooTight, c.tooTight) << c.deviation;
    if (c.acceptable) {
      EXPECT_NEAR(judgement.cost, c.cost, 0.1) << c.deviation;
    }
  }
}

TEST(LineBreakerTest, HeightsFallIntoPageSlotsByFill) {
  EXPECT_EQ(pageSlot(950, 1000, 12), 10);
  EXPECT_EQ(pageSlot(1000, 1000, 12), 11);
  EXPECT_EQ(pageSlot(0, 1000, 12), 0);
  EXPECT_EQ(pageSlot(950, 1000, 1), 0);
  // A page without room puts everything first instead of dividing by its height.
  EXPECT_EQ(pageSlot(950, 0, 12), 0);
  EXPECT_EQ(pageSlot(950, -20, 12), 0);
}

TEST(LineBreakerTest, AOneShotSystemDistanceReplacesTheDefaultInTheUsedHeight) {
  EXPECT_EQ(usedHeightAtDistance(300, 100, 75), 325);
  EXPECT_EQ(usedHeightAtDistance(300, -1, 75), 300);
  EXPECT_EQ(usedHeightAtDistance(0, 10, 75), 0);
  // A distance that takes more than the page used leaves it empty rather than negative.
  EXPECT_EQ(usedHeightAtDistance(50, 10, 75), 0);
}

// A slice of the given spacing, with nothing else set.
GRBreakSlice SliceOf(GRLineSpacing spacing) {
  GRBreakSlice slice;
  slice.spacing = spacing;
  return slice;
}

// The line as the breaker judges it, or no value when it may not be set.
std::optional<float> LineCost(std::vector<GRBreakSlice> const& slices, int first, int end,
                              float width) {
  GRLineSpacing line;
  if (first > 0 && slices[first].begin) line = *slices[first].begin;
  for (int k = first; k < end; ++k) {
    const float c = slices[k].spacing.constant;
    line.constant = line.constant == -1 ? c : 1 / (1 / c + 1 / line.constant);
    line.fixedExtent += slices[k].spacing.fixedExtent;
  }
  if (line.constant <= 0) return std::nullopt;
  const GRLineJudgement judgement =
      judgeLine((width - line.fixedExtent) * line.constant - 750, 750);
  if (!judgement.acceptable) return std::nullopt;
  return judgement.cost;
}

// The cheapest split into acceptable lines, by trying every split.
std::optional<float> CheapestSplit(std::vector<GRBreakSlice> const& slices, float width) {
  const int n = static_cast<int>(slices.size());
  std::optional<float> best;
  for (unsigned mask = 0; mask < (1u << (n - 1)); ++mask) {
    float total = 0;
    bool fits = true;
    for (int first = 0, k = 1; k <= n && fits; ++k) {
      if (k < n && !(mask & (1u << (k - 1)))) continue;
      const std::optional<float> cost = LineCost(slices, first, k, width);
      fits = cost.has_value();
      if (fits) total += *cost;
      first = k;
    }
    if (fits && (!best || total < *best)) best = total;
  }
  return best;
}

TEST(LineBreakerTest, ChosenBreaksCostTheLeastThatAnyAcceptableSplitCosts) {
  std::mt19937 random(21);
  std::uniform_real_distribution<float> extent(40, 300);
  std::uniform_real_distribution<float> constant(1, 12);
  int found = 0;
  for (int round = 0; round < 300; ++round) {
    const int count = 1 + round % 10;
    std::vector<GRBreakSlice> slices(count);
    for (GRBreakSlice& slice : slices) {
      slice.spacing = {extent(random), constant(random)};
      if (random() % 2) slice.begin = GRLineSpacing{extent(random) / 4, constant(random) * 4};
    }
    SliceHeights heights(std::vector<float>(count, 200));
    const float width = 900;
    const std::vector<breakentry> path = findOptimumBreakPath(slices, heights, OneArea(width));
    const std::optional<float> cheapest = CheapestSplit(slices, width);
    // Without any split into acceptable lines the lines that cannot be split are set as they
    // are: the path, when there is one, still takes every slice in order.
    ASSERT_TRUE(cheapest || path.empty() ||
                path.back().firstSlice + path.back().numSlices == count + 1)
        << "round " << round;
    if (!cheapest) continue;
    ASSERT_FALSE(path.empty()) << "round " << round;
    ++found;
    float total = 0;
    int next = 1;
    for (breakentry const& line : path) {
      ASSERT_EQ(line.firstSlice, next);
      const std::optional<float> cost =
          LineCost(slices, line.firstSlice - 1, line.firstSlice - 1 + line.numSlices, width);
      ASSERT_TRUE(cost) << "round " << round << ": an unacceptable line where none is needed";
      total += *cost;
      next += line.numSlices;
    }
    EXPECT_EQ(next, count + 1);
    EXPECT_NEAR(total, *cheapest, 1e-3f * std::max(1.0f, *cheapest)) << "round " << round;
  }
  EXPECT_GT(found, 100);
}

// Each slice fills a line at the optimum force and two are far too tight, so every slice is a
// line; 400 high, three lines do not fit on a page 1000 high.
TEST(LineBreakerTest, ALineThatDoesNotFitStartsANewPage) {
  std::vector<GRBreakSlice> slices(3, SliceOf({500, 1.5f}));
  SliceHeights heights({400, 400, 400});
  GRLineBreakPage page = OneArea(1000);
  page.innerHeight = 1000;
  page.areas = 12;
  const std::vector<breakentry> path = findOptimumBreakPath(slices, heights, page);
  ASSERT_EQ(path.size(), 3u);
  EXPECT_EQ(path[0].newPage, 0);
  EXPECT_EQ(path[1].newPage, 0);
  EXPECT_EQ(path[2].newPage, 1);

  // A new-system tag ends the search on the first page slot, which only a short page reaches.
  page.mode = 1;
  EXPECT_TRUE(findOptimumBreakPath(slices, heights, page).empty());
  page.areas = 1;
  EXPECT_EQ(findOptimumBreakPath(slices, heights, page).size(), 3u);
}

// Slices between two possible breaks at one time hold no spring that stretches; they must not
// stiffen the line they join.
TEST(LineBreakerTest, ASliceInWhichNothingStretchesAddsNoStiffness) {
  const GRBreakSlice notes = SliceOf({500, 1.5f});
  const GRBreakSlice still = SliceOf({0, -1});
  const std::vector<GRBreakSlice> slices{notes, still, notes, still};
  SliceHeights heights({100, 100, 100, 100});
  const std::vector<breakentry> path = findOptimumBreakPath(slices, heights, OneArea(1000));
  ASSERT_EQ(path.size(), 2u);
  EXPECT_EQ(path[1].firstSlice + path[1].numSlices, 5);
}

TEST(LineBreakerTest, LooseLinesOnlyGiveNoPath) {
  std::vector<GRBreakSlice> slices(2, SliceOf({10, 10}));
  SliceHeights heights({100, 100});
  EXPECT_TRUE(findOptimumBreakPath(slices, heights, OneArea(5000)).empty());
}

// Two slices make a line at the optimum force as their springs tell it; where rods hold the
// springs longer, the two are too tight for one line.
TEST(LineBreakerTest, ALineIsTooTightWhereItsRodsDoNotLetItShrinkToTheWidth) {
  GRBreakSlice a{{100, 1.875f}, std::nullopt, std::nullopt, std::nullopt};
  SliceHeights heights({100, 100});
  EXPECT_EQ(findOptimumBreakPath({a, a}, heights, OneArea(1000)).size(), 1u);
  a.tightWidth = 600;
  EXPECT_EQ(findOptimumBreakPath({a, a}, heights, OneArea(1000)).size(), 2u);
}

// The same two slices on one line stand at the optimum force, each alone far looser: they make
// two lines where the heads in a slice, or those at the break between the slices, would touch
// below a force too high for one line, or where the rods across that break widen the line
// beyond the page. What stands at the break after the line's last slice asks nothing of it.
TEST(LineBreakerTest, ALineIsTooTightWhereItsHeadsWouldTouch) {
  struct Case {
    float heads;        // of the first slice
    float across;       // at the break after the slice, first and last
    bool lastOnly;      // only the last slice has the break's heads and width
    float acrossWidth;  // what the rods across the break add at any force
    size_t lines;
  } const cases[] = {
      {0, 0, false, 0, 1},  {700, 0, false, 0, 1}, {800, 0, false, 0, 2}, {0, 800, false, 0, 2},
      {0, 800, true, 0, 1}, {0, 0, false, 300, 1}, {0, 0, false, 500, 2}, {0, 0, true, 500, 1},
  };
  SliceHeights heights({100, 100});
  for (Case const& c : cases) {
    std::vector<GRBreakSlice> slices(2, SliceOf({100, 1.875f}));
    slices[0].headsApartForce = c.heads;
    for (size_t k = c.lastOnly ? 1 : 0; k < slices.size(); ++k) {
      slices[k].headsApartForceAcross = c.across;
      slices[k].acrossWidthAt = [&c](float) { return c.acrossWidth; };
    }
    EXPECT_EQ(findOptimumBreakPath(slices, heights, OneArea(1000)).size(), c.lines)
        << c.heads << " " << c.across << " " << c.lastOnly << " " << c.acrossWidth;
  }
}

// Lines 400 high. Lines of three slices are set a little loose, of four tighter and of five
// tighter still, each at a force of its own. Thirteen slices take one page of three lines (four,
// four and five slices) where the events keep their air at the tightest line's force, else two
// pages of four lines; nine slices take one page of two lines (four and five slices) rather
// than two pages of three-slice lines, two to a page, however much more even those are.
TEST(LineBreakerTest, TheFewestPagesAreTakenOnLinesThatKeepRoom) {
  struct Case {
    int slices;
    float headsApartForce;
    int linesPerPage;
    int pages;
  } const cases[] = {{13, 0, 3, 1}, {13, 500, 3, 2}, {9, 0, 2, 1}};
  for (Case const& c : cases) {
    GRBreakSlice slice = SliceOf({100, 4.3f});
    slice.headsApartForce = c.headsApartForce;
    SliceHeights heights(std::vector<float>(c.slices, 400));
    GRLineBreakPage page = OneArea(1000);
    page.innerHeight = 500.0f * c.linesPerPage;
    page.areas = 12;
    int pages = 1;
    for (breakentry const& line :
         findOptimumBreakPath(std::vector<GRBreakSlice>(c.slices, slice), heights, page))
      pages += line.newPage;
    EXPECT_EQ(pages, c.pages) << c.slices << " slices, room from force " << c.headsApartForce;
  }
}

}  // namespace

// Two bars of four beats, a slice each, joined by the breaks between their beats, and in music
// without bar lines halves of two beats joined by a weak break. A line ends between beats only
// where the bar, or the half, holds more than a line keeps apart.
TEST(LineBreakerTest, ALineEndsBetweenBeatsOnlyWhereTheirStretchIsTooLong) {
  struct Case {
    float beatTightWidth;
    bool halves;
    bool betweenBeats;
  } const cases[] = {
      {200, false, false}, {300, false, true}, {300, true, false}, {600, true, true}};
  SliceHeights heights(std::vector<float>(8, 100));
  for (Case const& c : cases) {
    std::vector<GRBreakSlice> slices(8, SliceOf({50, 3.75f}));
    for (size_t k = 0; k < slices.size(); ++k) {
      const size_t beat = k % 4;
      slices[k].tightWidth = c.beatTightWidth;
      slices[k].weakBreak = beat != 3;
      slices[k].betweenBeats = beat != 3 && !(c.halves && beat == 1);
    }
    const std::vector<breakentry> lines = findOptimumBreakPath(slices, heights, OneArea(1000));
    ASSERT_FALSE(lines.empty()) << c.beatTightWidth << " " << c.halves;
    bool betweenBeats = false;
    for (breakentry const& line : lines)
      betweenBeats = betweenBeats || slices[line.firstSlice + line.numSlices - 2].betweenBeats;
    EXPECT_EQ(betweenBeats, c.betweenBeats) << c.beatTightWidth << " " << c.halves;
  }
}
