#include "GRSliceHeight.h"

#include <algorithm>

#include "GRStaff.h"
#include "GRSystemSlice.h"

void GRSliceHeight::AddSystemSlice(GRSystemSlice const* slice, bool fromBoxes, bool boxesCurrent) {
  if (!slice) return;
  int lowest = -1, highest = -1;
  slice->getStaffRange(lowest, highest);
  if (lowest > highest) return;
  bool first = true;
  float runningBottom = 0;
  float previousPosition = 0;
  float previousY = 0;
  for (int i = lowest; i <= highest; ++i) {
    GRStaff* staff = slice->getStaff(i);
    if (!staff) continue;
    const float cur = mPositions.Get(i);
    if (fromBoxes) {
      if (!boxesCurrent) staff->updateBoundingBox();
      NVRect const& box = staff->getBoundingBox();
      if (first) {
        runningBottom = box.bottom;
      } else {
        const float gap = runningBottom - box.top;
        if (gap > cur) mPositions.Set(i, gap);
        runningBottom += box.bottom - box.top;
      }
    } else {
      const float y = staff->getPosition().y;
      if (first) {
        previousPosition = cur;
      } else if (y - previousY > cur - previousPosition) {
        previousPosition += y - previousY;
        mPositions.Set(i, previousPosition);
      } else {
        previousPosition = cur;
      }
      previousY = y;
    }
    first = false;
    NVRect const& box = staff->getBoundingBox();
    if (i == highest) mBottomExtent = std::max(mBottomExtent, box.bottom);
    if (i == lowest) mTopExtent = std::min(mTopExtent, box.top);
  }
  if (fromBoxes) {
    NVRect const& box = slice->getBoundingBox();
    const float h = box.bottom - box.top;
    if (h > std::max(mMinimumHeight, mPositions.Get(highest) + mBottomExtent - mTopExtent))
      mMinimumHeight = h;
  }
}

float GRSliceHeight::getHeight(bool withTop) const {
  const float last = mPositions.GetCount() ? mPositions.Get(mPositions.GetMaximum()) : 0;
  float height = last + mBottomExtent;
  if (!withTop) height -= mTopExtent;
  return std::max(height, mMinimumHeight);
}
