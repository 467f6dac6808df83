#include "music_top.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "ARCast.h"
#include "GRAccidental.h"
#include "GRBeam.h"
#include "GRClef.h"
#include "GRDummy.h"
#include "GREvent.h"
#include "GRGlobalStem.h"
#include "GRNewTuplet.h"
#include "GRSingleNote.h"
#include "GRSingleRest.h"
#include "GRStaff.h"
#include "GRSystem.h"
#include "GRSystemSlice.h"
#include "NEPointerList.h"

namespace {

// A sign's ink reaches further over and under its note than its box: a flat's stem nearly two
// spaces over it, where the box holds one.
constexpr float kSignReach = 1.8f;

void TakeInSigns(GRSingleNote const& note, NVRect& box) {
  KF_IPointerList<GRAccidental> signs(0);
  note.extractAccidentals(&signs);
  for (void* pos = signs.GetHeadPosition(); pos;) {
    GRAccidental const* sign = signs.GetNext(pos);
    NVPoint const at = sign->getPosition() + sign->getOffset();
    NVRect const own = sign->getBoundingBox();
    float const side = sign->getLeftSpace();
    box.Merge(NVRect{at.x - side, at.y + kSignReach * own.top, at.x + side,
                     at.y + kSignReach * own.bottom});
  }
}

// The box of an element of the staff where it stands, or false for one that reaches nowhere.
// Without the marks, only the notes, with their stems and beams.
bool PlacedBox(GRNotationElement const* element, GRSystem const& system, NVRect& box,
               bool withMarks = true) {
  if (auto const* dummy = ar_cast<GRDummy const>(element)) {
    // A beam that runs on from the line before stands here as a placeholder.
    element = dynamic_cast<GRNotationElement const*>(dummy->getTag());
    if (!element) return false;
  }
  if (auto const* beam = ar_cast<GRBeam const>(element)) return beam->getPieceBox(&system, box);
  if (auto const* tuplet = dynamic_cast<GRNewTuplet const*>(element)) {
    if (!withMarks) return false;
    // A bracket over the notes and its number belong to them: marks above stand over both.
    box = tuplet->drawnBox(&system);
    return box.right > box.left;
  }
  if (withMarks && ar_cast<GRClef const>(element)) {
    // A clef reaches over and under the staff at the line's start.
    box = element->getBoundingBox() + element->getPosition();
    return true;
  }
  if (element->isGREventClass() || ar_cast<GRGlobalStem const>(element)) {
    box = element->getBoundingBox() + element->getPosition();
    if (auto const* note = ar_cast<GRSingleNote const>(element)) TakeInSigns(*note, box);
    // A rest's box holds its dots and bar rests, not its glyph, which reaches further over and
    // under (a quarter rest of a lower voice hangs below the staff) and across its room.
    if (auto const* rest = ar_cast<GRSingleRest const>(element)) {
      float top = 0, bottom = 0;
      rest->getInkExtent(&top, &bottom);
      if (bottom > top) {
        float const x = rest->getPosition().x;
        box.Merge(NVRect{x - rest->getLeftSpace(), top, x + rest->getRightSpace(), bottom});
      }
    }
    return true;
  }
  return false;
}

}  // namespace

float HighestMusicOver(GRSystem const& system, int staffNumber, float left, float right) {
  return system.musicTops(staffNumber).highestOver(left, right);
}

float LowestMusicOver(GRSystem const& system, int staffNumber, float left, float right) {
  return -system.musicBottoms(staffNumber).highestOver(left, right);
}

float LowestNotesOnLine(GRSystem const& system, int staffNumber) {
  float lowest = -std::numeric_limits<float>::infinity();
  system.forEachElementOnLine(staffNumber, [&](GRNotationElement const* element, GRStaff const*) {
    NVRect box;
    // A bottom that is no number is passed over.
    if (PlacedBox(element, system, box, false) && box.bottom > lowest) lowest = box.bottom;
  });
  return lowest;
}

MusicTops::MusicTops(GRSystem const& system, int staffNumber, Side side) {
  system.forEachElementOnLine(staffNumber, [&](GRNotationElement const* element, GRStaff const*) {
    NVRect box;
    if (!PlacedBox(element, system, box)) return;
    Reach const reach{box.left, box.right, side == Side::Over ? box.top : -box.bottom};
    if (std::isnan(reach.left) || std::isnan(reach.right))
      mUnplaced.push_back(reach);
    else
      mByLeft.push_back(reach);
  });
  std::sort(mByLeft.begin(), mByLeft.end(),
            [](Reach const& a, Reach const& b) { return a.left < b.left; });
  if (mByLeft.empty()) return;
  mRuns.resize(4 * mByLeft.size());
  gather(1, 0, static_cast<int>(mByLeft.size()));
}

void MusicTops::gather(int run, int from, int to) {
  Run& here = mRuns[run];
  if (to - from == 1) {
    Reach const& reach = mByLeft[from];
    // A top that is no number is passed over, as the minimum passes it over.
    here = {reach.right, reach.right, std::min(std::numeric_limits<float>::infinity(), reach.top)};
    return;
  }
  int const middle = from + (to - from) / 2;
  gather(2 * run, from, middle);
  gather(2 * run + 1, middle, to);
  Run const& first = mRuns[2 * run];
  Run const& second = mRuns[2 * run + 1];
  here = {std::min(first.leastRight, second.leastRight),
          std::max(first.mostRight, second.mostRight), std::min(first.top, second.top)};
}

float MusicTops::highestIn(int run, int from, int to, int end, float left) const {
  float constexpr kNone = std::numeric_limits<float>::infinity();
  if (from >= end) return kNone;
  Run const& here = mRuns[run];
  if (to <= end) {
    if (here.mostRight < left) return kNone;
    if (!(here.leastRight < left)) return here.top;
  }
  int const middle = from + (to - from) / 2;
  return std::min(highestIn(2 * run, from, middle, end, left),
                  highestIn(2 * run + 1, middle, to, end, left));
}

float MusicTops::highestOver(float left, float right) const {
  float top = 0;
  // Written as the test for a reach out of the stretch, which an end that is no number never
  // passes.
  for (Reach const& reach : mUnplaced)
    if (!(reach.right < left || reach.left > right)) top = std::min(top, reach.top);
  // The reaches that start by the right end of the stretch, of which those that reach its left.
  auto const end =
      std::upper_bound(mByLeft.begin(), mByLeft.end(), right,
                       [](float value, Reach const& reach) { return value < reach.left; });
  int const count = static_cast<int>(end - mByLeft.begin());
  if (count > 0)
    top = std::min(top, highestIn(1, 0, static_cast<int>(mByLeft.size()), count, left));
  return top;
}
