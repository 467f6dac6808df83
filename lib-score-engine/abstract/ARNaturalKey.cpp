#include "ARNaturalKey.h"

#include "RmnOutput.h"

void ARNaturalKey::print() const {
  PrintRmnLine(*this);
}

void ARNaturalKey::PrintName(std::ostream& os) const {
  os << "\\natkey";
}
