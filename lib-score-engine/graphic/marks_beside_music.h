#pragma once

class GRSystem;

// Once a line of music is placed, its dynamic marks and wedges stand beyond all the ink of the
// music under them on their staff (of every voice, with stems, beams, slurs and ledger lines),
// and a wedge that would meet one before it on its staff stands below (above) that one.
void PlaceMarksBesideMusic(GRSystem const& system);
