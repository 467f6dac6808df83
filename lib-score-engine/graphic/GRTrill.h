#pragma once

#include "GRFirstNoteMark.h"

class ARTrill;

// Draws a trill, turn or mordent over its notes, at the first note.
class GRTrill : public GRFirstNoteMark {
 public:
  GRTrill(GRStaff* staff, ARTrill* ar);
  void drawMark(VGDevice& device, VScoreSymbolMap& map) const override;

 protected:
  char const* words() const override;
  bool measureMark(float* width, float* height) const override;

 private:
  bool isMordent() const;
};
