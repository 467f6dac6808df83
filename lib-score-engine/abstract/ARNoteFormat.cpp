#include "ARNoteFormat.h"

#include "BoundParameters.h"
#include "RmnOutput.h"

ListOfTPLs ARNoteFormat::ltpls;

ARNoteFormat::ARNoteFormat(ARNoteFormat const* saved, ARNoteFormat const* copy)
    : ARMTParameter(Frac_0, copy),
      savedTag(saved),
      style(copy ? CopyOfKind<TagParameterString>(copy->style.get()) : nullptr) {
  rangeSetting = RANGEDC;
}

ARMusicalObject* ARNoteFormat::Copy() const {
  return new ARNoteFormat(savedTag, this);
}

ARNoteFormat* ARNoteFormat::getEndTag() const {
  return new ARNoteFormat(nullptr, savedTag);
}

void ARNoteFormat::setTagParameterList(TagParameterList& given) {
  std::unique_ptr<TagParameterList> own;
  style.reset();
  if (BindTagParameters(ltpls, {"S,style,standard,o"}, given, own) >= 0)
    style = TakeBound<TagParameterString>(*own, 0);
}

void ARNoteFormat::print() const {
  PrintRmnLine(*this);
}

void ARNoteFormat::PrintParameters(std::ostream& os) const {
  if (!IsSet(style.get())) return;
  os << "style=";
  WriteQuoted(os, style->getValue());
}
