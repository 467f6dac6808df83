#pragma once

#include "GRTagARNotationElement.h"

// A free-standing breath mark: a comma above the staff, placed by a spring of its own.
class GRBreathMark : public GRTagARNotationElement {
 public:
  explicit GRBreathMark(ARMusicalTag* tag);

  NVPoint const& getReferencePosition() const override { return mRefpos; }
  // Where the comma puts its ink, in the staff's coordinates: the mark keeps no room of its own.
  NVRect inkBox() const;

  static constexpr unsigned int sBreathMarkSymbol = 44;

 private:
  NVPoint mRefpos;
};
