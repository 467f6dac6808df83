#include "ARSlur.h"

#include "BeginFormEnd.h"
#include "RmnOutput.h"

void ARSlur::print() const {
  PrintRmnLine(*this);
}

void ARSlur::PrintName(std::ostream& os) const {
  os << (rangeFlag ? "\\slur" : "\\slurBegin");
}

bool ARSlur::MatchEndTag(char const* text) {
  return ARBowing::MatchEndTag(text) || IsBeginFormEnd(rangeFlag, text, "\\slurEnd");
}
