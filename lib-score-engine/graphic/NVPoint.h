#pragma once

#include <ostream>

// A point in layout units; y grows downwards.
struct NVPoint {
  float x = 0;
  float y = 0;

  NVPoint& operator+=(NVPoint const& p) {
    x += p.x;
    y += p.y;
    return *this;
  }
  NVPoint& operator-=(NVPoint const& p) {
    x -= p.x;
    y -= p.y;
    return *this;
  }
  bool operator==(NVPoint const&) const = default;
};

inline NVPoint operator+(NVPoint a, NVPoint const& b) {
  return a += b;
}
inline NVPoint operator-(NVPoint a, NVPoint const& b) {
  return a -= b;
}

inline std::ostream& operator<<(std::ostream& os, NVPoint const& p) {
  return os << "[" << p.x << "," << p.y << "]";
}
