#pragma once

#include "GRARNotationElement.h"
#include "GRPositionTag.h"

class ARMusicalTag;

// A range tag that draws nothing itself: every event of its range takes the tag as an
// articulation (accents, staccati, fermatas and the like).
class GRRange : public GRARNotationElement, public GRPositionTag {
 public:
  GRRange(GRStaff* staff, ARMusicalTag* tag);

  void addAssociation(GRNotationElement* element) override;
  // The layout never takes an element out of a range.
  void removeAssociation(GRNotationElement* element) override;
  void OnDraw(VGDevice&, VScoreSymbolMap&) const override {}

 private:
  ARMusicalTag* mTag;
};
