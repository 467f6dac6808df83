#pragma once

class GRSpring;

// How far right of the spring before it a spring stands at the least where a note of its own is
// tied from a note of the spring before, and a sign of another note of its staff stands left of
// the tied head at that head's height: the tie would have to cross the sign. The notes keep room
// for the tie to leave its first head and pass over the sign before it reaches the second. 0
// where no such sign stands.
float TiesPastSigns(GRSpring const& before, GRSpring const& after);
