#include "GRDummy.h"

#include "GRPositionTag.h"

void GRDummy::OnDraw(VGDevice& device, VScoreSymbolMap& map) const {
  if (auto* tag = dynamic_cast<GObject const*>(mTag)) tag->OnDraw(device, map);
}

void GRDummy::tellPosition(GObject* caller, NVPoint const& point) {
  if (auto* tag = dynamic_cast<GObject*>(mTag)) tag->tellPosition(caller, point);
}
