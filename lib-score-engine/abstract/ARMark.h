#pragma once

#include "ARText.h"

// A rehearsal mark.
class ARMark : public ARText {
 public:
  ARMark() { rangeSetting = NORANGE; }

  void PrintName(std::ostream& os) const override { os << "\\mark"; }
  void PrintParameters(std::ostream& os) const override { PrintNamedText(os); }
  char const* getTagFormat() const override { return "S,text,,r"; }
};
