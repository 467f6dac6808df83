#pragma once

#include "GRFirstNoteMark.h"

class ARAccelerando;

// Draws the accelerando text over its notes, at the first note.
class GRAccelerando : public GRFirstNoteMark {
 public:
  GRAccelerando(GRStaff* staff, ARAccelerando* ar);
  void drawMark(VGDevice& device, VScoreSymbolMap& map) const override;
};
