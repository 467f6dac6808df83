#pragma once

// The lengths a pianist reads off the heads of a staff: a whole head is a whole note, a hollow
// one a half, a filled one a quarter halved for each flag or beam at the end of its stem; each
// dot beside the head adds half of what the one before it added. Two heads drawn one over the
// other look like one head: if they are of different kinds the page cannot be read, and else
// each stem the head carries (a stem for each voice that meets there) reads one length.

#include <map>
#include <string>
#include <vector>

#include "tests/src/core/score_builder/drawn_staves.h"

namespace ScoreOverlaps {

struct LengthReading {
  // The lengths in ticks of generated_music.h, by head; the first of heads drawn one over
  // another carries the lengths of all of them, the others none.
  std::map<const DrawnNote*, std::vector<int>> shown;
  // The lengths read off a head's stems, by the way each stem points (true for up).
  std::map<const DrawnNote*, std::vector<std::pair<bool, int>>> byStem;
  std::vector<std::string> faults;
};

LengthReading ReadLengths(const DrawnStaff& staff);

}  // namespace ScoreOverlaps
