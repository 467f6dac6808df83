#pragma once

#include "ARBar.h"

// The final bar line ("endBar"); the automatic end-bar pass closes a voice with one. It takes no
// range.
class ARFinishBar : public ARBar {
 public:
  ARFinishBar() { rangeSetting = NORANGE; }
  explicit ARFinishBar(Fraction const& relativeTimePosition) : ARBar(relativeTimePosition) {
    rangeSetting = NORANGE;
  }
  void PrintName(std::ostream& os) const override { os << "\\endBar"; }
  // Written without its number.
  void PrintParameters(std::ostream& os) const override {}
};
