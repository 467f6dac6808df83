#pragma once

#include "GRFirstNoteMark.h"

class ARRitardando;

// Draws the ritardando text over its notes, at the first note.
class GRRitardando : public GRFirstNoteMark {
 public:
  GRRitardando(GRStaff* staff, ARRitardando* ar);

 protected:
  char const* words() const override { return "rit"; }
};
