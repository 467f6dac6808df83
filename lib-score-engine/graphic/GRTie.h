#pragma once

#include "GRBowing.h"

class ARTie;

// A tie: from just right of the first head to just left of the last, moved off the staff line
// or space it lies on; flatter than a slur.
class GRTie : public GRBowing {
 public:
  GRTie(GRStaff* staff, ARTie* ar);
  // Rests cannot be tied.
  void addAssociation(GRNotationElement* element) override;

 protected:
  void automaticAnchorPoints(GRBowingContext& context, GRSystemStartEndStruct* sse) override;
  void automaticControlPoints(GRBowingContext& context, GRSystemStartEndStruct* sse) override;
};
