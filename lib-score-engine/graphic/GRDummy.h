#pragma once

#include "GRNotationElement.h"

class GRPositionTag;

// Stands in a staff's element list for a range tag that is open when the system starts, and
// passes drawing and positions on to it.
class GRDummy : public GRNotationElement {
 public:
  explicit GRDummy(GRPositionTag* tag) : mTag(tag) {}

  void OnDraw(VGDevice& device, VScoreSymbolMap& map) const override;
  void tellPosition(GObject* caller, NVPoint const& point) override;
  GRPositionTag* getTag() const { return mTag; }

 private:
  GRPositionTag* mTag;
};
