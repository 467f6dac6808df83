#include "curve_tips_past_stems.h"

#include <algorithm>
#include <cmath>

#include "curve_ink.h"

bool TipPastStems(CurveInk const& ink, NVPoint& tip, bool above, float air, float most) {
  using Kind = CurveInk::Kind;
  float const was = tip.y;
  // The tip's ink is a little wider than its point; a stem's edge by it is still under it.
  float const reach = air;
  // Clearing one stem may bring the tip to the beam at its end, or to the next level of beams:
  // looked at again until none is met.
  constexpr int kPasses = 4;
  for (int pass = 0; pass < kPasses; ++pass) {
    bool moved = false;
    ink.forEachBetween(tip.x - reach, tip.x + reach, [&](CurveInk::Ink const& passed) {
      if (passed.kind != Kind::Stem && passed.kind != Kind::Flag && passed.kind != Kind::Beam)
        return;
      if (above ? passed.box.bottom < tip.y - air : passed.box.top > tip.y + air) return;
      if (above ? passed.box.top > tip.y + air : passed.box.bottom < tip.y - air) return;
      float const to = above ? passed.box.top - air : passed.box.bottom + air;
      // A stem reaching far beyond, another voice's, is passed over rather than climbed.
      if ((above ? to >= tip.y : to <= tip.y) || std::abs(to - was) > most) return;
      tip.y = to;
      moved = true;
    });
    if (!moved) break;
  }
  // A bare stem the tip stands by is the tip's note's, as a head is: the curve rising to its end
  // would only crowd what stands beyond.
  float const from = std::min(was, tip.y), to = std::max(was, tip.y);
  bool pastFlagOrBeam = false;
  ink.forEachBetween(tip.x - reach, tip.x + reach, [&](CurveInk::Ink const& passed) {
    if ((passed.kind == Kind::Flag || passed.kind == Kind::Beam) && passed.box.bottom > from &&
        passed.box.top < to)
      pastFlagOrBeam = true;
  });
  if (!pastFlagOrBeam) tip.y = was;
  return tip.y != was;
}
