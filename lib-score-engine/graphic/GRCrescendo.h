#pragma once

#include "GRDynamics.h"

// The wedge opening to the right.
class GRCrescendo : public GRDynamics {
 public:
  using GRDynamics::GRDynamics;
  void OnDraw(VGDevice& device, VScoreSymbolMap& map) const override;
};
