#include "ARAccent.h"

#include "RmnOutput.h"

void ARAccent::print() const {
  PrintRmnLine(*this);
}

void ARAccent::setTagParameterList(TagParameterList& given) {
  std::unique_ptr<TagParameterList> own;
  BindTagParameters(sTemplates, {""}, given, own);
}
