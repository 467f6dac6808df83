#include "ARSystemFormat.h"

#include "BoundParameters.h"
#include "RmnOutput.h"
#include "TagParameterFloat.h"

void ARSystemFormat::print() const {
  PrintRmnLine(*this);
}

void ARSystemFormat::PrintName(std::ostream& os) const {
  os << "\\systemFormat";
}

void ARSystemFormat::setTagParameterList(TagParameterList& given) {
  static ListOfTPLs ltpls;
  std::unique_ptr<TagParameterList> own;
  BindTagParameters(ltpls, {"S,staves,,o;U,dx,,o"}, given, own);
  if (!own) return;
  mStaves = OnlyIfSet(TakeOfKind<TagParameterString>(*own, 0));
  // The class's own dx comes before the common one, so a dx given by name lands here.
  if (auto dx = OnlyIfSet(TakeOfKind<TagParameterFloat>(*own, 1))) setDX(dx.release());
}
