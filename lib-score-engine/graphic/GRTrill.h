#pragma once

#include "GRFirstNoteMark.h"

class ARTrill;

// Draws a trill, turn or mordent over its notes, at the first note: centred on it, above the
// staff and above the note and its stem.
class GRTrill : public GRFirstNoteMark {
 public:
  GRTrill(GRStaff* staff, ARTrill* ar);
  void tellPosition(GObject* caller, NVPoint const& point) override;
  // Centred on the note's x, standing on the mark's y.
  unsigned int getTextAlign() const override { return 9; }
  void drawMark(VGDevice& device, VScoreSymbolMap& map) const override;
};
