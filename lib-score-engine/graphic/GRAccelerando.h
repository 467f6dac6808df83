#pragma once

#include "GRFirstNoteMark.h"

class ARAccelerando;

// Draws the accelerando text over its notes, at the first note.
class GRAccelerando : public GRFirstNoteMark {
 public:
  GRAccelerando(GRStaff* staff, ARAccelerando* ar);

 protected:
  char const* words() const override { return "accel"; }
};
