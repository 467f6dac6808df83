#pragma once

#include "ARJump.h"

// Da capo al fine: back to the beginning, up to the fine mark ("daCapoAlFine").
class ARDaCapoAlFine : public ARJump {
 public:
  ARDaCapoAlFine() : ARJump("D.C. al Fine") {}
  void PrintName(std::ostream& os) const override { os << "\\daCapoAlFine"; }
};
