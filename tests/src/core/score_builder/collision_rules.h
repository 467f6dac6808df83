#pragma once

// Marks of one staff that engraving keeps apart by some air, where the overlap rules only ask
// that they do not lie on each other: the heads of neighbouring notes, their ledger lines, a
// wedge and a dynamic mark. And marks that belong to different things and may never meet: a
// tuplet's bracket or number and a text under it, a beam and a head.

#include <string>
#include <vector>

#include "tests/src/core/score_builder/drawn_marks.h"

namespace ScoreOverlaps {

enum class Collision {
  HeadsTouch,           // heads of notes of different dates touch
  LedgerLinesMerge,     // ledger lines of neighbouring notes run into one line
  WedgeTouchesDynamic,  // a wedge comes closer to a dynamic mark than a quarter of a space
  BracketCrossesText,   // a tuplet's bracket or number lies on a text
  BeamThroughHead,      // a beam lies on a head
};
inline constexpr Collision AllCollisions[] = {
    Collision::HeadsTouch, Collision::LedgerLinesMerge, Collision::WedgeTouchesDynamic,
    Collision::BracketCrossesText, Collision::BeamThroughHead};

const char* Name(Collision collision);

struct Found {
  Collision collision;
  std::string what;  // the two marks and where they stand, for a message
};

// Every collision among the marks of one page (the marks of DrawnMarks, with the dates of the
// notes).
std::vector<Found> Collisions(const std::vector<DrawnMark>& marks);

}  // namespace ScoreOverlaps
