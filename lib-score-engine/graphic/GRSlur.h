#pragma once

#include <vector>

#include "Fraction.h"
#include "GRBowing.h"
#include "curve_ink.h"

class ARSlur;
class NEPointerList;

// A slur: over or under the notes by their stems, anchored beside the outer heads, and as high
// as the notes between its ends ask.
class GRSlur : public GRBowing {
 public:
  GRSlur(GRStaff* staff, ARSlur* ar);
  // A slur of its own, with no tag in the text.
  explicit GRSlur(GRStaff* staff);

  // A slur binds notes: where its range begins or ends with rests, it begins at the first note
  // of the line and ends at the last one, so that it does not reach over the rests outside.
  void setStartElement(GRStaff const* staff, GRNotationElement* element) override;
  void setEndElement(GRStaff const* staff, GRNotationElement* element) override;

 protected:
  void automaticCurveDirection(GRBowingContext& context, GRSystemStartEndStruct* sse) override;
  void automaticAnchorPoints(GRBowingContext& context, GRSystemStartEndStruct* sse) override;
  void automaticControlPoints(GRBowingContext& context, GRSystemStartEndStruct* sse) override;
  // A slur's ends stand outside the ties and slurs at its notes, and an open end beyond the
  // notes beside it; its middle then rises over (sinks under) what it passes.
  void keepClear(GRBowingContext& context, GRSystemStartEndStruct* sse, bool sideFree) override;

 private:
  // Places the ends clear of the curves (and an open end of the notes) beside them, then bends
  // the middle clear of what the slur passes, on the side it lies on.
  void placeClear(GRBowingContext& context, GRSystemStartEndStruct* sse);
  // A slur whose side no voice of its staff tells, which still meets a rest (of another voice,
  // one bending the middle does not clear), goes to the other side of its notes where it meets
  // nothing there. Where it keeps its side, the rest moves out of its way once it is placed.
  void sideClearOfRests(GRBowingContext& context, GRSystemStartEndStruct* sse);

  struct TimedElement {
    Fraction time;
    GRNotationElement const* element;
  };
  // The notes strictly between two times, found in a copy of the associations sorted by time.
  // A slur over hundreds of systems looked over all its notes for each of them; the copy is
  // sorted again only when the list changed.
  std::vector<TimedElement>::const_iterator passedFrom(Fraction const& after) const;
  mutable std::vector<TimedElement> mByTime;
  mutable NEPointerList const* mByTimeOf = nullptr;
  mutable unsigned mByTimeVersion = 0;
};
