#pragma once

#include "GRBowing.h"

class ARSlur;

// A slur: over or under the notes by their stems, anchored beside the outer heads, and as high
// as the notes between its ends ask.
class GRSlur : public GRBowing {
 public:
  GRSlur(GRStaff* staff, ARSlur* ar);
  // A slur of its own, with no tag in the text.
  explicit GRSlur(GRStaff* staff);

 protected:
  void automaticCurveDirection(GRBowingContext& context, GRSystemStartEndStruct* sse) override;
  void automaticAnchorPoints(GRBowingContext& context, GRSystemStartEndStruct* sse) override;
  void automaticControlPoints(GRBowingContext& context, GRSystemStartEndStruct* sse) override;
};
