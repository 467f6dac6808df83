#include "ARAlter.h"

#include <cstdio>

#include "BoundParameters.h"
#include "RmnOutput.h"

ARAlter::ARAlter(ARAlter* previousAlter, ARAlter const* copyFrom) : previous(previousAlter) {
  rangeSetting = RANGEDC;
  if (copyFrom) {
    alterstring = CopyOfKind<TagParameterString>(copyFrom->alterstring.get());
    altervalue = CopyOfKind<TagParameterFloat>(copyFrom->altervalue.get());
  } else {
    altervalue = std::make_unique<TagParameterFloat>(0.0f);
  }
}

void ARAlter::print() const {
  PrintRmnLine(*this);
}

void ARAlter::PrintParameters(std::ostream& os) const {
  os << "detune=" << (altervalue ? altervalue->getUnitValue() : 0.0f);
  if (IsSet(alterstring.get())) os << ",text=\"" << alterstring->getValue() << "\"";
}

void ARAlter::setTagParameterList(TagParameterList& given) {
  std::unique_ptr<TagParameterList> own;
  if (BindTagParameters(sTemplates, {"F,detune,0.0,r;S,text,,o"}, given, own) < 0) return;
  altervalue = TakeOfKind<TagParameterFloat>(*own, 0);
  alterstring = TakeOfKind<TagParameterString>(*own, 1);
  if (IsSet(alterstring.get())) return;
  char text[64];
  std::snprintf(text, sizeof text, "%.2f", getAlterVal());
  alterstring = std::make_unique<TagParameterString>(text);
}

ARAlter* ARAlter::getEndTag() const {
  return previous ? new ARAlter(nullptr, previous) : new ARAlter();
}

std::string ARAlter::getAlterText() const {
  return alterstring ? alterstring->getValue() : std::string();
}

float ARAlter::getAlterVal() const {
  return altervalue ? altervalue->getValue(50) : 0.0f;
}
