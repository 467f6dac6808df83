#pragma once

// Any two marks of a page whose inks meet collide, unless a rule names the pair and how the two
// belong together: a stem ending in its beam, a ledger line through its own head, a tie's end at
// its head. Some pairs ask for air besides: the heads and ledger lines of neighbouring notes
// touch when nothing stands between them, and a wedge keeps clear of a dynamic mark.

#include <string>
#include <vector>

#include "tests/src/core/score_builder/drawn_marks.h"

namespace ScoreOverlaps {

struct Found {
  Mark first, second;  // in the order of Mark
  std::string what;    // the two marks and where they stand, for a message
  DrawnMark firstMark, secondMark;
};

// Every collision among the marks of one page (the marks of DrawnMarks, with the dates of the
// notes).
std::vector<Found> Collisions(const std::vector<DrawnMark>& marks);

// "head and beam" for a message.
std::string PairName(const Found& found);

}  // namespace ScoreOverlaps
