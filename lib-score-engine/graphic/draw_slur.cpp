#include "draw_slur.h"

#include <algorithm>

#include "VGDevice.h"

CurvePoints slurOutline(float x1, float y1, float x2, float y2, float x3, float y3,
                        float inflexion) {
  CurvePoints points;
  if (x1 == x3) return points;
  float const d = (x3 - x1) / (inflexion + 2);
  float const ym = y2 - (y3 - y1) / (x3 - x1) * d + (y2 - y1) / 3;
  float const shift = std::clamp(10 * (y3 - y1) / (x3 - x1), -12.5f, 12.5f);
  makeCurve(x1, y1, x2 - d, ym, x2 + d, ym, x3, y3, 25, points);
  // The return curve's controls lie 10 units from the forward one's, on the ends' side.
  makeCurve(x3, y3, x2 + d + shift, y3 > ym ? ym + 10 : ym - 10, x2 - d + shift,
            y1 > ym ? ym + 10 : ym - 10, x1, y1, 25, points);
  return points;
}

void drawSlur(VGDevice& device, float x1, float y1, float x2, float y2, float x3, float y3,
              float inflexion) {
  CurvePoints const points = slurOutline(x1, y1, x2, y2, x3, y3, inflexion);
  if (points.count() > 0) device.Polygon(points.xs.data(), points.ys.data(), points.count());
}
