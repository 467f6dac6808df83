#include "ARShareStem.h"

#include "RmnOutput.h"

ARShareStem::ARShareStem() {
  rangeSetting = ONLYRANGE;
}

ARShareStem::ARShareStem(ARShareStem const* copy) : ARMTParameter(Frac_0, copy) {}

void ARShareStem::print() const {
  PrintRmnLine(*this);
}

void ARShareStem::PrintName(std::ostream& os) const {
  os << (rangeFlag ? "\\shareStem" : "\\shareStemBegin");
}

void ARShareStem::setTagParameterList(TagParameterList& given) {
  std::unique_ptr<TagParameterList> own;
  BindTagParameters(sTemplates, {""}, given, own);
}
