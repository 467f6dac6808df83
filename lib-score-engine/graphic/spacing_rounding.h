#pragma once

#include <cmath>

// Springs store every change of force and extent rounded to 3 decimals and every change of
// constant to 5, so that sums over many springs come out the same whatever their order. The
// rounding stays in floating point: a length beyond every integer type rounds to itself.
inline float roundTo3Decimals(double value) {
  return static_cast<float>(std::floor(value * 1000.0 + 0.5)) / 1000.0f;
}

inline float roundTo5Decimals(double value) {
  return static_cast<float>(std::floor(value * 100000.0 + 0.5)) / 100000.0f;
}

// Two spring constants acting one after the other.
inline float seriesCombine(float total, float c) {
  return total * c / (total + c);
}
// Takes constant c out of a series total again.
inline float seriesRemove(float total, float c) {
  return total * c / (c - total);
}
