#include "ARAcc.h"

#include "BoundParameters.h"
#include "RmnOutput.h"

ARAcc::ARAcc(ARAcc const& other) : ARMTParameter(), ARPositionTag() {
  rangeSetting = ONLYRANGE;
  if (other.mStyle) mStyle = std::make_unique<TagParameterString>(other.mStyle->getValue());
}

void ARAcc::print() const {
  PrintRmnLine(*this);
}

void ARAcc::PrintParameters(std::ostream& os) const {
  if (mStyle) os << "style=\"" << mStyle->getValue() << "\"";
}

void ARAcc::setTagParameterList(TagParameterList& given) {
  std::unique_ptr<TagParameterList> own;
  if (BindTagParameters(sTemplates, {"S,style,,o"}, given, own) < 0) return;
  mStyle = OnlyIfSet(TakeOfKind<TagParameterString>(*own, 0));
}
