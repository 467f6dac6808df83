#pragma once

#include <ostream>

#include "NVPoint.h"

// A box in layout units: left, top, right, bottom. Elements keep theirs relative to their
// position. Touching boxes collide and the edges belong to the box.
struct NVRect {
  float left = 0;
  float top = 0;
  float right = 0;
  float bottom = 0;

  void Set(float l, float t, float r, float b) {
    left = l;
    top = t;
    right = r;
    bottom = b;
  }
  bool Contains(NVPoint const& p) const {
    return left <= p.x && p.x <= right && top <= p.y && p.y <= bottom;
  }
  bool Collides(NVRect const& r) const {
    return right >= r.left && r.right >= left && bottom >= r.top && r.bottom >= top;
  }
  // An operand that is flat both ways changes nothing; a receiver that is flat either way is
  // replaced. So a box of zero width but some height counts when merged in, not when merged into.
  void Merge(NVRect const& r);

  NVRect& operator+=(NVPoint const& p) {
    left += p.x;
    right += p.x;
    top += p.y;
    bottom += p.y;
    return *this;
  }
  NVRect& operator-=(NVPoint const& p) {
    left -= p.x;
    right -= p.x;
    top -= p.y;
    bottom -= p.y;
    return *this;
  }
  NVRect operator+(NVPoint const& p) const {
    NVRect moved = *this;
    return moved += p;
  }
  bool operator==(NVRect const&) const = default;
};

inline std::ostream& operator<<(std::ostream& os, NVRect const& r) {
  return os << "[" << r.left << "," << r.top << "," << r.right << "," << r.bottom << "]";
}
