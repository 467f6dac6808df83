#pragma once

#include "GRNotationElement.h"

class GRSystem;
class GRSystemTagInterface;

// Stands in a system slice for a tag that spans staves, so the slice can ask the tag to adjust
// itself once the staves are placed. Draws nothing; the tag is not owned.
class GRSystemTag : public GRNotationElement {
 public:
  explicit GRSystemTag(GRSystemTagInterface* tag) : mSystemTag(tag) {}

  void checkPosition(GRSystem const* system);
  void OnDraw(VGDevice&, VScoreSymbolMap&) const override {}

 private:
  GRSystemTagInterface* mSystemTag;
};
