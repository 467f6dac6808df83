#include "ARBarFormat.h"

#include "BoundParameters.h"
#include "RmnOutput.h"

ARBarFormat::ARBarFormat(ARBarFormat const& other)
    : ARMTParameter(other.getRelativeTimePosition(), &other) {
  if (other.mStyle) mStyle = std::make_unique<TagParameterString>(*other.mStyle);
}

void ARBarFormat::print() const {
  PrintRmnLine(*this);
}

void ARBarFormat::PrintName(std::ostream& os) const {
  os << "\\barFormat";
}

void ARBarFormat::PrintParameters(std::ostream& os) const {
  if (mStyle) os << "style=\"" << mStyle->getValue() << '"';
}

void ARBarFormat::setTagParameterList(TagParameterList& given) {
  static ListOfTPLs ltpls;
  std::unique_ptr<TagParameterList> own;
  BindTagParameters(ltpls, {"S,style,staff,o"}, given, own);
  if (own) mStyle = OnlyIfSet(TakeOfKind<TagParameterString>(*own, 0));
}
