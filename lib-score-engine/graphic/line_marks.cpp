#include "line_marks.h"

#include <algorithm>
#include <limits>
#include <tuple>
#include <vector>

#include "ARCast.h"
#include "GRDummy.h"
#include "GRIntens.h"
#include "GRJump.h"
#include "GRSystem.h"
#include "GRText.h"

namespace {
// Between two jump marks side by side.
constexpr float kJumpGap = 25;
// Between a text and a dynamic mark over it, in line spaces.
constexpr float kDynamicGap = 0.2f;

// How low the things already placed under a line reach over stretches of it: a stretch asks
// for the lowest bottom among the boxes placed across it, and a placed box lowers its own
// stretch. The x positions are known beforehand, so the stretches are runs of them.
class Floor {
 public:
  explicit Floor(std::vector<float> xs) : mXs(std::move(xs)) {
    std::sort(mXs.begin(), mXs.end());
    mXs.erase(std::unique(mXs.begin(), mXs.end()), mXs.end());
    mLowest.assign(4 * std::max<size_t>(1, mXs.size()), kNone);
    mAll.assign(mLowest.size(), kNone);
  }
  // The lowest bottom placed over any part of [left, right).
  float lowestOver(float left, float right) const {
    auto [from, to] = runOf(left, right);
    return from < to ? lowest(1, 0, span(), from, to) : kNone;
  }
  void place(float left, float right, float bottom) {
    auto [from, to] = runOf(left, right);
    if (from < to) lower(1, 0, span(), from, to, bottom);
  }

  static constexpr float kNone = -std::numeric_limits<float>::infinity();

 private:
  int span() const { return static_cast<int>(std::max<size_t>(1, mXs.size())); }
  // The indices of the x positions from left up to right.
  std::pair<int, int> runOf(float left, float right) const {
    auto const from = std::lower_bound(mXs.begin(), mXs.end(), left);
    auto const to = std::lower_bound(mXs.begin(), mXs.end(), right);
    return {static_cast<int>(from - mXs.begin()), static_cast<int>(to - mXs.begin())};
  }
  // Node covers [begin, end); mLowest holds the lowest bottom under it, mAll one placed across
  // all of it.
  float lowest(int node, int begin, int end, int from, int to) const {
    if (to <= begin || end <= from) return kNone;
    if (from <= begin && end <= to) return mLowest[node];
    int const middle = (begin + end) / 2;
    return std::max({mAll[node], lowest(2 * node, begin, middle, from, to),
                     lowest(2 * node + 1, middle, end, from, to)});
  }
  void lower(int node, int begin, int end, int from, int to, float bottom) {
    if (to <= begin || end <= from) return;
    mLowest[node] = std::max(mLowest[node], bottom);
    if (from <= begin && end <= to) {
      mAll[node] = std::max(mAll[node], bottom);
      return;
    }
    int const middle = (begin + end) / 2;
    lower(2 * node, begin, middle, from, to, bottom);
    lower(2 * node + 1, middle, end, from, to, bottom);
  }

  std::vector<float> mXs;
  std::vector<float> mLowest;
  std::vector<float> mAll;
};

struct Obstacle {
  float left, right, bottom;
};
}  // namespace

LineMarks::LineMarks(GRSystem const& system, int staffNumber) {
  placeJumps(system, staffNumber);
  placeTexts(system, staffNumber);
}

void LineMarks::placeJumps(GRSystem const& system, int staffNumber) {
  // Elements come in time order along the line, so the marks of one date come one after the
  // other; each starts no earlier than the marks of its date before it end.
  GRJump const* previous = nullptr;
  float reached = 0;
  system.forEachElementOnLine(staffNumber, [&](GRNotationElement const* element, GRStaff const*) {
    auto const* jump = ar_cast<GRJump const>(element);
    if (!jump) return;
    float const left = jump->getPosition().x + jump->getBoundingBox().left;
    float const right = jump->getPosition().x + jump->getBoundingBox().right;
    float shift = 0;
    if (previous && previous->getRelativeTimePosition() == jump->getRelativeTimePosition())
      shift = std::max(0.0f, reached + kJumpGap - left);
    else
      reached = right;
    mJumpShifts.emplace(jump, shift);
    reached = std::max(reached, right + shift);
    previous = jump;
  });
}

void LineMarks::placeTexts(GRSystem const& system, int staffNumber) {
  struct Placed {
    GRText const* text;
    GRText::Placement at;
    int order;
  };
  std::vector<Placed> texts;
  std::vector<Obstacle> dynamics;
  std::vector<float> xs;
  system.forEachElementOnLine(
      staffNumber, [&](GRNotationElement const* element, GRStaff const* staff) {
        if (auto const* mark = ar_cast<GRIntens const>(element)) {
          NVRect const box = mark->getBoundingBox() + mark->getPosition();
          if (box.right <= box.left) return;
          float const gap = kDynamicGap * staff->getLineSpace();
          dynamics.push_back({box.left, box.right, box.bottom + gap});
          xs.insert(xs.end(), {box.left, box.right});
          return;
        }
        // A text that runs on from the line before stands here as a placeholder.
        if (auto const* dummy = ar_cast<GRDummy const>(element))
          element = dynamic_cast<GRNotationElement const*>(dummy->getTag());
        auto const* text = element ? ar_cast<GRText const>(element) : nullptr;
        GRText::Placement at;
        if (!text || mTextYs.count(text) || !text->placementOn(&system, staff, &at)) return;
        mTextYs.emplace(text, at.y);
        texts.push_back({text, at, static_cast<int>(texts.size())});
        xs.insert(xs.end(), {at.left, at.right});
      });
  if (texts.empty()) return;

  // Dynamics first, then the texts the score placed, then the others from the top down: each
  // stands below what is placed across its stretch where that reaches lower than its own place.
  Floor floor(std::move(xs));
  for (Obstacle const& dynamic : dynamics) floor.place(dynamic.left, dynamic.right, dynamic.bottom);
  std::stable_sort(texts.begin(), texts.end(), [](Placed const& a, Placed const& b) {
    return std::make_tuple(!a.at.placed, a.at.rank, a.at.verse, a.at.noteY, a.order) <
           std::make_tuple(!b.at.placed, b.at.rank, b.at.verse, b.at.noteY, b.order);
  });
  for (Placed const& placed : texts) {
    GRText::Placement const& at = placed.at;
    float y = at.y;
    if (!at.placed) y = std::max(y, floor.lowestOver(at.left, at.right) - at.top);
    mTextYs[placed.text] = y;
    floor.place(at.left, at.right, y + at.top + at.height);
  }
}

float LineMarks::jumpShift(GRJump const* jump) const {
  auto const found = mJumpShifts.find(jump);
  return found == mJumpShifts.end() ? 0 : found->second;
}

void LineMarks::textY(GRText const* text, float* y) const {
  auto const found = mTextYs.find(text);
  if (found != mTextYs.end()) *y = found->second;
}
