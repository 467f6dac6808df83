#include "GRAccolade.h"

#include "VGColor.h"
#include "VGDevice.h"
#include "make_curve.h"

namespace {
void FillCurves(VGDevice& device, CurvePoints const& points) {
  device.Polygon(points.xs.data(), points.ys.data(), points.count());
}
}  // namespace

void GRAccolade::draw(VGDevice& device, NVPoint const& leftTop, NVPoint const& leftBottom) const {
  float const x = leftTop.x + mDx;
  if (mAccoladeID == 1)
    DrawStraightAccolade(device, x, leftTop.y - 2.5f, leftBottom.y + 2.5f, true);
  else if (mAccoladeID == 2 || mAccoladeID == 3)
    DrawEmulatedAccolade(device, x, leftTop.y, leftBottom.y);
}

void GRAccolade::DrawStraightAccolade(VGDevice& device, float x, float top, float bottom,
                                      bool ends) const {
  device.PushPen(VGColor(0, 0, 0, 0), 0);
  device.PushFillColor(kOpaqueBlack);
  float const xr = x - 25;
  float const xl = xr - 25;
  device.Rectangle(xl, top, xr, bottom);
  if (ends) {
    // Each hook sweeps 100 units right and back, 62.5 beyond the end at its tip.
    constexpr int kSteps = 6;
    float const xe = xl + 100;
    float const xm = xl + (xe - xl) * 0.5f;
    CurvePoints upper;
    makeCurve(xl, top, xm, top, xm, top, xe, top - 62.5f, kSteps, upper);
    makeCurve(xe, top - 62.5f, xm, top - 25, xm, top - 25, xl, top - 25, kSteps, upper);
    FillCurves(device, upper);
    CurvePoints lower;
    makeCurve(xl, bottom, xm, bottom, xm, bottom, xe, bottom + 62.5f, kSteps, lower);
    makeCurve(xe, bottom + 62.5f, xm, bottom + 25, xm, bottom + 25, xl, bottom + 25, kSteps, lower);
    FillCurves(device, lower);
  }
  device.PopFillColor();
  device.PopPen();
}

void GRAccolade::DrawEmulatedAccolade(VGDevice& device, float x, float top, float bottom) const {
  constexpr int kSteps = 25;
  float const mid = (top + bottom) * 0.5f;
  float const x0 = x - 16.5f;
  float const xa = x0 - 75;
  float const xb = xa - 22.5f;
  float const x2 = x0 + 62.5f;
  float const x3 = x0 - 50;
  float const x4 = x2 - 22.5f;
  float const y1 = top + 62.5f;
  float const ym = mid - 33;
  device.PushPen(kOpaqueBlack, 1);
  device.PushFillColor(kOpaqueBlack);
  // Each half runs from its end to the middle point and back, thicker on the way back.
  CurvePoints upper;
  makeCurve(x0, top, xa, y1, x2, ym, x3, mid, kSteps, upper);
  makeCurve(x3, mid, x4, ym, xb, y1, x0, top, kSteps, upper);
  FillCurves(device, upper);
  float const y1Lower = bottom - (y1 - top);
  float const ymLower = bottom - (ym - top);
  CurvePoints lower;
  makeCurve(x0, bottom, xa, y1Lower, x2, ymLower, x3, mid, kSteps, lower);
  makeCurve(x3, mid, x4, ymLower, xb, y1Lower, x0, bottom, kSteps, lower);
  FillCurves(device, lower);
  device.PopFillColor();
  device.PopPen();
}
