#pragma once

#include "NVstring.h"

// The units tag. Its class-wide default unit applies to every length written without a unit,
// in every score, from the moment a units tag sets it until the next one does; it starts as
// half spaces ("hs") and is never reset between scores.
class ARUnits {
 public:
  static NVstring sType;
};
