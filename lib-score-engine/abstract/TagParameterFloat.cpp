#include "TagParameterFloat.h"

#include <cctype>
#include <cfloat>
#include <charconv>
#include <cmath>
#include <cstring>

#include "ARUnits.h"
#include "TagParameterRanges.h"

namespace {

constexpr float kUnitsPerCentimetre = 237.10631f;

// Reads the leading decimal number of text[0..length) as atof would, but independent of the
// process locale (a Qt application adopts the user's, where the decimal point may be a comma).
float ParseNumber(char const* text, size_t length) {
  char const* begin = text;
  char const* end = text + length;
  while (begin < end && std::isspace(static_cast<unsigned char>(*begin))) ++begin;
  if (begin < end && *begin == '+') ++begin;
  // "nan1" or "inf2" give 0 like a text without digits: a length that is not a number would
  // upset every later comparison of the layout. Lengths beyond the float range stay the
  // largest float rather than an undefined conversion.
  double value = 0.0;
  if (std::from_chars(begin, end, value).ec != std::errc() || !std::isfinite(value)) return 0.0f;
  if (std::fabs(value) > FLT_MAX) return value < 0 ? -FLT_MAX : FLT_MAX;
  return static_cast<float>(value);
}

}  // namespace

TagParameterFloat::TagParameterFloat(float value) : mValue(value) {}

TagParameter* TagParameterFloat::getCopy() const {
  return new TagParameterFloat(*this);
}

void TagParameterFloat::set(TagParameterFloat const& other) {
  TagParameter::set(other);
  std::memcpy(mUnit, other.mUnit, sizeof mUnit);
  std::memcpy(mUnitInForce, other.mUnitInForce, sizeof mUnitInForce);
  mUnitFlag = other.mUnitFlag;
  mValue = other.mValue;
}

void TagParameterFloat::StoreUnit(char const* unit) {
  std::memset(mUnit, 0, sizeof mUnit);
  std::strncpy(mUnit, unit, 2);
}

void TagParameterFloat::setUnit(char const* unit) {
  StoreUnit(unit);
  mUnitFlag = true;
}

void TagParameterFloat::takeUnitInForce() {
  if (!mUnitFlag || mUnit[0]) return;
  std::memset(mUnitInForce, 0, sizeof mUnitInForce);
  std::strncpy(mUnitInForce, ARUnits::sType.c_str(), 2);
}

void TagParameterFloat::reset(float value, char const* unit) {
  mValue = value;
  if (unit && unit[0]) {
    StoreUnit(unit);
    mUnitFlag = true;
  } else {
    StoreUnit("");
    mUnitFlag = false;
  }
}

// The trailing non-digits are the unit, the rest is the number: "2.5cm" is 2.5 "cm", "12" keeps
// the unit state as it was.
void TagParameterFloat::setValue(char const* text) {
  const size_t length = std::strlen(text);
  if (length == 0) {
    mValue = 0.0f;
    return;
  }
  size_t numberEnd = length;
  while (numberEnd > 0 && !std::isdigit(static_cast<unsigned char>(text[numberEnd - 1])))
    --numberEnd;
  mValue = ParseNumber(text, numberEnd);
  if (numberEnd < length) setUnit(text + numberEnd);
}

float TagParameterFloat::getValue(float lspace) const {
  if (!mUnitFlag) return mValue;
  return TagParameterRanges::CutLength(convertValue(mValue, unitRead(), lspace));
}

float TagParameterFloat::convertValue(float value, char const* unit, float lspace) {
  // A default unit set by a units tag is read like a stored one: its first two characters.
  char name[4] = {};
  std::strncpy(name, unit && unit[0] ? unit : ARUnits::sType.c_str(), 2);
  if (std::strcmp(name, "hs") == 0) return value * lspace * 0.5f;
  return static_cast<float>(gd_convertUnits(value, name, "cm")) * kUnitsPerCentimetre;
}

bool TagParameterFloat::copyValue(TagParameter* other) {
  if (!other || !other->isFloat()) return false;
  auto* source = static_cast<TagParameterFloat*>(other);
  if (!mUnitFlag && source->mUnit[0]) return false;
  if (mUnitFlag)
    std::memcpy(mUnit, source->mUnit, sizeof mUnit);
  else
    StoreUnit("");
  mValue = source->mValue;
  return true;
}

double gd_convertUnits(double value, char const* from, char const* to) {
  if (std::strcmp(from, to) == 0) return value;
  double millimetres = value;
  if (std::strcmp(from, "cm") == 0)
    millimetres = value * 10.0;
  else if (std::strcmp(from, "m") == 0)
    millimetres = value * 1000.0;
  else if (std::strcmp(from, "in") == 0)
    millimetres = value * 25.4;
  else if (std::strcmp(from, "pt") == 0)
    millimetres = value * 0.35145980351459805;
  else if (std::strcmp(from, "pc") == 0)
    millimetres = value * 4.217517642175176;

  if (std::strcmp(to, "mm") == 0) return millimetres;
  if (std::strcmp(to, "cm") == 0) return millimetres / 10.0;
  if (std::strcmp(to, "m") == 0) return millimetres / 1000.0;
  if (std::strcmp(to, "in") == 0) return millimetres / 25.4;
  if (std::strcmp(to, "pt") == 0) return millimetres / 25.4 * 72.27;
  if (std::strcmp(to, "pc") == 0) return millimetres / 25.4 * 72.27 / 12.0;
  return -9.99999e99;
}
