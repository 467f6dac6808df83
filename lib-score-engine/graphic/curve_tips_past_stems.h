#pragma once

#include "NVPoint.h"

class CurveInk;

// Moves a curve's tip beyond the stems, flags and beams drawn over (under) it, as a slur ending
// on the stem side of its note ends at the stem's end, past the beam: up to most from where it
// stood, and by air beyond them. Only where a flag or beam stands there: a bare stem by the tip
// is passed through. True where the tip moved.
bool TipPastStems(CurveInk const& ink, NVPoint& tip, bool above, float air, float most);
