#pragma once

#include "GRTagARNotationElement.h"

class ARIntens;

// A dynamic mark such as "p" or "mf", drawn as one music-font glyph below the staff.
class GRIntens : public GRTagARNotationElement {
 public:
  // Marks without a glyph of their own take a softer one and a box as wide as the mark would
  // be, with a warning; unknown marks draw nothing.
  GRIntens(GRStaff* staff, ARIntens* intens);

  ARIntens* getARIntens() const;

 private:
  // 2 or 3 for a mark drawn with the glyph of a softer one.
  int mRepeat = 0;
};
