#pragma once

// Which marks of one staff may lie on each other, as engraving means them to (a head on its
// stem, a ledger line through its head, staff lines under everything), and the pairs of a drawn
// page that overlap otherwise. Boxes are compared first; where one of two marks keeps its ink,
// what the inks share decides, so that the empty corner of a slanting beam or of a sign's box
// hides nothing.

#include <string>
#include <vector>

#include "tests/src/core/score_builder/drawn_marks.h"

namespace ScoreOverlaps {

// Two marks touch, rather than overlap, while what they share is no more than this many page
// units across or along (a twenty-fifth of a staff space): the program's device places glyphs
// on whole units.
inline constexpr double Tolerance = 2;

// Whether marks of the kinds may share the part of the page: one that only touches, or one
// engraving lays them on.
bool MayOverlap(Mark a, Mark b, const QRectF& shared);

struct Overlap {
  DrawnMark first, second;
  QRectF shared;  // the part of the page both cover
};

// What two marks share of the page: their boxes' common part, or where one of them keeps its
// ink, what their inks share.
QRectF SharedInk(const DrawnMark& a, const DrawnMark& b);

// The pairs of marks of one staff that overlap and may not.
std::vector<Overlap> Overlaps(const std::vector<DrawnMark>& marks);

// "head (glyph 88) at 10,20 60x54 and text ("XX") at ..., sharing 26x26" for a message.
std::string Describe(const Overlap& overlap);

}  // namespace ScoreOverlaps
