#include "ARMeter.h"

#include <string>

#include "RmnOutput.h"
#include "TagParameterFloat.h"
#include "TagParameterString.h"
#include "TagTextNumber.h"

ARMeter::ARMeter(int numerator, int denominator) {
  mName = (std::to_string(numerator) + "/" + std::to_string(denominator)).c_str();
  SetNumeric(numerator, denominator);
}

std::ostream& ARMeter::operator<<(std::ostream& os) const {
  if (mMeterType == NONE) return os;
  return ARMTParameter::operator<<(os);
}

void ARMeter::print() const {
  PrintRmnLine(*this);
}

void ARMeter::PrintName(std::ostream& os) const {
  os << "\\meter";
}

void ARMeter::PrintParameters(std::ostream& os) const {
  WriteQuoted(os, mName.c_str());
}

void ARMeter::setTagParameterList(TagParameterList& given) {
  static ListOfTPLs ltpls;
  std::unique_ptr<TagParameterList> own;
  BindTagParameters(ltpls, {"S,type,4/4,r;F,size,1.0,o;S,autoBarlines,on,o"}, given, own);
  if (!own) return;
  if (TagParameter* type = ParameterAt(*own, 0); type && type->isString())
    mName = static_cast<TagParameterString*>(type)->getValue();
  if (TagParameter* size = ParameterAt(*own, 1); size && size->isFloat())
    mMeterSize = static_cast<TagParameterFloat*>(size)->getUnitValue();
  if (TagParameter* autoBarlines = ParameterAt(*own, 2); autoBarlines && autoBarlines->isString())
    mAutoBarlines = *static_cast<TagParameterString*>(autoBarlines) == "off" ? 0 : 1;
  ReadMeterText();
}

void ARMeter::ReadMeterText() {
  char const* text = mName.c_str();
  char const* end = nullptr;
  const int numerator = ReadTagTextInt(text, &end);
  if (end != text && *end == '/') {
    char const* second = end + 1;
    const int denominator = ReadTagTextInt(second, &end);
    if (end != second) {
      SetNumeric(numerator, denominator);
      return;
    }
  }
  if (mName.equal("C")) {
    mNumerator = 4;
    mDenominator = 4;
    mMeterType = C;
  } else if (mName.equal("C/")) {
    mNumerator = 2;
    mDenominator = 2;
    mMeterType = C2;
  } else {
    SetNumeric(0, 0);
  }
}

// A measure of zero or less would make the later passes cut events to negative lengths or divide
// by zero, so such numbers give no meter, as unreadable text does.
void ARMeter::SetNumeric(int numerator, int denominator) {
  const bool valid = numerator > 0 && denominator > 0;
  mNumerator = valid ? numerator : 0;
  mDenominator = valid ? denominator : 1;
  mMeterType = valid ? NUMERIC : NONE;
}
