#pragma once

#include "GRDynamics.h"

// The wedge closing to the right.
class GRDiminuendo : public GRDynamics {
 public:
  using GRDynamics::GRDynamics;
  void OnDraw(VGDevice& device, VScoreSymbolMap& map) const override;
};
