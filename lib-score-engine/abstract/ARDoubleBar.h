#pragma once

#include "ARBar.h"

// A double bar line ("doubleBar").
class ARDoubleBar : public ARBar {
 public:
  using ARBar::ARBar;
  void PrintName(std::ostream& os) const override { os << "\\doublebar"; }
  // Written without its number.
  void PrintParameters(std::ostream& os) const override {}
};
