#include "curve_band.h"

#include <algorithm>
#include <optional>

#include "draw_slur.h"

namespace {

// The y of the polyline of points [from, to) at x, the points going either way along x.
std::optional<float> YAt(CurvePoints const& points, int from, int to, float x) {
  for (int i = from; i + 1 < to; ++i) {
    float const xa = points.xs[i], xb = points.xs[i + 1];
    if ((x < xa && x < xb) || (x > xa && x > xb)) continue;
    if (xa == xb) return std::min(points.ys[i], points.ys[i + 1]);
    return points.ys[i] + (points.ys[i + 1] - points.ys[i]) * (x - xa) / (xb - xa);
  }
  return std::nullopt;
}

}  // namespace

CurveBand::CurveBand(NVPoint start, NVPoint middle, NVPoint end, float inflexion)
    : mPoints(slurOutline(start.x, start.y, middle.x, middle.y, end.x, end.y, inflexion)) {
  if (mPoints.count() == 0) return;
  auto const [left, right] = std::minmax_element(mPoints.xs.begin(), mPoints.xs.end());
  auto const [top, bottom] = std::minmax_element(mPoints.ys.begin(), mPoints.ys.end());
  mBox = NVRect{*left, *top, *right, *bottom};
}

bool CurveBand::spanAt(float x, float* top, float* bottom) const {
  int const half = mPoints.count() / 2;
  std::optional<float> const there = YAt(mPoints, 0, half, x);
  std::optional<float> const back = YAt(mPoints, half, mPoints.count(), x);
  if (!there && !back) return false;
  float const a = there ? *there : *back;
  float const b = back ? *back : a;
  *top = std::min(a, b);
  *bottom = std::max(a, b);
  return true;
}

bool CurveBand::boxOf(NVRect* slice) const {
  bool found = false;
  auto take = [&](float x) {
    float top, bottom;
    if (!spanAt(x, &top, &bottom)) return;
    slice->top = found ? std::min(slice->top, top) : top;
    slice->bottom = found ? std::max(slice->bottom, bottom) : bottom;
    found = true;
  };
  take(slice->left);
  take(slice->right);
  for (float x : mPoints.xs)
    if (x > slice->left && x < slice->right) take(x);
  return found;
}

float CurveBand::intrusion(NVRect const& box, bool above, float air) const {
  if (mPoints.count() == 0) return 0;
  if (box.right < mBox.left || box.left > mBox.right || box.top - air >= mBox.bottom ||
      box.bottom + air <= mBox.top)
    return 0;
  float need = 0;
  auto look = [&](float x) {
    float top, bottom;
    if (!spanAt(x, &top, &bottom)) return;
    if (box.top - air >= bottom || box.bottom + air <= top) return;
    need = std::max(need, above ? bottom - (box.top - air) : box.bottom + air - top);
  };
  look(box.left);
  look(box.right);
  for (float x : mPoints.xs)
    if (x > box.left && x < box.right) look(x);
  return need;
}
