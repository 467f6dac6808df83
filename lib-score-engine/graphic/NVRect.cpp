#include "NVRect.h"

#include <algorithm>

void NVRect::Merge(NVRect const& r) {
  if (r.right - r.left <= 0 && r.bottom - r.top <= 0) return;
  if (right - left <= 0 || bottom - top <= 0) {
    *this = r;
    return;
  }
  left = std::min(left, r.left);
  top = std::min(top, r.top);
  right = std::max(right, r.right);
  bottom = std::max(bottom, r.bottom);
}
