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
  ScoreElementDesc desc = PlacedElementDesc(1, 12);
  map.AddElement(device, desc);
}
