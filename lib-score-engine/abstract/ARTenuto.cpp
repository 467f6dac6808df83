#include "ARTenuto.h"

#include "RmnOutput.h"

void ARTenuto::print() const {
  PrintRmnLine(*this);
}

void ARTenuto::setTagParameterList(TagParameterList& given) {
  std::unique_ptr<TagParameterList> own;
  BindTagParameters(sTemplates, {""}, given, own);
}
