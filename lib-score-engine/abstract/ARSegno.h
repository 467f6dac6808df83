#pragma once

#include "ARJump.h"

// The segno sign, where a dal segno jumps back to ("segno").
class ARSegno : public ARJump {
 public:
  ARSegno() : ARJump("[segno]") {}
  void PrintName(std::ostream& os) const override { os << "\\segno"; }
};
