#pragma once

#include "ARJump.h"

// The jump to the coda ("daCoda").
class ARDaCoda : public ARJump {
 public:
  ARDaCoda() : ARJump("to Coda [coda]") {}
  void PrintName(std::ostream& os) const override { os << "\\daCoda"; }
};
