#pragma once

#include "GRTagARNotationElement.h"

class ARInstrument;

// The name of an instrument tag, written at its place.
class GRInstrument : public GRTagARNotationElement {
 public:
  explicit GRInstrument(ARInstrument* instrument);
  // Nothing for an instrument without a name.
  void OnDraw(VGDevice& device, VScoreSymbolMap& map) const override;
};
