#pragma once

#include <ostream>

class GRMusic;

namespace Layout {

// What a layout made, one line per thing: each page with its size and margins, its systems with
// their place, box and force, their slices, the springs with id, x, extent and force, and every
// element of every staff with its class, date and place. Numbers are written with two decimals,
// so the same layout gives the same text byte for byte.
void ListLayout(GRMusic const& music, std::ostream& os);

}  // namespace Layout
