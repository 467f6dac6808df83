#pragma once

#include "ARJump.h"

// The end of a piece played with a repeat ("fine").
class ARFine : public ARJump {
 public:
  ARFine() : ARJump("Fine") {}
  void PrintName(std::ostream& os) const override { os << "\\fine"; }
};
