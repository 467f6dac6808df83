#include "ARUserChordTag.h"

ARUserChordTag::ARUserChordTag(ARUserChordTag const* copy) : ARChordTag(copy) {
  if (labelInt) labelText = copy->labelText;
  if (labelInt && labelText.empty()) SetLabelText();
}

void ARUserChordTag::PrintName(std::ostream& os) const {
  os << (rangeFlag ? "\\splitChord" : "\\splitChordBegin");
}

void ARUserChordTag::setTagParameterList(TagParameterList& given) {
  if (BindLabel(sTemplates, given) == 1) SetLabelText();
}

void ARUserChordTag::SetLabelText() {
  labelText = labelInt ? "intlabel" + std::to_string(labelInt->getValue()) : std::string();
}

std::string ARUserChordTag::getLabelValue() const {
  if (labelString) return labelString->getValue();
  if (labelInt) return labelText;
  return {};
}
