#pragma once

class GRSystem;

// How high the music of one staff line of a system reaches over a stretch of it: the tops of
// its notes (with their own stems), of its chords' shared stems and of its beams. The answer is
// in the staff's coordinates (its top line at 0, upwards negative) and 0 where nothing reaches
// above the top line; left and right are x positions of the system. Marks above the staff ask
// it, to stand clear of what is under them.
float HighestMusicOver(GRSystem const& system, int staffNumber, float left, float right);
