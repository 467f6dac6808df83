#pragma once

class GRSpring;

// How far apart two neighbouring springs stand at the least where a ledger line of a note of
// the one runs past the stem of a note of the other on its staff: a stem up on the right of its
// head, which the next note's lines reach back to, or a stem down on the left of its head, which
// the lines of the note before reach on to. The lines keep the air from the stem they keep from
// each other. 0 where no line meets a stem.
float LedgerLinesPastStems(GRSpring const& before, GRSpring const& after);
