#pragma once

#include "ARBowing.h"

// A tie from one note to the next of the same pitch.
class ARTie : public ARBowing {
 public:
  ARTie() = default;

  void print() const override;
  void PrintName(std::ostream& os) const override;
  bool MatchEndTag(char const* text) override;
};
