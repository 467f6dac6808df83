#pragma once

#include "Fraction.h"

// What one pass over all voice managers gathered from their status codes: whether all are
// done, the break the tag pass asks for (a new page over a new system over a possible break),
// and the times the event pass offers for the next step.
struct GRPassResult {
  int mode;
  bool allFinished = true;
  bool tagPassAgain = false;
  // 0 none, 1 new system, 2 new page, 3 possible break.
  int breakKind = 0;
  // The value of the first possible break, in voice order.
  float breakValue = 0;
  Fraction nextTime = Frac_Max;
  Fraction zeroDurationMinimum = Frac_Max;

  void take(int code, Fraction const& t, float possibleBreakValue);
  // An event pass after which no voice offers a next time though one is unfinished: the walk
  // cannot go on.
  bool isStuck() const { return nextTime == Frac_Max && !allFinished; }
};
