#pragma once

#include "GRDynamics.h"

// The wedge closing to the right.
class GRDiminuendo : public GRDynamics {
 public:
  using GRDynamics::GRDynamics;
  // A wedge of its own, with no tag in the text.
  explicit GRDiminuendo(GRStaff* staff);
  void OnDraw(VGDevice& device, VScoreSymbolMap& map) const override;
};
