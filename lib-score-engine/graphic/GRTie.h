#pragma once

#include "GRBowing.h"

class ARTie;

// A tie: from just right of the first head to just left of the last, moved off the staff line
// or space it lies on; flatter than a slur.
class GRTie : public GRBowing {
 public:
  GRTie(GRStaff* staff, ARTie* ar);
  // A tie of its own, with no tag in the text.
  explicit GRTie(GRStaff* staff);
  // A tie of its own between two elements of the staff; a missing start is the staff's second
  // glue, a missing end its end glue.
  GRTie(GRStaff* staff, GRNotationElement* start, GRNotationElement* end);
  // Rests cannot be tied.
  void addAssociation(GRNotationElement* element) override;

 protected:
  // Ties of a chord part: the top one bends up, the bottom one down, those between by their
  // place in the chord (the middle one away from the stem). Other ties go opposite the stems.
  void automaticCurveDirection(GRBowingContext& context, GRSystemStartEndStruct* sse) override;
  void automaticAnchorPoints(GRBowingContext& context, GRSystemStartEndStruct* sse) override;
  void automaticControlPoints(GRBowingContext& context, GRSystemStartEndStruct* sse) override;
  // A tie that meets ink on its side goes to the other where that is clear, and rises over
  // (sinks under) what it still meets. One from or to a note that another voice sounds at its
  // pitch keeps to its voice's side.
  void keepClear(GRBowingContext& context, GRSystemStartEndStruct* sse, bool sideFree) override;

 private:
  // Whether a note of another voice sounds with one of the tie's notes at its pitch: the voices'
  // ties from (to) that place part to their voices' sides.
  bool inUnison(GRBowingContext const& context, GRSystemStartEndStruct const* sse) const;
  // Places the tie on the side the context gives, its ends clear of the signs beside them.
  void placeOnSide(GRBowingContext& context, GRSystemStartEndStruct* sse);
  // The tie ends before the signs of the note it reaches and begins after the flag of the note
  // it leaves on that side, and a piece continued from the line before begins after the signs
  // that open the line.
  void endBesideSigns(GRBowingContext& context, GRSystemStartEndStruct* sse);
};
