#pragma once

#include "GRNotationElement.h"

class GRBeam;

// One further level of a beam (sixteenths and shorter), or the short stub of a single note at
// that level. Corners in the order of the main beam: start at the stem, start away from it,
// end at the stem, end away from it.
class GRSimpleBeam : public GRNotationElement {
 public:
  GRSimpleBeam(GRBeam const* parent, NVPoint const (&points)[4]);
  // Filled in the parent beam's colour; the caller has the pen and fill pushed.
  void OnDraw(VGDevice& device, VScoreSymbolMap& map) const override;
  NVPoint const& getPoint(int i) const { return mPoints[i]; }

 private:
  GRBeam const* mParent;
  NVPoint mPoints[4];
};
