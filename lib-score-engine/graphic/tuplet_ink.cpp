#include "tuplet_ink.h"

#include <algorithm>

#include "GRAccidental.h"
#include "GREvent.h"
#include "GRSingleNote.h"
#include "GRStaff.h"
#include "kf_ilist.h"

namespace {

// How far the music font's signs reach above and below their note, at a line space of 50: the
// flats' stems rise well over the box the layout keeps for them.
struct SignReach {
  float up, down;
};
SignReach ReachOf(unsigned int symbol) {
  switch (symbol) {
    case 98:   // flat
    case 134:  // double flat
      return {95, 35};
    case 180:  // double sharp
      return {30, 30};
    default:  // sharp, natural
      return {78, 78};
  }
}

constexpr float kStemWidth = 5;
// A flag reaches this far right of its stem, in line spaces.
constexpr float kFlagReach = 0.9f;
// A beam lies beyond the stem's tip by its thickness, in half spaces.
constexpr float kBeamThickness = 0.9f;

}  // namespace

void TupletInk::addBeside(GREvent const* event) {
  add(event);
  mBeamAt.reset();
}

void TupletInk::add(GREvent const* event) {
  if (!event) return;
  NVPoint const at = event->getPosition();
  float const size = event->getSize();
  float const space = event->getGRStaff() ? event->getGRStaff()->getLineSpace() : 50;
  auto const* note = dynamic_cast<GRSingleNote const*>(event);
  float const headHalf = 0.5f * (note ? note->getHeadWidth() : 60) * size;
  float const headRise = 0.55f * space * size;
  mBoxes.push_back({at.x - headHalf, at.y - headRise, at.x + headHalf, at.y + headRise});

  GDirection const direction = event->getStemDirection();
  if (direction == dirUP || direction == dirDOWN) {
    NVPoint const tip = event->getStemStartPos();
    float const beyond = event->getBeamCount() > 0 ? kBeamThickness * 0.5f * space * size : 0;
    float const flag =
        event->getBeamCount() == 0 && event->getNumFaehnchen() > 0 ? kFlagReach * space * size : 0;
    NVRect stem{tip.x - kStemWidth, std::min(tip.y, at.y), tip.x + kStemWidth + flag,
                std::max(tip.y, at.y)};
    (direction == dirUP ? stem.top : stem.bottom) += direction == dirUP ? -beyond : beyond;
    mBoxes.push_back(stem);
    // The beam from the stem before, as the box of both its ends: a beam slopes little.
    if (beyond > 0) {
      NVRect const beamEnd{tip.x - kStemWidth, tip.y - beyond, tip.x + kStemWidth, tip.y + beyond};
      if (mBeamAt && mBeamAt->left < beamEnd.left) {
        NVRect beam = *mBeamAt;
        beam.Merge(beamEnd);
        mBoxes.push_back(beam);
      }
      mBeamAt = beamEnd;
    } else {
      mBeamAt.reset();
    }
  }
  if (!note) return;

  KF_IPointerList<GRAccidental> signs(0);
  note->extractAccidentals(&signs);
  for (void* pos = signs.GetHeadPosition(); pos;) {
    GRAccidental const* sign = signs.GetNext(pos);
    NVPoint const drawn = sign->getPosition() + sign->getOffset();
    SignReach const reach = ReachOf(sign->getSymbol());
    float const scale = space / 50 * size;
    float const half = sign->getRightSpace();
    mBoxes.push_back(
        {drawn.x - half, drawn.y - reach.up * scale, drawn.x + half, drawn.y + reach.down * scale});
  }

  GRSingleNote::LedgerLines const lines = note->ledgerLines();
  for (int n = 0; n < lines.count; ++n) {
    float const y = lines.first + n * lines.step;
    mBoxes.push_back({lines.left, y - 2, lines.right, y + 2});
  }
}

float TupletInk::shiftClear(Mark const& mark, float air) const {
  bool const above = mark.direction > 0;
  float const halfPen = mark.pen / 2;
  float const dx = mark.p2.x - mark.p1.x;
  auto lineAt = [&](float x) {
    if (dx <= 0) return mark.p1.y;
    return mark.p1.y + (mark.p2.y - mark.p1.y) * std::clamp((x - mark.p1.x) / dx, 0.0f, 1.0f);
  };
  // The bracket's nearest reach towards the notes over the box's width, and the number's.
  float shift = 0;
  for (NVRect const& ink : mBoxes) {
    float const needed = above ? ink.top - air : ink.bottom + air;
    auto keep = [&](float nearest) {
      shift = std::max(shift, above ? nearest - needed : needed - nearest);
    };
    bool const underBracket =
        mark.pen > 0 && ink.right > mark.p1.x - halfPen && ink.left < mark.p2.x + halfPen;
    if (underBracket) {
      float const a = lineAt(ink.left), b = lineAt(ink.right);
      keep(above ? std::max(a, b) + halfPen : std::min(a, b) - halfPen);
      for (NVPoint const& end : {mark.p1, mark.p2})
        if (ink.left < end.x + halfPen && ink.right > end.x - halfPen)
          keep(end.y + (above ? mark.hook + halfPen : -mark.hook - halfPen));
    }
    // The number's box holds the font's air below and above its figures.
    NVRect const& number = mark.number;
    if (number.right > number.left && ink.right > number.left && ink.left < number.right)
      shift = std::max(shift, above ? number.bottom - ink.top : ink.bottom - number.top);
  }
  return shift;
}

void TupletInk::trimEnds(Mark& mark, float air, float leftLimit, float rightLimit) const {
  float const halfPen = mark.pen / 2;
  float const middle = (mark.p1.x + mark.p2.x) / 2;
  float left = mark.p1.x, right = mark.p2.x;
  // The ends are only ever drawn in.
  leftLimit = std::max(leftLimit, left);
  rightLimit = std::min(rightLimit, right);
  for (NVRect const& ink : mBoxes) {
    bool const onLeft = ink.left + ink.right < 2 * middle;
    NVPoint const& end = onLeft ? mark.p1 : mark.p2;
    // The end's line and its hook, which points towards the notes.
    float const hookTip = end.y + (mark.direction > 0 ? mark.hook : -mark.hook);
    float const top = std::min(end.y, hookTip) - halfPen - air;
    float const bottom = std::max(end.y, hookTip) + halfPen + air;
    if (ink.bottom <= top || ink.top >= bottom) continue;
    if (onLeft && ink.right + air + halfPen > left)
      left = std::min(std::max(left, ink.right + air + halfPen), leftLimit);
    if (!onLeft && ink.left - air - halfPen < right)
      right = std::max(std::min(right, ink.left - air - halfPen), rightLimit);
  }
  float const dx = mark.p2.x - mark.p1.x;
  if (dx <= 0 || (left == mark.p1.x && right == mark.p2.x)) return;
  float const slope = (mark.p2.y - mark.p1.y) / dx;
  NVPoint const from = mark.p1;
  mark.p1 = NVPoint{left, from.y + slope * (left - from.x)};
  mark.p2 = NVPoint{right, from.y + slope * (right - from.x)};
}
