#include "GRSimpleBeam.h"

#include "VGDevice.h"

GRSimpleBeam::GRSimpleBeam(GRBeam const* parent, NVPoint const (&points)[4]) : mParent(parent) {
  for (int i = 0; i < 4; ++i) mPoints[i] = points[i];
}

void GRSimpleBeam::OnDraw(VGDevice& device, VScoreSymbolMap&) const {
  float const xs[] = {mPoints[0].x, mPoints[1].x, mPoints[3].x, mPoints[2].x};
  float const ys[] = {mPoints[0].y, mPoints[1].y, mPoints[3].y, mPoints[2].y};
  device.Polygon(xs, ys, 4);
}
