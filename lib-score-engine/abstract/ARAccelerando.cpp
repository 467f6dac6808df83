#include "ARAccelerando.h"

#include "BeginFormEnd.h"
#include "RmnOutput.h"

void ARAccelerando::print() const {
  PrintRmnLine(*this);
}

void ARAccelerando::PrintName(std::ostream& os) const {
  os << (rangeFlag ? "\\accel" : "\\accelBegin");
}

void ARAccelerando::PrintParameters(std::ostream& os) const {
  char const* separator = "";
  for (TagParameterString const* text : {texts.tempo.get(), texts.abstempo.get()}) {
    if (!IsSet(text)) continue;
    os << separator;
    WriteQuoted(os, text->getValue());
    separator = ",";
  }
}

bool ARAccelerando::MatchEndTag(char const* text) {
  return ARMTParameter::MatchEndTag(text) || IsBeginFormEnd(rangeFlag, text, "\\accelEnd");
}

void ARAccelerando::setTagParameterList(TagParameterList& given) {
  std::unique_ptr<TagParameterList> own;
  if (BindTagParameters(sTemplates, {TempoChangeTexts::kTemplate}, given, own) >= 0)
    texts.Take(*own);
}
