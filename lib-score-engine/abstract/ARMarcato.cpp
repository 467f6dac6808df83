#include "ARMarcato.h"

#include "RmnOutput.h"

void ARMarcato::print() const {
  PrintRmnLine(*this);
}

void ARMarcato::setTagParameterList(TagParameterList& given) {
  std::unique_ptr<TagParameterList> own;
  BindTagParameters(sTemplates, {""}, given, own);
}
