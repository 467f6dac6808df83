#pragma once

#include "ARSegno.h"
#include "GRJump.h"

// The segno sign.
class GRSegno : public GRJump {
 public:
  explicit GRSegno(ARSegno* segno) : GRJump(segno, false) {}
};
