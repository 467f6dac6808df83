#pragma once

#include <vector>

#include "GRNewTuplet.h"
#include "NVRect.h"

class CurveBand;
class GREvent;
class GRNotationElement;
class GRSystem;

// What a slur or tie drawn along one staff line of a system passes: the ink of the heads, stems,
// flags, beams, dots, signs and rests of the line's notes, of its clefs, keys and meters, of its
// dynamic marks and wedges, and of the curves already placed on it, as boxes in the staves'
// coordinates. Gathered once the line's music stands where it is drawn.
class CurveInk {
 public:
  // A mark (a dynamic mark, a wedge) stands where it is for the curve to choose its side by;
  // a curve does not bend round it. Nor round an octava's figure, which rises over the curves
  // under it; a piece going on from the line before begins after the one that opens the line.
  // A note's articulations and a tuplet's bracket and number stand outside the
  // curves over their notes: the curve bends round them. Those of the notes at a curve's ends
  // stand by its tips, which no bending moves: a slur begins (ends) beyond them, and the marks
  // move out past a tie.
  // A note's words (a trill's, a tempo change's) are bent round as a sign is, unless they stand
  // over a curve's tip, which no bending moves. A mordent stands over the curves instead.
  enum class Kind {
    Head,
    Stem,
    Flag,
    Dot,
    Accidental,
    Rest,
    Beam,
    Sign,
    Curve,
    Mark,
    Figure,
    Articulation,
    Tuplet,
    Words
  };
  struct Ink {
    NVRect box;
    Kind kind;
    // The note or rest the ink is drawn for; null for a beam, a line's sign, a curve and a mark
    // standing after its note rather than by its head (a breath mark).
    GREvent const* event;

    // Whether the ink is drawn for the element or for a note of the element's chord.
    bool of(GRNotationElement const* element) const;
  };

  CurveInk(GRSystem const& system, int staffNumber);

  // Whether a note's words stand within a fifth of the span [left, right] of one of its ends:
  // bending a curve for them there would steepen the whole curve for the little it rises.
  static bool WordsNearAnEnd(NVRect const& words, float left, float right) {
    float const middle = (words.left + words.right) / 2;
    float const near = (right - left) / 5;
    return middle < left + near || middle > right - near;
  }

  // Takes in a curve placed on the line, for the curves placed after it.
  void addCurve(CurveBand const& band);
  // Moves the articulations of the event standing above (below) the height by, down the page,
  // as they were moved.
  void moveArticulations(GREvent const* event, bool above, float height, float by);

  // Each ink that reaches into [left, right], in no particular order.
  template <class Visit>
  void forEachBetween(float left, float right, Visit&& visit) const {
    for (auto it = firstFrom(left); it != mInks.end() && it->box.left <= right; ++it)
      if (it->box.right >= left) visit(*it);
  }

 private:
  void add(NVRect const& box, Kind kind, GREvent const* event);
  void addEvent(GREvent const* event);
  void addTuplet(GRNewTuplet::Parts const& parts);
  void addNoteWords(GRSystem const& system, int staffNumber);

  // The first ink that may reach x: none before it reaches that far.
  std::vector<Ink>::const_iterator firstFrom(float x) const;

  // Sorted by their left edges.
  std::vector<Ink> mInks;
  float mWidest = 0;
};
