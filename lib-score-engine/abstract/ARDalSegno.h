#pragma once

#include "ARJump.h"

// Dal segno: back to the segno sign ("dalSegno").
class ARDalSegno : public ARJump {
 public:
  ARDalSegno() : ARJump("D.S.") {}
  void PrintName(std::ostream& os) const override { os << "\\dalSegno"; }
};
