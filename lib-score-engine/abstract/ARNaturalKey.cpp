#include "ARNaturalKey.h"

#include "TagDebugPrint.h"

void ARNaturalKey::print() const {
  PrintTagLine(*this);
}

void ARNaturalKey::PrintName(std::ostream& os) const {
  os << "\\natkey";
}
