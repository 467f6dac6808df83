#include "ARSystemFormat.h"

#include "TagDebugPrint.h"
#include "TagParameterFloat.h"
#include "TakenParameter.h"

void ARSystemFormat::print() const {
  PrintTagLine(*this);
}

void ARSystemFormat::PrintName(std::ostream& os) const {
  os << "\\systemFormat";
}

void ARSystemFormat::setTagParameterList(TagParameterList& given) {
  static ListOfTPLs ltpls;
  std::unique_ptr<TagParameterList> own;
  BindTagParameters(ltpls, {"S,staves,,o;U,dx,,o"}, given, own);
  if (!own) return;
  mStaves = TakeGivenParameter<TagParameterString>(*own, 0, &TagParameter::isString);
  // The class's own dx comes before the common one, so a dx given by name lands here.
  if (auto dx = TakeGivenParameter<TagParameterFloat>(*own, 1, &TagParameter::isFloat))
    setDX(dx.release());
}
