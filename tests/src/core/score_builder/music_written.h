#pragma once

// The notes a short hand-written text of music holds, as a pianist plays them, so that the
// reading check can read examples written by hand as it reads generated music. It knows the
// little such examples write: voices and their staves, notes, chords and rests with the length
// and octave carried on from the note before, ties, tuplets of thirds, grace notes, octavas as
// ranges and as states, and written breaks; other tags it passes over.

#include <string>

#include "tests/src/core/score_builder/generated_music.h"

namespace ScoreOverlaps {

GeneratedPiece WrittenPiece(const std::string& rmn);

}  // namespace ScoreOverlaps
