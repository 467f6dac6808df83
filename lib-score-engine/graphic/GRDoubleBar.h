#pragma once

#include "ARDoubleBar.h"
#include "GRBar.h"

// A double bar takes the room of a bar line but draws and reports nothing.
class GRDoubleBar : public GRBar {
 public:
  GRDoubleBar(ARDoubleBar* bar, GRStaff* staff, Fraction const& time) : GRBar(bar, staff, time) {}
  void OnDraw(VGDevice&, VScoreSymbolMap&) const override {}
};
