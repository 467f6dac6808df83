#include "ARSlur.h"

#include "TagClassSupport.h"

void ARSlur::print() const {
  PrintTagLine(*this);
}

void ARSlur::PrintName(std::ostream& os) const {
  os << (rangeFlag ? "\\slur" : "\\slurBegin");
}

bool ARSlur::MatchEndTag(char const* text) {
  return ARBowing::MatchEndTag(text) || IsBeginFormEnd(rangeFlag, text, "\\slurEnd");
}
