#include "ARShareLocation.h"

#include "RmnOutput.h"

ARShareLocation::ARShareLocation() {
  rangeSetting = ONLYRANGE;
}

ARShareLocation::ARShareLocation(ARShareLocation const* copy) : ARMTParameter(Frac_0, copy) {}

void ARShareLocation::print() const {
  PrintRmnLine(*this);
}

void ARShareLocation::PrintName(std::ostream& os) const {
  os << (rangeFlag ? "\\shareLocation" : "\\shareLocationBegin");
}

void ARShareLocation::setTagParameterList(TagParameterList& given) {
  std::unique_ptr<TagParameterList> own;
  BindTagParameters(sTemplates, {""}, given, own);
}
