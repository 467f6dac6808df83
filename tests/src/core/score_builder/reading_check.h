#pragma once

// Generated music read back from its engraving: every note drawn reads as the pitch written, on
// its staff at its time, with no sign where none is needed, and every syllable stands under the
// note it is sung on.

#include <string>
#include <vector>

#include "tests/src/core/score_builder/drawn_staves.h"
#include "tests/src/core/score_builder/generated_music.h"

namespace ScoreOverlaps {

std::vector<std::string> ReadingFaults(const GeneratedPiece& piece, const DrawnScore& drawn);

}  // namespace ScoreOverlaps
