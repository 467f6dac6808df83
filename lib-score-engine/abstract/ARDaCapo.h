#pragma once

#include "ARJump.h"

// Da capo: back to the beginning ("daCapo").
class ARDaCapo : public ARJump {
 public:
  ARDaCapo() : ARJump("D.C.") {}
  void PrintName(std::ostream& os) const override { os << "\\daCapo"; }
};
