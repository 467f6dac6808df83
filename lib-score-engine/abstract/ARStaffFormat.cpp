#include "ARStaffFormat.h"

#include <cmath>

#include "BoundParameters.h"
#include "RmnOutput.h"

namespace {

constexpr float kLineSpace = 50.0f;

// Rounds a length to the nearest whole number of layout units (halves away from zero for
// positive lengths) and writes it back in the parameter's own unit. The scale is taken from the
// parameter itself, so half spaces and the default unit come out right as well.
void RoundToLayoutUnits(TagParameterFloat& size) {
  const double units = size.getValue(kLineSpace);
  if (!std::isfinite(units) || units == 0.0) return;
  const double whole = std::trunc(units + 0.5);
  size.setValue(static_cast<float>(size.getUnitValue() * (whole / units)));
}

}  // namespace

void ARStaffFormat::print() const {
  PrintRmnLine(*this);
}

void ARStaffFormat::PrintName(std::ostream& os) const {
  os << "\\staffFormat";
}

void ARStaffFormat::PrintParameters(std::ostream& os) const {
  if (mStyle) os << "style=\"" << mStyle->getValue() << '"';
  if (mStyle && mStaffSize) os << ',';
  if (mStaffSize) {
    os << "size=";
    WriteAsWritten(os, *mStaffSize);
  }
}

void ARStaffFormat::setTagParameterList(TagParameterList& given) {
  static ListOfTPLs ltpls;
  std::unique_ptr<TagParameterList> own;
  BindTagParameters(ltpls, {"S,style,standard,o;U,size,3pt,o"}, given, own);
  if (!own) return;
  mStyle = OnlyIfSet(TakeOfKind<TagParameterString>(*own, 0));
  mStaffSize = OnlyIfSet(TakeOfKind<TagParameterFloat>(*own, 1));
  if (mStaffSize) RoundToLayoutUnits(*mStaffSize);
}
