#include "curves_on_line.h"

#include <algorithm>
#include <optional>
#include <vector>

#include "curve_band.h"

float RiseOverCurves(GRSystem const& system, int staffNumber, NVRect box, float air) {
  std::vector<CurveBand> bands;
  // Only a curve reaching along the box can meet it, however far the box rises.
  ForEachCurveOnLine(system, staffNumber, [&](GRBowing const* bowing) {
    NVRect piece;
    if (!bowing->pieceBox(&system, piece) || piece.right < box.left || piece.left > box.right)
      return;
    if (std::optional<CurveBand> band = bowing->bandOn(&system)) bands.push_back(*band);
  });
  // Rising over one curve may meet another over it; each round clears one more at least.
  float risen = 0;
  for (size_t round = 0; round <= bands.size(); ++round) {
    float rise = 0;
    for (CurveBand const& band : bands)
      if (band.intrusion(box, false, 0) > 0) rise = std::max(rise, band.intrusion(box, false, air));
    if (rise <= 0) break;
    box.top -= rise;
    box.bottom -= rise;
    risen += rise;
  }
  return risen;
}
