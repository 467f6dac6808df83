#include "ARDynamics.h"

#include "BoundParameters.h"
#include "RmnOutput.h"

void ARDynamics::print() const {
  PrintRmnLine(*this);
}

void ARDynamics::setTagParameterList(TagParameterList& given) {
  std::unique_ptr<TagParameterList> own;
  if (BindTagParameters(sTemplates, {"S,type,,r;F,value,-1.0,o"}, given, own) < 0) return;
  if (auto type = TakeOfKind<TagParameterString>(*own, 0)) text = type->getValue();
  auto written = OnlyIfSet(TakeOfKind<TagParameterFloat>(*own, 1));
  if (written) value = written->getValue(50);
}
