#pragma once

#include "ARJump.h"

// Dal segno al fine: back to the segno sign, up to the fine mark ("dalSegnoAlFine").
class ARDalSegnoAlFine : public ARJump {
 public:
  ARDalSegnoAlFine() : ARJump("D.S. al Fine") {}
  void PrintName(std::ostream& os) const override { os << "\\dalSegnoAlFine"; }
};
