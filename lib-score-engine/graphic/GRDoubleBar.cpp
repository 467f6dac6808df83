#include "GRDoubleBar.h"

namespace {
// Each line's distance from the double bar's place, at size 1.
constexpr float kHalfDistance = 10;
}  // namespace

GRDoubleBar::GRDoubleBar(ARDoubleBar* bar, GRStaff* staff, Fraction const& time)
    : GRBar(bar, staff, time) {
  float const half = kHalfDistance * size;
  mBoundingBox.left -= half;
  mBoundingBox.right += half;
  mLeftSpace += half;
  mRightSpace += half;
}

void GRDoubleBar::OnDraw(VGDevice& device, VScoreSymbolMap&) const {
  // Another voice of the staff wrote the same bar here and draws it, or a repeat sign stands in
  // its place.
  if (error) return;
  float const half = kHalfDistance * size;
  OnDrawSymbol(device, mSymbol, -half, 0, size);
  OnDrawSymbol(device, mSymbol, half, 0, size);
}
