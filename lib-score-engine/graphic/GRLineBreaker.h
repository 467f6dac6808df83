#pragma once

#include <functional>
#include <optional>
#include <vector>

// The search for the best line and page breaks over the closed slices of a piece: a dynamic
// programme over break indexes (the point after the first j slices) and page slots (how full
// the page is after a line), judging each line by how far the force that fills the width lies
// from the optimum force. A line is too tight where that force leaves its bounds or where the
// heads of neighbouring events, or a head and the ledger lines beside it, would come closer
// than their air; signs, dots and syllables keep their room through the rods. Of the paths of
// lines that are not too tight, the one over the fewest pages goes first, then the cheapest.

// The spacing of a run of springs as the breaker sees it at the optimum force: the extent that
// does not stretch, and the series constant of the springs that do (-1 when none does).
struct GRLineSpacing {
  float fixedExtent = 0;
  float constant = -1;
};

// One closed slice: its own spacing and, when a line may start with it, the spacing of the
// begin elements (clef, key) that such a line would open with. The spacing at the optimum tells
// how a line stretches from there; how narrow it may get, the rods tell: a spring they hold
// longer than a lower force would make it keeps that length. So each also comes with its width
// at the tightest force a line may be set at (half the optimum force), when it was measured.
struct GRBreakSlice {
  GRLineSpacing spacing;
  std::optional<GRLineSpacing> begin;
  std::optional<float> tightWidth;
  std::optional<float> beginTightWidth;
  // The break after the slice is worth less than one at a bar line: between the events of
  // music without bar lines, or where the voices do not agree.
  bool weakBreak = false;
  // Weaker still: between the beats of a bar, taken only where the music between the breaks
  // worth more is too long for a line.
  bool betweenBeats = false;
  // The least force at which the heads of neighbouring events in the slice, and a head and the
  // ledger lines beside it, keep their air, and the same between its last event and the first
  // of the next slice, which counts where a line goes on past the break: below it they touch.
  // 0 where no force is needed.
  float headsApartForce = 0;
  float headsApartForceAcross = 0;
  // The width of the slice (and of its begin elements) at any force, as its rods and springs
  // make it; the spacing at the optimum tells it where these are not given.
  std::function<float(float)> widthAt{};
  std::function<float(float)> beginWidthAt{};
  // What a line that goes on past the break after the slice adds to its width at a force: the
  // rods across the break hold the slice's last spring longer than its own do. None when not
  // given.
  std::function<float(float)> acrossWidthAt{};
};

// What ending a line at a weak break costs on top of its spacing, as a share of the optimum
// force: enough that a bar line near by is taken instead.
constexpr float kWeakBreakCostShare = 0.5f;

// The tightest force a line may be set at, as a share of the optimum force.
constexpr float kTightestForceShare = 0.5f;
// The width of springs that stretch from nothing at the tightest force, as the spacing at the
// optimum tells it.
float tightWidthOf(GRLineSpacing const& spacing, float optForce);
// The width of springs that stretch from nothing at any force, as the spacing at the optimum
// tells it.
float widthOf(GRLineSpacing const& spacing, float force);

// Heights of candidate lines: a line is started, extended slice by slice and asked for its
// height below the previous system or as the first system of a page.
class GRLineHeights {
 public:
  virtual ~GRLineHeights() = default;
  virtual void startLine(int firstSlice, bool withBegin) = 0;
  virtual void addSlice(int slice) = 0;
  virtual float getHeight(bool firstOnPage) const = 0;
};

struct GRLineBreakPage {
  float innerWidth = 0;
  // Taken off the width of the first line only (a pending system format's offset).
  float firstLineIndent = 0;
  float innerHeight = 0;
  // Height already used on the page by earlier systems.
  float usedHeight = 0;
  float systemDistance = 0;
  int areas = 1;
  // 1 at a new-system tag: the search ends on the first slot of the page.
  int mode = 0;
  float optForce = 750;
};

// One table cell: the best path found to this break index and page slot. A path with fewer
// forced lines (a stretch that cannot break, set as a line of its own however tight or loose)
// is better than any with more; of those with as many, the one over fewer pages, then the
// cheaper.
struct Entry {
  float cost = 1e9f;
  int startIndex = -1;
  int startSlot = 0;
  int newPage = 0;
  float pageHeight = 0;
  int forced = 0;
  int pages = 0;  // new pages the path opens

  using Row = std::vector<std::optional<Entry>>;
  // Lines on the page on which the path ending here ends.
  int getPageNumlines(std::vector<Row> const& table) const;
};

// One chosen line, in line order.
struct breakentry {
  int firstSlice;  // 1-based
  int numSlices;
  int newPage;
};

// A line's judgement: whether it may be set, and what it costs.
struct GRLineJudgement {
  bool acceptable;
  bool tooTight;  // not acceptable and tighter than the optimum: longer lines are worse
  float cost;
};

// d is the line's force minus the optimum force.
GRLineJudgement judgeLine(float deviation, float optForce);
// The height used on the page when the next system stands at a one-shot distance instead of
// the default one (no distance when it is not positive); never below 0.
float usedHeightAtDistance(float usedHeight, float distance, float defaultDistance);
// The page slot of a height h on a page of inner height H.
int pageSlot(float h, float innerHeight, int areas);

// The chosen lines, empty when no path of acceptable lines reaches the last slice.
std::vector<breakentry> findOptimumBreakPath(std::vector<GRBreakSlice> const& slices,
                                             GRLineHeights& heights, GRLineBreakPage const& page);
