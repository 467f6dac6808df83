#include "ARMarcato.h"

#include "TagClassSupport.h"

void ARMarcato::print() const {
  PrintTagLine(*this);
}

void ARMarcato::setTagParameterList(TagParameterList& given) {
  std::unique_ptr<TagParameterList> own;
  BindTagParameters(sTemplates, {""}, given, own);
}
