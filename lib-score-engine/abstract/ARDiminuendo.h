#pragma once

#include "ARDynamics.h"

// A diminuendo hairpin over its range.
class ARDiminuendo : public ARDynamics {
 public:
  void PrintName(std::ostream& os) const override;
  bool MatchEndTag(char const* text) override;
};
