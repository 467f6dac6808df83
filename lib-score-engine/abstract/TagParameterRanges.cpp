#include "TagParameterRanges.h"

#include <algorithm>
#include <cstring>

#include "TagParameterFloat.h"

namespace TagParameterRanges {
namespace {

enum class Kind { Int, Number, Length };

struct NamedRange {
  Kind kind;
  char const* name;
  Range range;
};

// The staff size is half a line space, so it follows the scale of a staff; one of 0 or below
// stands for the usual size.
constexpr Range kStaffSize = {kLineSpace / 2 * kMinScale, kLineSpace / 2 * kMaxScale, true};

// Parameters whose meaning asks for less than their kind allows.
constexpr NamedRange kNamedRanges[] = {
    {Kind::Number, "size", {kMinScale, kMaxScale}},
    {Kind::Number, "scale", {kMinScale, kMaxScale}},
    {Kind::Length, "size", kStaffSize},
    // A stem of twenty line spaces is longer than any that notation draws.
    {Kind::Length, "length", {0, 20 * kLineSpace}},
    // A shown note value: from 1/1024 to 1024 wholes (one of 0 or below is not shown).
    {Kind::Int, "n", {-1024, 1024}},
    {Kind::Int, "d", {-1024, 1024}},
    {Kind::Int, "ndots", {0, kMaxDots}},
};

// What every other parameter of a kind may hold: counts, numbers and ids far beyond what a score
// uses, yet small enough that no sum of a few of them leaves the int range.
constexpr Range kKindRanges[] = {
    {-1.0e6, 1.0e6},            // Kind::Int
    {-1.0e6, 1.0e6},            // Kind::Number
    {-kMaxLength, kMaxLength},  // Kind::Length
};

Kind KindOf(TagParameterFloat const& parameter) {
  if (parameter.isInt()) return Kind::Int;
  return parameter.hasUnit() ? Kind::Length : Kind::Number;
}

}  // namespace

bool RangeOf(TagParameter const& parameter, Range* range) {
  if (!parameter.isFloat()) return false;
  Kind const kind = KindOf(static_cast<TagParameterFloat const&>(parameter));
  *range = kKindRanges[static_cast<int>(kind)];
  for (NamedRange const& named : kNamedRanges) {
    if (named.kind == kind && std::strcmp(named.name, parameter.mName.c_str()) == 0)
      *range = named.range;
  }
  return true;
}

bool BringIntoRange(TagParameter& parameter) {
  Range range;
  if (!RangeOf(parameter, &range)) return true;
  auto& number = static_cast<TagParameterFloat&>(parameter);
  // A length is measured in the unit it was written in, or in the default unit in force there.
  double const scale =
      number.hasUnit() ? TagParameterFloat::convertValue(1.0f, number.unitRead(), kLineSpace) : 1;
  double const value = number.getUnitValue() * scale;
  // A value that is no number at all counts as below the range.
  if (value >= range.least && value <= range.most) return true;
  if (range.zeroMeansNone && value <= 0) return true;
  double const nearest = value > range.most ? range.most : range.least;
  number.setValue(static_cast<float>(nearest / scale));
  return false;
}

float CutLength(float units) {
  return std::clamp(units, static_cast<float>(-kMaxLength), static_cast<float>(kMaxLength));
}

}  // namespace TagParameterRanges
