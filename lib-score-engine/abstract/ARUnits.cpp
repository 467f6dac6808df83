#include "ARUnits.h"

#include "RmnOutput.h"
#include "TagParameterString.h"

void ARUnits::print() const {
  PrintRmnLine(*this);
}

void ARUnits::PrintName(std::ostream& os) const {
  os << "\\units";
}

void ARUnits::PrintParameters(std::ostream& os) const {
  WriteQuoted(os, mType.c_str());
}

void ARUnits::setTagParameterList(TagParameterList& given) {
  static ListOfTPLs ltpls;
  std::unique_ptr<TagParameterList> own;
  BindTagParameters(ltpls, {"S,type,cm,r"}, given, own);
  TagParameter* type = own ? ParameterAt(*own, 0) : nullptr;
  if (type && type->isString()) mType = static_cast<TagParameterString*>(type)->getValue();
  sType = mType;
}
