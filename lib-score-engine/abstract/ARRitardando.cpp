#include "ARRitardando.h"

#include "BeginFormEnd.h"
#include "RmnOutput.h"

void ARRitardando::print() const {
  PrintRmnLine(*this);
}

void ARRitardando::PrintName(std::ostream& os) const {
  os << (rangeFlag ? "\\rit" : "\\ritBegin");
}

bool ARRitardando::MatchEndTag(char const* text) {
  return ARMTParameter::MatchEndTag(text) || IsBeginFormEnd(rangeFlag, text, "\\ritEnd");
}

void ARRitardando::setTagParameterList(TagParameterList& given) {
  std::unique_ptr<TagParameterList> own;
  if (BindTagParameters(sTemplates, {TempoChangeTexts::kTemplate}, given, own) >= 0)
    texts.Take(*own);
}
