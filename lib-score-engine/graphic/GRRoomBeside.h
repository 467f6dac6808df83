#pragma once

#include <limits>

#include "NVRect.h"

class Fraction;
class GRStaff;

// A mark beside a staff's notes that learns its place only after the staves are stacked (a
// wedge, a tuplet's bracket): the staff keeps its room when it is stacked.
class GRRoomBeside {
 public:
  virtual ~GRRoomBeside() = default;
  // The place the mark takes beside the staff's notes so far, in the staff's coordinates; empty
  // without any. Its width is a stand-in.
  virtual NVRect roomBeside(GRStaff const* staff) const = 0;
  // Whether the mark stands under the staff at some time from `from` to `to` (both included).
  virtual bool standsUnderBetween(Fraction const& from, Fraction const& to) const {
    (void)from;
    (void)to;
    return false;
  }
  // How low a bracket under the staff reaches at some time from `from` to `to` (both included),
  // in the staff's coordinates; nothing (minus infinity) for other marks.
  virtual float reachUnderBetween(Fraction const& from, Fraction const& to,
                                  GRStaff const* staff) const {
    (void)from;
    (void)to;
    (void)staff;
    return -std::numeric_limits<float>::infinity();
  }
};
