#pragma once

#include "ARDoubleBar.h"
#include "GRBar.h"

// A double bar: two thin bar lines either side of its place, with room for both. It sends no
// map record, so that the bar records stay those of measure lines.
class GRDoubleBar : public GRBar {
 public:
  GRDoubleBar(ARDoubleBar* bar, GRStaff* staff, Fraction const& time);
  void OnDraw(VGDevice& device, VScoreSymbolMap& map) const override;
};
