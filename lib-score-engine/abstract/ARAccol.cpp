#include "ARAccol.h"

#include "TagDebugPrint.h"
#include "TakenParameter.h"

void ARAccol::print() const {
  PrintTagLine(*this);
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
    mIdString = TakeBoundParameter<TagParameterString>(*own, 0, &TagParameter::isString);
  else
    mIdInt = TakeBoundParameter<TagParameterInt>(*own, 0, &TagParameter::isInt);
  mRange = TakeBoundParameter<TagParameterString>(*own, 1, &TagParameter::isString);
  mType = TakeBoundParameter<TagParameterString>(*own, 2, &TagParameter::isString);
}
