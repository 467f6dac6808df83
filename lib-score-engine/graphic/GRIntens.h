#pragma once

#include "GRTagARNotationElement.h"

class ARIntens;

// A dynamic mark such as "p" or "mf", drawn as one music-font glyph below the staff.
class GRIntens : public GRTagARNotationElement {
 public:
  // Every mark of the table has a glyph of its own; unknown marks draw nothing.
  GRIntens(GRStaff* staff, ARIntens* intens);

  ARIntens* getARIntens() const;
};
