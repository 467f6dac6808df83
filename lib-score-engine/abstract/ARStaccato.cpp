#include "ARStaccato.h"

#include "BeginFormEnd.h"
#include "RmnOutput.h"

void ARStaccato::print() const {
  PrintRmnLine(*this);
}

void ARStaccato::setTagParameterList(TagParameterList& given) {
  std::unique_ptr<TagParameterList> own;
  BindTagParameters(sTemplates, {""}, given, own);
}

bool ARStaccato::MatchEndTag(char const* text) {
  return ARMTParameter::MatchEndTag(text) || IsBeginFormEnd(rangeFlag, text, "\\staccEnd");
}
