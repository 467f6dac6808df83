#include "GRDummy.h"

#include "GRPositionTag.h"

void GRDummy::OnDraw(VGDevice& device, VScoreSymbolMap& map) const {
  if (auto* tag = dynamic_cast<GObject const*>(mTag)) tag->OnDraw(device, map);
}

void GRDummy::tellPosition(GObject* caller, NVPoint const& point) {
  auto* tag = dynamic_cast<GRNotationElement*>(mTag);
  // A tag that is telling its own position started this round of notices.
  if (tag && !tag->isTellingPosition()) tag->tellPosition(caller, point);
}
