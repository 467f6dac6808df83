#pragma once

#include <map>

class GRSystem;

// Once a line of music is placed, its dynamic marks and wedges stand beyond all the ink of the
// music under them on their staff (of every voice, with stems, beams, slurs and ledger lines),
// and a wedge that would meet one before it on its staff stands below (above) that one.
// Answers how low the marks under each line of staves reach then, by the staves' number, in
// their staff's coordinates (lines without marks under them left out).
std::map<int, float> PlaceMarksBesideMusic(GRSystem const& system);
