#pragma once

#include "GRARNotationElement.h"

class ARSpace;

// Horizontal room written with the space tag; it draws nothing.
class GRSpace : public GRARNotationElement {
 public:
  GRSpace(ARSpace* space, bool ownsAR);

  ARSpace* getARSpace() const;
  void OnDraw(VGDevice&, VScoreSymbolMap&) const override {}
};
