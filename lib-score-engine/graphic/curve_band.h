#pragma once

#include <algorithm>

#include "NVPoint.h"
#include "NVRect.h"
#include "make_curve.h"

// The band a slur or tie draws from its start over its middle point to its end, as the top and
// bottom of its ink along the page.
class CurveBand {
 public:
  CurveBand(NVPoint start, NVPoint middle, NVPoint end, float inflexion);

  // How far the band must move away from its notes (up for a curve above them, down for one
  // below) to keep air from the box wherever they stand over each other; 0 where it keeps it.
  float intrusion(NVRect const& box, bool above, float air) const;
  // The band cut across the page into slices of that width, each as the box of its ink.
  template <class Visit>
  void forEachSlice(float width, Visit&& visit) const {
    if (mPoints.count() == 0) return;
    float const left = mPoints.xs.front();
    float const right = mPoints.xs[mPoints.count() / 2 - 1];
    for (float x = left; x < right; x += width) {
      float const to = std::min(right, x + width);
      NVRect slice{x, 0, to, 0};
      if (boxOf(&slice)) visit(slice);
    }
  }

 private:
  // The band's top and bottom at x; false where it does not reach.
  bool spanAt(float x, float* top, float* bottom) const;
  // The top and bottom of the band between the slice's left and right; false where it has none.
  bool boxOf(NVRect* slice) const;

  CurvePoints mPoints;
  // The box of all the band's points: ink beyond it, with its air, is clear of the band.
  NVRect mBox;
};
