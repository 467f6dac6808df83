#include "ARRest.h"

std::ostream& ARRest::operator<<(std::ostream& os) const {
  return os << "_*" << duration.getNumerator() << '/' << duration.getDenominator() << ' ';
}
