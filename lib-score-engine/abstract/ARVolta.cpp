#include "ARVolta.h"

#include "BeginFormEnd.h"
#include "BoundParameters.h"
#include "RmnOutput.h"

void ARVolta::print() const {
  PrintRmnLine(*this);
}

bool ARVolta::MatchEndTag(char const* text) {
  return ARMTParameter::MatchEndTag(text) || IsBeginFormEnd(rangeFlag, text, "\\voltaEnd");
}

void ARVolta::setTagParameterList(TagParameterList& given) {
  std::unique_ptr<TagParameterList> own;
  if (BindTagParameters(sTemplates, {"S,pass,,r;S,m,,r;S,format,,o"}, given, own) < 0) return;
  std::string* fields[] = {&pass, &mark, &format};
  for (int i = 0; i < 3; ++i)
    if (auto text = TakeOfKind<TagParameterString>(*own, i)) *fields[i] = text->getValue();
}
