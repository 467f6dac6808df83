#include "ARDiminuendo.h"

#include "BeginFormEnd.h"

void ARDiminuendo::PrintName(std::ostream& os) const {
  os << (rangeFlag ? "\\dim" : "\\dimBegin");
}

bool ARDiminuendo::MatchEndTag(char const* text) {
  return ARDynamics::MatchEndTag(text) || IsBeginFormEnd(rangeFlag, text, "\\dimEnd");
}
