#include "GRLineBreaker.h"

#include <algorithm>
#include <cmath>

namespace {

// Springs in series; a spring without stiffness makes the whole run give way.
float inSeries(float a, float b) {
  if (a == 0 || b == 0) return 0;
  return 1 / (1 / a + 1 / b);
}

bool rowHasCells(Entry::Row const& row) {
  for (auto const& cell : row)
    if (cell) return true;
  return false;
}

// Where the line's system lands: below the previous one, or first on a new page when it does
// not fit there.
struct Placement {
  float height;
  int newPage;
};

Placement placeLine(GRLineHeights const& heights, float above, float innerHeight) {
  Placement placement{heights.getHeight(false) + above, 0};
  if (placement.height > innerHeight) {
    placement.height = heights.getHeight(true);
    placement.newPage = 1;
    if (placement.height > innerHeight) placement.height = innerHeight;
  }
  return placement;
}

// Whether a path beats the one the cell holds: the one with fewer forced lines, then the one
// over fewer pages, then the cheaper. Both go on alike from the cell, so the order holds for
// whole paths as well.
bool cheaper(Entry const& entry, std::optional<Entry> const& cell) {
  if (!cell) return true;
  if (entry.forced != cell->forced) return entry.forced < cell->forced;
  if (entry.pages != cell->pages) return entry.pages < cell->pages;
  return entry.cost < cell->cost;
}

// The cheapest of the paths to each fill of the last page that take the fewest pages: a page
// turn costs the reader more than the spacing of lines that keep room saves, and each line a
// path sets keeps room already. How full the last page gets is no reason to set lines tighter
// or looser: a last page filled at any cost took lines of two bars.
std::optional<Entry> chooseFinalCell(std::vector<Entry::Row> const& table, int areas, int mode,
                                     int& slot) {
  Entry::Row const& last = table.back();
  if (mode == 1) {
    slot = 0;
    return last[0];
  }
  int chosen = -1;
  for (int s = 0; s < areas; ++s)
    if (last[s] && (chosen < 0 || cheaper(*last[s], last[chosen]))) chosen = s;
  if (chosen < 0) return std::nullopt;
  slot = chosen;
  return last[chosen];
}

// A line extended slice by slice from its first: its spacing at the optimum, its width at the
// tightest force it may be set at, and the force below which its events touch with its width
// at that force.
class LineUnderWay {
 public:
  LineUnderWay(std::vector<GRBreakSlice> const& slices, int first, GRLineBreakPage const& page)
      : mSlices(slices), mPage(page), mFirst(first), mLast(first - 1) {
    mWidth = page.innerWidth - (first == 0 ? page.firstLineIndent : 0);
    if (withBegin()) {
      mSpacing = *slices[first].begin;
      mTightWidth = slices[first].beginTightWidth.value_or(tightWidthOf(mSpacing, page.optForce));
    }
  }

  void add(int k) {
    const GRLineSpacing& slice = mSlices[k].spacing;
    // A slice in which no spring stretches at the optimum force (constant -1) adds width but
    // no give; taken into the series rule its -1 would make the line stiffer, or negative.
    if (slice.constant >= 0)
      mSpacing.constant =
          mSpacing.constant == -1 ? slice.constant : inSeries(slice.constant, mSpacing.constant);
    mSpacing.fixedExtent += slice.fixedExtent;
    mTightWidth += mSlices[k].tightWidth.value_or(tightWidthOf(slice, mPage.optForce));
    if (k > mFirst) mTightWidth += acrossWidthAt(k - 1, kTightestForceShare * mPage.optForce);
    mLast = k;
    float heads = mSlices[k].headsApartForce;
    if (k > mFirst) heads = std::max(heads, mSlices[k - 1].headsApartForceAcross);
    if (heads > mHeadsApartForce) {
      mHeadsApartForce = heads;
      mHeadsApartWidth = widthAt(mHeadsApartForce);
    } else if (mHeadsApartForce > 0) {
      mHeadsApartWidth += sliceWidthAt(k, mHeadsApartForce);
      if (k > mFirst) mHeadsApartWidth += acrossWidthAt(k - 1, mHeadsApartForce);
    }
  }

  // The force that fills the width, as the spacing at the optimum tells it.
  float force() const { return (mWidth - mSpacing.fixedExtent) * mSpacing.constant; }

  // A line in which nothing stretches is neither acceptable nor too tight: it only grows wider.
  GRLineJudgement judge() const {
    GRLineJudgement judgement = judgeLine(force() - mPage.optForce, mPage.optForce);
    // Heads and signs stand clear of each other only as far as the rods keep them.
    // Nor may neighbouring events touch: a line as wide as the page at a lower force is too
    // tight.
    if (mTightWidth > mWidth || mHeadsApartWidth > mWidth)
      judgement = {false, true, judgement.cost};
    if (mSpacing.constant <= 0) judgement = {false, false, judgement.cost};
    return judgement;
  }

 private:
  bool withBegin() const { return mFirst > 0 && mSlices[mFirst].begin.has_value(); }
  float sliceWidthAt(int k, float force) const {
    GRBreakSlice const& slice = mSlices[k];
    return slice.widthAt ? slice.widthAt(force) : widthOf(slice.spacing, force);
  }
  float acrossWidthAt(int k, float force) const {
    return mSlices[k].acrossWidthAt ? mSlices[k].acrossWidthAt(force) : 0;
  }
  // The width of the line so far at that force.
  float widthAt(float force) const {
    float width = 0;
    if (withBegin()) {
      GRBreakSlice const& first = mSlices[mFirst];
      width = first.beginWidthAt ? first.beginWidthAt(force) : widthOf(*first.begin, force);
    }
    for (int k = mFirst; k <= mLast; ++k) {
      width += sliceWidthAt(k, force);
      if (k > mFirst) width += acrossWidthAt(k - 1, force);
    }
    return width;
  }

  std::vector<GRBreakSlice> const& mSlices;
  GRLineBreakPage const& mPage;
  float mWidth = 0;
  GRLineSpacing mSpacing;
  float mTightWidth = 0;
  int mFirst;
  int mLast;
  float mHeadsApartForce = 0;
  float mHeadsApartWidth = 0;
};

// Whether a line may end after each slice. The slices between two strong breaks make a stretch
// that should stand on one line, as a bar of a long meter whose events offer weak breaks: only
// a stretch too long for a line as a whole, or one whose events a line could not keep apart,
// breaks between them.
std::vector<bool> lineEnds(std::vector<GRBreakSlice> const& slices, GRLineBreakPage const& page) {
  const int count = static_cast<int>(slices.size());
  std::vector<bool> ends(count, true);
  // The stretches whose slices the breaks after them join: one that fits a line stays whole.
  auto keepTogether = [&](auto joins) {
    for (int first = 0; first < count;) {
      int last = first;
      while (last + 1 < count && joins(last)) ++last;
      if (last > first) {
        LineUnderWay stretch(slices, first, page);
        for (int k = first; k <= last; ++k) stretch.add(k);
        if (!stretch.judge().tooTight) std::fill(ends.begin() + first, ends.begin() + last, false);
      }
      first = last + 1;
    }
  };
  keepTogether([&](int k) { return slices[k].weakBreak; });
  // A stretch too long for a line breaks at its weak breaks, and between beats only where the
  // part between two other breaks is itself too long.
  keepTogether([&](int k) { return ends[k] && slices[k].betweenBeats; });
  return ends;
}

}  // namespace

int Entry::getPageNumlines(std::vector<Row> const& table) const {
  int lines = 1;
  Entry const* cell = this;
  while (true) {
    if (cell->newPage) return lines;
    if (cell->startIndex < 0 || cell->startIndex >= static_cast<int>(table.size()) ||
        !rowHasCells(table[cell->startIndex]))
      return lines + 1;
    ++lines;
    auto const& previous = table[cell->startIndex][cell->startSlot];
    if (!previous) return lines;
    cell = &*previous;
  }
}

GRLineJudgement judgeLine(float deviation, float optForce) {
  if (deviation >= 0) return {deviation < 1.3f * optForce, false, deviation};
  const bool acceptable = deviation > -0.5f * optForce;
  return {acceptable, !acceptable, static_cast<float>(std::pow(-deviation, 1.2))};
}

float usedHeightAtDistance(float usedHeight, float distance, float defaultDistance) {
  if (usedHeight <= 0 || distance <= 0) return usedHeight;
  // A distance far below the default may take more than the page has used: the page is then
  // as good as empty.
  const float used = usedHeight - defaultDistance + distance;
  return used < 0 ? 0 : used;
}

float tightWidthOf(GRLineSpacing const& spacing, float optForce) {
  return widthOf(spacing, kTightestForceShare * optForce);
}

float widthOf(GRLineSpacing const& spacing, float force) {
  if (spacing.constant <= 0) return spacing.fixedExtent;
  return spacing.fixedExtent + force / spacing.constant;
}

int pageSlot(float h, float innerHeight, int areas) {
  // A page without room puts every height first, rather than dividing by its height.
  if (areas <= 1 || innerHeight <= 0) return 0;
  const float share = (h / innerHeight) * static_cast<float>(areas - 1);
  const int slot = static_cast<int>(std::floor(static_cast<double>(share) + 0.5));
  if (slot < 0) return 0;
  return slot < areas ? slot : areas - 1;
}

std::vector<breakentry> findOptimumBreakPath(std::vector<GRBreakSlice> const& slices,
                                             GRLineHeights& heights, GRLineBreakPage const& page) {
  const int count = static_cast<int>(slices.size());
  const int areas = page.areas < 1 ? 1 : page.areas;
  std::vector<Entry::Row> table(count + 1, Entry::Row(areas));
  const std::vector<bool> ends = lineEnds(slices, page);

  for (int i = 0; i < count; ++i) {
    if (i > 0 && !rowHasCells(table[i])) continue;
    const bool withBegin = i > 0 && slices[i].begin.has_value();

    // Sets the line from break index i to j, whose heights the collector holds, into the table.
    auto setLine = [&](int j, float cost, int forced) {
      if (i == 0) {
        const Placement placement = placeLine(heights, page.usedHeight, page.innerHeight);
        std::optional<Entry>& cell = table[j][pageSlot(placement.height, page.innerHeight, areas)];
        const Entry entry{
            cost, 0, 0, placement.newPage, placement.height, forced, placement.newPage};
        if (cheaper(entry, cell)) cell = entry;
        return;
      }
      for (int startSlot = 0; startSlot < areas; ++startSlot) {
        std::optional<Entry> const& from = table[i][startSlot];
        if (!from) continue;
        const Placement placement =
            placeLine(heights, from->pageHeight + page.systemDistance, page.innerHeight);
        std::optional<Entry>& cell = table[j][pageSlot(placement.height, page.innerHeight, areas)];
        const Entry entry{from->cost + cost,
                          i,
                          startSlot,
                          placement.newPage,
                          placement.height,
                          from->forced + forced,
                          from->pages + placement.newPage};
        if (cheaper(entry, cell)) cell = entry;
      }
    };
    // Sets the line over the slices i to last as one that no break could shorten or lengthen.
    auto forceLine = [&](int last, float cost) {
      heights.startLine(i, withBegin);
      for (int k = i; k <= last; ++k) heights.addSlice(k);
      setLine(last + 1, cost, 1);
    };

    LineUnderWay line(slices, i, page);
    heights.startLine(i, withBegin);
    bool leadsOn = false;
    // The last slice after which the line was too loose and could have ended, with its cost.
    int looseEnd = -1;
    float looseCost = 0;
    int k = i;
    for (; k < count; ++k) {
      line.add(k);
      heights.addSlice(k);
      const GRLineJudgement judgement = line.judge();
      if (!judgement.acceptable && !judgement.tooTight) {
        if (ends[k]) {
          looseEnd = k;
          looseCost = judgement.cost;
        }
        continue;
      }
      if (judgement.tooTight) {
        // No line from here may be set: the slices up to the last end, or this one alone when
        // even it is too tight, make a line as they are, so that the breaks after them stay
        // open.
        if (!leadsOn) {
          if (looseEnd < 0)
            setLine(k + 1, judgement.cost, 1);
          else
            forceLine(looseEnd, looseCost);
        }
        break;
      }
      if (!ends[k]) continue;
      const bool weak = slices[k].weakBreak && k + 1 < count;
      setLine(k + 1, judgement.cost + (weak ? kWeakBreakCostShare * page.optForce : 0), 0);
      leadsOn = true;
    }
    // The last slices are too loose for a line of their own, and no line led here that could
    // take them along: they still end the piece.
    if (k == count && !leadsOn && i > 0) forceLine(count - 1, looseCost);
  }

  std::vector<breakentry> path;
  int slot = 0;
  std::optional<Entry> cell = chooseFinalCell(table, areas, page.mode, slot);
  int end = count;
  // Found from the last line back, one line after the other.
  while (cell && cell->startIndex >= 0) {
    path.push_back(breakentry{cell->startIndex + 1, end - cell->startIndex, cell->newPage});
    end = cell->startIndex;
    cell = table[end][cell->startSlot];
  }
  std::reverse(path.begin(), path.end());
  return path;
}
