#include "GREmpty.h"

#include "ScoreElementDesc.h"
#include "VScoreSymbolMap.h"

GREmpty::GREmpty(GRStaff* staff, ARMusicalEvent* ar, bool ownsAR) : GREvent(staff, ar, ownsAR) {
  mNeedsSpring = 1;
}

GREmpty::GREmpty(GRStaff* staff, ARMusicalEvent* ar, Fraction relativeTimePosition,
                 Fraction duration)
    : GREvent(staff, ar, relativeTimePosition, duration) {
  mNeedsSpring = 1;
}

void GREmpty::tellPosition(GObject*, NVPoint const& point) {
  if (mNeedsSpring == 0 && mSpringID == -1) setHPosition(point.x);
}

bool GREmpty::adjustLength(Fraction const& duration) {
  mDurationOfGR = duration;
  return true;
}

void GREmpty::NotifyNewScoreElement(VGDevice& device, VScoreSymbolMap& map) const {
  ScoreElementDesc desc;
  desc.kind = 1;
  desc.subtype = 12;
  desc.date = static_cast<float>(mRelativeTimePositionOfGR.getValue());
  desc.duration = static_cast<float>(mDurationOfGR.getValue());
  desc.left = mBoundingBox.left + mPosition.x;
  desc.top = mBoundingBox.top + mPosition.y;
  desc.right = mBoundingBox.right + mPosition.x;
  desc.bottom = mBoundingBox.bottom + mPosition.y;
  desc.refX = mPosition.x;
  desc.refY = mPosition.y;
  map.AddElement(device, desc);
}
