#include "RmnOutput.h"

#include <iostream>

#include "ARMusicalObject.h"
#include "TagParameterFloat.h"

namespace {

constexpr float kCentimetresPerUnit = 1.0f / 237.10631f;

}  // namespace

void PrintRmnLine(ARMusicalObject const& object) {
  std::cout << object << '\n';
}

void WriteCentimetres(std::ostream& os, float layoutUnits) {
  os << layoutUnits * kCentimetresPerUnit << "cm";
}

void WriteAsWritten(std::ostream& os, TagParameterFloat const& parameter) {
  os << parameter.getUnitValue() << parameter.getUnit();
}

void WriteQuoted(std::ostream& os, char const* text) {
  os << '"' << (text ? text : "") << '"';
}
