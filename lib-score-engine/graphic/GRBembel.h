#pragma once

#include "GRTagARNotationElement.h"

// A free-standing bembel sign, centred on its x and placed by a spring of its own.
class GRBembel : public GRTagARNotationElement {
 public:
  explicit GRBembel(ARMusicalTag* tag);

  NVPoint const& getReferencePosition() const override { return mRefpos; }

  static constexpr unsigned int sBembelSymbol = 164;

 private:
  NVPoint mRefpos;
};
