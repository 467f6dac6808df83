#pragma once

#include "ARJump.h"

// The coda mark, where a jump to the coda lands ("coda").
class ARCoda : public ARJump {
 public:
  ARCoda() : ARJump("[coda] Coda") {}
  void PrintName(std::ostream& os) const override { os << "\\coda"; }
};
