#include "ARAccent.h"

#include "TagClassSupport.h"

void ARAccent::print() const {
  PrintTagLine(*this);
}

void ARAccent::setTagParameterList(TagParameterList& given) {
  std::unique_ptr<TagParameterList> own;
  BindTagParameters(sTemplates, {""}, given, own);
}
