#include "ARRestFormat.h"

#include "BoundParameters.h"
#include "RmnOutput.h"

ListOfTPLs ARRestFormat::ltpls;

ARRestFormat::ARRestFormat(ARRestFormat const* saved, ARRestFormat const* copy)
    : ARMTParameter(Frac_0, copy),
      savedTag(saved),
      posy(copy ? CopyOfKind<TagParameterFloat>(copy->posy.get()) : nullptr) {
  rangeSetting = RANGEDC;
}

ARMusicalObject* ARRestFormat::Copy() const {
  return new ARRestFormat(savedTag, this);
}

ARRestFormat* ARRestFormat::getEndTag() const {
  return new ARRestFormat(nullptr, savedTag);
}

void ARRestFormat::setTagParameterList(TagParameterList& given) {
  std::unique_ptr<TagParameterList> own;
  posy.reset();
  if (BindTagParameters(ltpls, {"U,posy,0,o"}, given, own) >= 0)
    posy = TakeBound<TagParameterFloat>(*own, 0);
}

void ARRestFormat::print() const {
  PrintRmnLine(*this);
}

void ARRestFormat::PrintParameters(std::ostream& os) const {
  if (!IsSet(posy.get())) return;
  os << "posy=";
  WriteAsWritten(os, *posy);
}
