#pragma once

#include "kf_vect.h"

class GRSystemSlice;

// The vertical offsets of the staves of slices that may form one system, so that the height of
// such a system and the place of each staff are known before it is built.
class GRSliceHeight {
 public:
  GRSliceHeight() = default;
  GRSliceHeight(GRSliceHeight const&) = delete;
  GRSliceHeight& operator=(GRSliceHeight const&) = delete;
  virtual ~GRSliceHeight() = default;

  // Takes the slice's staves in, from their boxes or from where they already stand. The boxes
  // are measured again unless they are known to be current: measured since the staves last
  // changed.
  void AddSystemSlice(GRSystemSlice const* slice, bool fromBoxes, bool boxesCurrent = false);
  float getHeight(bool withTop) const;
  float getPosition(int staff) const { return mPositions.Get(staff); }

 private:
  KF_Vector<float> mPositions{0.0f};
  float mTopExtent = 0;
  float mBottomExtent = 0;
  float mMinimumHeight = 0;
};
