#pragma once

#include "GRDynamics.h"

// The wedge opening to the right.
class GRCrescendo : public GRDynamics {
 public:
  using GRDynamics::GRDynamics;
  // A wedge of its own, with no tag in the text.
  explicit GRCrescendo(GRStaff* staff);
  void OnDraw(VGDevice& device, VScoreSymbolMap& map) const override;
};
