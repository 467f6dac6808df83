#include "ARTenuto.h"

#include "TagClassSupport.h"

void ARTenuto::print() const {
  PrintTagLine(*this);
}

void ARTenuto::setTagParameterList(TagParameterList& given) {
  std::unique_ptr<TagParameterList> own;
  BindTagParameters(sTemplates, {""}, given, own);
}
