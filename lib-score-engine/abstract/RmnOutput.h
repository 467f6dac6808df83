#pragma once

#include <ostream>

class ARMusicalObject;
class TagParameterFloat;

// Helpers for the RMN debug output of the tags.

// The object's RMN text and a line end on standard output: what a tag's print() writes.
void PrintRmnLine(ARMusicalObject const& object);

// A length in layout units, as centimetres with the unit: "1.5cm".
void WriteCentimetres(std::ostream& os, float layoutUnits);

// The value as written with its unit, if any: "1.8hs", "7".
void WriteAsWritten(std::ostream& os, TagParameterFloat const& parameter);

// The text between double quotes.
void WriteQuoted(std::ostream& os, char const* text);
