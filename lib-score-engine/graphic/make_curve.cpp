#include "make_curve.h"

int makeCurve(float x0, float y0, float x1, float y1, float x2, float y2, float x3, float y3,
              int steps, CurvePoints& points) {
  int const before = points.count();
  auto add = [&points](float x, float y) {
    points.xs.push_back(x);
    points.ys.push_back(y);
  };
  add(x0, y0);
  if (steps > 0) {
    float const step = 1.0f / steps;
    for (float t = 0; t <= 1.0f; t += step) {
      float const u = 1 - t;
      float const a = u * u * u;
      float const b = 3 * t * u * u;
      float const c = 3 * t * t * u;
      float const d = t * t * t;
      add(a * x0 + b * x1 + c * x2 + d * x3, a * y0 + b * y1 + c * y2 + d * y3);
    }
  }
  add(x3, y3);
  return points.count() - before;
}
