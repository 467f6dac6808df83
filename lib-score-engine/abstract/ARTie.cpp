#include "ARTie.h"

#include "TagClassSupport.h"

void ARTie::print() const {
  PrintTagLine(*this);
}

void ARTie::PrintName(std::ostream& os) const {
  os << (rangeFlag ? "\\tie" : "\\tieBegin");
}

bool ARTie::MatchEndTag(char const* text) {
  return ARBowing::MatchEndTag(text) || IsBeginFormEnd(rangeFlag, text, "\\tieEnd");
}
