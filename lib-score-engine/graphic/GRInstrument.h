#pragma once

#include "GRTagARNotationElement.h"

class ARInstrument;
class GRSystem;
class GRSystemSlice;

// The name of an instrument tag. Named where a line begins, it stands in the margin before the
// line, level with the middle of its staff, when the line is indented to make room for it;
// named in mid line it is written at its place.
class GRInstrument : public GRTagARNotationElement {
 public:
  explicit GRInstrument(ARInstrument* instrument);
  // Nothing for an instrument without a name.
  void OnDraw(VGDevice& device, VScoreSymbolMap& map) const override;
  // The indent a line needs for the name to stand before it: the name's width and the gap that
  // keeps it clear of the brace; 0 without a name.
  float marginRoom() const;

 private:
  char const* name() const;
  // Named at the system's start on a line indented by at least the margin room.
  bool standsBefore(GRSystem const* system) const;
};

// The indent a line beginning with the slice needs for the instrument names at the slice's start
// on each of its staves: the largest margin room among them, 0 without any.
float InstrumentNamesRoom(GRSystemSlice const& slice);
