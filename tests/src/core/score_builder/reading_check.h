#pragma once

// Generated music read back from its engraving: every note drawn reads as the pitch and the
// length written, on its staff at its time, with no sign where none is needed; the events of a
// staff stand left to right in the order they are played, each in a column of its own, with no
// sign in another column's heads; grace notes stand after the bar line and the signs of a line's
// start, directly before their note on its line; a written break begins its line or page; no
// rest lies on a head, stem or beam; and every syllable stands under the note it is sung on.

#include <string>
#include <vector>

#include "tests/src/core/score_builder/drawn_staves.h"
#include "tests/src/core/score_builder/generated_music.h"

namespace ScoreOverlaps {

std::vector<std::string> ReadingFaults(const GeneratedPiece& piece, const DrawnScore& drawn);

}  // namespace ScoreOverlaps
