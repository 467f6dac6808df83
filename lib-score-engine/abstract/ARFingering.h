#pragma once

#include "ARText.h"

// A fingering over the notes of its range.
class ARFingering : public ARText {
 public:
  ARFingering() { rangeSetting = ONLYRANGE; }

  void PrintName(std::ostream& os) const override { os << "\\fingering"; }
  void PrintParameters(std::ostream& os) const override { PrintNamedText(os); }
  char const* getTagFormat() const override { return "S,text,,r;U,dy,-2,o"; }
};
