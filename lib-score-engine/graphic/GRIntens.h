#pragma once

#include "GRTagARNotationElement.h"

class ARIntens;
class MusicInk;
class GRStaff;

// A dynamic mark such as "p" or "mf", drawn as one music-font glyph below the staff.
class GRIntens : public GRTagARNotationElement {
 public:
  // Every mark of the table has a glyph of its own; unknown marks draw nothing.
  GRIntens(GRStaff* staff, ARIntens* intens);

  ARIntens* getARIntens() const;
  // The room the mark needs from its place to whatever follows it on its line: its width and
  // half a line space; 0 for a mark that draws nothing.
  float roomAfter() const;
  // Where its letters stand: the glyph's ink begins where it is drawn, left of the box's edge,
  // and reaches over the box's width and height. Empty for a mark that draws nothing.
  NVRect letters() const;
  // Moves every mark among a staff's elements down below the events at its date (a chord with
  // its stem) and a tuplet's bracket kept under the notes there, where they reach lower than the
  // mark's usual place under the staff. One walk finds how low each date reaches, so a thousand
  // marks on one note cost a thousand steps.
  static void StandBelowEvents(GRStaff const& staff);
  // Once the line is placed: moves the mark down below all the ink of the music its letters
  // stand under, of every voice (the beams and stems of the notes after its own, a slur).
  void standBelow(MusicInk const& ink);
  void moveDown(float by) { mPosition.y += by; }
};
