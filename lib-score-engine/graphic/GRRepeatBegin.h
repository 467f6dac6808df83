#pragma once

#include "GRTagARNotationElement.h"

class ARRepeatBegin;

// The opening repeat sign, reported to the map as a bar line.
class GRRepeatBegin : public GRTagARNotationElement {
 public:
  explicit GRRepeatBegin(ARRepeatBegin* repeat, bool ownsAR = false);

  NVPoint const& getReferencePosition() const override { return sRefPos; }
  unsigned int getTextAlign() const override { return 9; }
  void OnDraw(VGDevice& device, VScoreSymbolMap& map) const override;

 private:
  static NVPoint const sRefPos;
};
