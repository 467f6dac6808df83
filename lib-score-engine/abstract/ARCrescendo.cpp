#include "ARCrescendo.h"

#include "BeginFormEnd.h"

void ARCrescendo::PrintName(std::ostream& os) const {
  os << (rangeFlag ? "\\cresc" : "\\crescBegin");
}

bool ARCrescendo::MatchEndTag(char const* text) {
  return ARDynamics::MatchEndTag(text) || IsBeginFormEnd(rangeFlag, text, "\\crescEnd");
}
