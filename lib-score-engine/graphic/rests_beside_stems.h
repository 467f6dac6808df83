#pragma once

class GRSpring;

// How far apart two neighbouring springs stand at the least where a rest follows a note of its
// voice whose stem stands up on the right of its head, or comes before one whose stem stands
// down on the left of its head, at heights the rest's glyph reaches: the rest keeps some air
// from the stem, which the room kept between heads leaves out where the stem grows to a beam
// only once the line is spaced. 0 where no rest stands beside such a stem.
float RestsBesideStems(GRSpring const& before, GRSpring const& after);
