#pragma once

#include "GRFirstNoteMark.h"

class ARTremolo;

// Draws the tremolo text over its notes, at the first note.
class GRTremolo : public GRFirstNoteMark {
 public:
  GRTremolo(GRStaff* staff, ARTremolo* ar);
  void drawMark(VGDevice& device, VScoreSymbolMap& map) const override;
};
