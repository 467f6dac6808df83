#pragma once

#include <vector>

// The points of a filled curved outline, x and y apart as a polygon takes them.
struct CurvePoints {
  std::vector<float> xs;
  std::vector<float> ys;

  int count() const { return static_cast<int>(xs.size()); }
};

// Appends the start point, then the cubic Bezier curve from (x0, y0) through the controls
// (x1, y1) and (x2, y2) to (x3, y3) sampled every 1/steps from t = 0 while t stays within 1 (t
// summed in single precision, as the outlines were drawn with), then the end point. Returns the
// number of points appended.
int makeCurve(float x0, float y0, float x1, float y1, float x2, float y2, float x3, float y3,
              int steps, CurvePoints& points);
