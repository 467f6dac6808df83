#pragma once

#include <utility>

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
  // A tie that meets ink on its side, or cannot join its heads there for a sign or flag beside
  // them, goes to the other where that is clear, and rises over (sinks under) what it still
  // meets. One from or to a note that another voice sounds at its pitch keeps to its voice's side.
  void keepClear(GRBowingContext& context, GRSystemStartEndStruct* sse, bool sideFree) override;
  // A tie stays by its heads: the articulations of its notes on its side stand outside it.
  void clearMarksOf(CurveInk& ink, GRSystem const* system) override;

 private:
  // Chooses the side and places the tie on it, clear of what it passes where it can.
  void placeClear(GRBowingContext& context, GRSystemStartEndStruct* sse, bool sideFree);
  // A sign of another note standing between the heads, which the tie can neither end before nor
  // rise over from beside the heads, is passed from over (under) the middle of one head to the
  // other, on a side away from the stems where that keeps clear of all.
  void overHeadsPastSign(GRBowingContext& context, GRSystemStartEndStruct* sse, bool sideFree);
  // A tie cut back from its last head by another note's sign standing just before that head ends
  // over (under) the head's middle instead, rising over the sign, where that keeps clear of all
  // and the head's stem is on the other side.
  void endOverHeadPastSign(GRBowingContext& context, GRSystemStartEndStruct* sse);
  // A tie still meeting notes once risen as far as it may, another voice's head standing low by an
  // end of a long tie, is drawn fuller (steep by its ends, flat between) and deepest nearer that
  // end, where that keeps it clear of all.
  void fullerPastNotes(GRBowingContext& context, GRSystemStartEndStruct* sse);
  // Whether a sign between the tie's ends stands in its way.
  bool signInTheWay(GRBowingContext const& context, GRSystemStartEndStruct const* sse) const;
  // Whether a note of another voice sounds with one of the tie's notes at its pitch: the voices'
  // ties from (to) that place part to their voices' sides.
  bool inUnison(GRBowingContext const& context, GRSystemStartEndStruct const* sse) const;
  // Whether the tie's end lies in the head of another note, as beside a head of another voice a
  // second away that stands where the tie meets its own.
  bool endHidden(GRBowingContext const& context, GRSystemStartEndStruct const* sse) const;
  // Bends the tie clear of the ink it meets, by most at the middle.
  void riseClear(GRBowingContext const& context, GRSystemStartEndStruct* sse, float most);
  // Places the tie on the side the context gives, its ends clear of the signs beside them;
  // tells whether its ends still join their heads.
  bool placeOnSide(GRBowingContext& context, GRSystemStartEndStruct* sse);
  // The tie ends before the signs of the note it reaches and begins after the flag of the note
  // it leaves on that side, and a piece continued from the line before begins after the signs
  // that open the line. Signs and flags of other notes further in it rises over where it can.
  // Tells whether the ends still join their heads: ink beside a head may leave no room there.
  bool cutBesideSigns(GRBowingContext& context, GRSystemStartEndStruct* sse);
  // As cutBesideSigns; but heads on a line whose tie a sign beside them would cut back from them
  // (the tail of a flat reaching just past the line) are tied from the middle of the space
  // beyond instead, where the tie passes the sign and still joins them.
  bool endBesideSigns(GRBowingContext& context, GRSystemStartEndStruct* sse);
  // Where the ends go to clear the signs and flags the tie meets: those beside its ends only, or
  // all of them.
  std::pair<float, float> cutEnds(GRBowingContext const& context, GRSystemStartEndStruct const* sse,
                                  bool besideOnly) const;
  // Moves the ends from start and end to ends, where the tie keeps a length that reads as one;
  // tells whether they still join their heads.
  bool placeEnds(GRBowingContext& context, GRSystemStartEndStruct* sse, NVPoint start, NVPoint end,
                 std::pair<float, float> ends);
  // A piece going on from the line before keeps the side the tie began on: where a sign beside
  // the head it reaches leaves it no room to join that head, it passes lower under (over) the
  // sign, as far as it still bends as a tie. Tells whether it found such a place.
  bool passLowBesideSigns(GRBowingContext& context, GRSystemStartEndStruct* sse);
  // How far the tie may rise over what it meets, at the middle.
  static float mostRise(GRBowingContext const& context, GRSystemStartEndStruct const* sse);

  // The tips stand over (under) the middles of the heads rather than beside them.
  bool mOverHeads = false;
  // The last tip alone stands over (under) its head's middle.
  bool mOverEnd = false;
  // The tips of a tie of heads on a line stand in the middle of the space beyond that line.
  bool mMidSpace = false;
};
