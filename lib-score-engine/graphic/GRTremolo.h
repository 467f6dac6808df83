#pragma once

#include "GRFirstNoteMark.h"

class ARTremolo;

// Draws the tremolo text over its notes, at the first note.
class GRTremolo : public GRFirstNoteMark {
 public:
  GRTremolo(GRStaff* staff, ARTremolo* ar);

 protected:
  char const* words() const override { return "trem."; }
};
