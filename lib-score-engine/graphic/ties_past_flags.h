#pragma once

class GRSpring;

// How far apart two neighbouring springs stand at the least where a note whose flag stands
// beside its head (stem up, not beamed) begins a tie on a staff its voice shares with another:
// the tie keeps to its voice's side, the flag's, and begins past the flag. The room keeps the
// shortest tie that still reads as one between the flag and the next note. 0 where no such note
// stands, or where a bar line follows it.
float TiesPastFlags(GRSpring const& before, GRSpring const& after);
