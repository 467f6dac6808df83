#pragma once

#include "ARText.h"

// A label at an event or over a range.
class ARLabel : public ARText {
 public:
  ARLabel() { rangeSetting = RANGEDC; }

  void PrintName(std::ostream& os) const override { os << "\\Label"; }
  void PrintParameters(std::ostream& os) const override { PrintNamedText(os); }
  char const* getTagFormat() const override { return "S,text,,r"; }
};
