#pragma once

#include "ARDynamics.h"

// A crescendo hairpin over its range.
class ARCrescendo : public ARDynamics {
 public:
  void PrintName(std::ostream& os) const override;
  bool MatchEndTag(char const* text) override;
};
