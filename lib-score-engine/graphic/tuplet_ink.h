#pragma once

// The ink a tuplet's notes put on the page, and how far its bracket and number move out to stand
// clear of it. The bracket is first placed by the outer notes and the farthest one between; signs,
// ledger lines, beams and notes the line passes by still reach into it.

#include <optional>
#include <vector>

#include "NVPoint.h"
#include "NVRect.h"

class GREvent;

class TupletInk {
 public:
  // The head, stem with its flag or beam, signs and ledger lines of a note; notes are added
  // left to right.
  void add(GREvent const* event);
  // As add, for a note that stands beside the tuplet: its beam is not followed.
  void addBeside(GREvent const* event);
  // Ink of another mark, a neighbouring tuplet's bracket and number.
  void addBox(NVRect const& box) { mBoxes.push_back(box); }

  // The bracket from p1 to p2 with hooks of that length towards the notes (none for 0), and the
  // number's box (empty for none), on the side given (1 above the notes, -1 below): how far both
  // must move away from the notes for air between them and every ink of the notes.
  struct Mark {
    NVPoint p1, p2;
    float hook = 0;
    float pen = 0;
    NVRect number;
    int direction = 1;
  };
  float shiftClear(Mark const& mark, float air) const;
  // Of the ink of notes beside the tuplet: draws the bracket's ends in, along its line, from ink
  // it would meet there, but no further in than the limits (the left end's, the right end's).
  void trimEnds(Mark& mark, float air, float leftLimit, float rightLimit) const;

 private:
  std::vector<NVRect> mBoxes;
  std::optional<NVRect> mBeamAt;  // the end of the beam at the last note added, if beamed
};
