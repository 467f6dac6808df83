#include "ARTie.h"

#include "BeginFormEnd.h"
#include "RmnOutput.h"

void ARTie::print() const {
  PrintRmnLine(*this);
}

void ARTie::PrintName(std::ostream& os) const {
  os << (rangeFlag ? "\\tie" : "\\tieBegin");
}

bool ARTie::MatchEndTag(char const* text) {
  return ARBowing::MatchEndTag(text) || IsBeginFormEnd(rangeFlag, text, "\\tieEnd");
}
