#pragma once

#include <map>
#include <vector>

#include "NVRect.h"

class GRSystem;

// Once a line of music is placed, its dynamic marks and wedges stand beyond all the ink of the
// music under them on their staff (of every voice, with stems, beams, slurs and ledger lines),
// and a wedge that would meet one before it on its staff stands below (above) that one.
// Answers where the marks under each line of staves stand then, by the staves' number, in their
// staff's coordinates and the system's x (lines without marks under them left out).
std::map<int, std::vector<NVRect>> PlaceMarksBesideMusic(GRSystem const& system);
