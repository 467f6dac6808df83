#include "ARChordTag.h"

#include "BoundParameters.h"
#include "RmnOutput.h"

ARChordTag::ARChordTag(ARChordTag const* copy) {
  rangeSetting = ONLYRANGE;
  if (copy->labelString)
    labelString = CopyOfKind<TagParameterString>(copy->labelString.get());
  else
    labelInt = CopyOfKind<TagParameterInt>(copy->labelInt.get());
}

void ARChordTag::print() const {
  PrintRmnLine(*this);
}

void ARChordTag::PrintName(std::ostream& os) const {
  os << (isAuto ? "\\autoChord" : "\\chord") << (rangeFlag ? "" : "Begin");
}

void ARChordTag::PrintParameters(std::ostream& os) const {
  if (IsSet(labelString.get()))
    os << "label=\"" << labelString->getValue() << '"';
  else if (IsSet(labelInt.get()))
    os << "label=" << labelInt->getValue();
}

int ARChordTag::BindLabel(ListOfTPLs& templates, TagParameterList& given) {
  std::unique_ptr<TagParameterList> own;
  const int form = BindTagParameters(templates, {"S,label,,o", "I,label,,o"}, given, own);
  if (form == 0) labelString = TakeOfKind<TagParameterString>(*own, 0);
  if (form == 1) labelInt = TakeOfKind<TagParameterInt>(*own, 0);
  return form;
}

void ARChordTag::setTagParameterList(TagParameterList& given) {
  BindLabel(sTemplates, given);
}
