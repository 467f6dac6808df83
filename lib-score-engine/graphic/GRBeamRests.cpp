// The rests a beam goes over: each keeps its height unless the beam runs through it, and then
// moves away from the beam, to the side of the heads, by half line spaces. A rest moved off
// toward the beam by another voice's notes would go back onto them: there the beam moves away
// instead, its stems growing.

#include <algorithm>
#include <cmath>

#include "GRBeam.h"
#include "GRSimpleBeam.h"
#include "GRSingleRest.h"
#include "GRStaff.h"
#include "GRSystemStartEndStruct.h"

namespace {

// A rest keeps this much of a line space between its ink and the beam.
constexpr float kClearance = 0.25f;
// A rest moves no more line spaces than this: a beam further into it lies past any staff.
constexpr float kFarthest = 12;

// The height at x of the edge from a to b.
float HeightAt(NVPoint const& a, NVPoint const& b, float x) {
  float const dx = b.x - a.x;
  return dx == 0 ? a.y : a.y + (b.y - a.y) / dx * (x - a.x);
}

struct Reach {
  float top;
  float bottom;
  void Add(float y) {
    top = std::min(top, y);
    bottom = std::max(bottom, y);
  }
};

// What the beam and its further levels cover over the stretch from left to right, added to reach.
void CoverOver(GRBeam::GRBeamSaveStruct const& st, float left, float right, Reach& reach) {
  NVPoint const* p = st.p;
  for (float at : {left, right}) {
    reach.Add(HeightAt(p[0], p[2], at));
    reach.Add(HeightAt(p[1], p[3], at));
    if (!st.simpleBeams) continue;
    for (void* pos = st.simpleBeams->GetHeadPosition(); pos;) {
      GRSimpleBeam const* level = st.simpleBeams->GetNext(pos);
      if (at < level->getPoint(0).x || at > level->getPoint(2).x) continue;
      reach.Add(HeightAt(level->getPoint(0), level->getPoint(2), at));
      reach.Add(HeightAt(level->getPoint(1), level->getPoint(3), at));
    }
  }
}

// How far the rest reaches into the beam and the clearance it keeps, toward the heads; 0 where
// it is clear, or where the beam runs further into it than any staff lies.
float RestInBeam(GRBeam::GRBeamSaveStruct const& st, GRSingleRest const& rest, bool headsBelow,
                 float ls) {
  NVPoint const* p = st.p;
  float const x = rest.getPosition().x;
  float const half = std::max(rest.getLeftSpace(), rest.getRightSpace());
  if (x < p[0].x || x > p[2].x) return 0;
  Reach beam{HeightAt(p[0], p[2], x), HeightAt(p[0], p[2], x)};
  CoverOver(st, x - half, x + half, beam);
  float top, bottom;
  rest.getInkExtent(&top, &bottom);
  float const gap = kClearance * ls;
  float const overlap = headsBelow ? beam.bottom + gap - top : bottom - (beam.top - gap);
  return overlap > 0 && overlap < kFarthest * ls ? overlap : 0;
}

}  // namespace

bool GRBeam::coverOver(GRSystem const* system, float left, float right, float* top,
                       float* bottom) const {
  if (tagType == SYSTEMTAG) return false;
  GRBeamSaveStruct const* st = drawnPiece(system);
  if (!st) return false;
  NVPoint const* p = st->p;
  // Only the part of the stretch the beam runs over.
  left = std::max(left, p[0].x);
  right = std::min(right, p[2].x);
  if (!(left <= right)) return false;
  Reach reach{HeightAt(p[0], p[2], left), HeightAt(p[0], p[2], left)};
  CoverOver(*st, left, right, reach);
  *top = reach.top;
  *bottom = reach.bottom;
  return true;
}

// Rests moved off toward the beam by another voice, and only those, make the beam give way.
float GRBeam::roomForRests(GRSystemStartEndStruct const* sse, GRBeamSaveStruct const* st) const {
  GRStaff const* staff = sse->endElement ? sse->endElement->getGRStaff() : nullptr;
  if (!staff || mRestsUnder.empty() || placedByHand()) return 0;
  NVPoint const* p = st->p;
  bool const headsBelow = p[1].y > p[0].y;
  GDirection const towardBeam = headsBelow ? dirUP : dirDOWN;
  float const ls = staff->getLineSpace();
  float most = 0;
  for (GRSingleRest const* rest : mRestsUnder) {
    GRStaff const* restStaff = rest->getGRStaff();
    if (rest->isPlacedByScore() || rest->getSideOfVoices() != towardBeam || !restStaff ||
        restStaff->getGRSystem() != staff->getGRSystem() ||
        restStaff->getStaffNumber() != staff->getStaffNumber())
      continue;
    most = std::max(most, RestInBeam(*st, *rest, headsBelow, ls));
  }
  return headsBelow ? -most : most;
}

void GRBeam::clearRests(GRSystemStartEndStruct const* sse, GRBeamSaveStruct const* st) {
  GRStaff const* staff = sse->endElement ? sse->endElement->getGRStaff() : nullptr;
  // Corners the score gave stay where it put them, and so do the rests under them.
  if (!staff || mRestsUnder.empty() || placedByHand()) return;
  NVPoint const* p = st->p;
  // The heads lie on the side the beam's thickness grows to from the stem tips.
  bool const headsBelow = p[1].y > p[0].y;
  float const ls = staff->getLineSpace();
  for (GRSingleRest* rest : mRestsUnder) {
    GRStaff const* restStaff = rest->getGRStaff();
    // A rest of the voice on another staff does not meet the beam.
    if (rest->isPlacedByScore() || !restStaff || restStaff->getGRSystem() != staff->getGRSystem() ||
        restStaff->getStaffNumber() != staff->getStaffNumber())
      continue;
    float const overlap = RestInBeam(*st, *rest, headsBelow, ls);
    if (overlap == 0) continue;
    float const step = rest->verticalStep();
    float const steps = std::ceil(overlap / step);
    rest->moveVertically(headsBelow ? steps * step : -steps * step);
  }
}
