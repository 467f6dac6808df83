#include "ARAccol.h"

#include "BoundParameters.h"
#include "RmnOutput.h"

void ARAccol::print() const {
  PrintRmnLine(*this);
}

void ARAccol::PrintName(std::ostream& os) const {
  os << "\\accol";
}

void ARAccol::setTagParameterList(TagParameterList& given) {
  static ListOfTPLs ltpls;
  std::unique_ptr<TagParameterList> own;
  const int matched = BindTagParameters(
      ltpls, {"S,id,,r;S,range,,r;S,type,standard,o", "I,id,,r;S,range,,r;S,type,standard,o"},
      given, own);
  if (!own) return;
  mIdInt.reset();
  mIdString.reset();
  if (matched == 0)
    mIdString = TakeOfKind<TagParameterString>(*own, 0);
  else
    mIdInt = TakeOfKind<TagParameterInt>(*own, 0);
  mRange = TakeOfKind<TagParameterString>(*own, 1);
  mType = TakeOfKind<TagParameterString>(*own, 2);
}
