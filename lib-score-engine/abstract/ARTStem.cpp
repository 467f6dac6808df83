#include "ARTStem.h"

#include "BoundParameters.h"
#include "RmnOutput.h"

ListOfTPLs ARTStem::ltpls;

ARTStem::ARTStem(int kind, ARTStem const* saved, ARTStem const* copy)
    : ARMTParameter(Frac_0, copy),
      savedTag(saved),
      stemState(copy ? copy->stemState : kind),
      length(copy ? CopyOfKind<TagParameterFloat>(copy->length.get()) : nullptr) {
  rangeSetting = RANGEDC;
}

ARMusicalObject* ARTStem::Copy() const {
  return new ARTStem(stemState, savedTag, this);
}

ARTStem* ARTStem::getEndTag() const {
  return new ARTStem(AUTO, nullptr, savedTag);
}

void ARTStem::setTagParameterList(TagParameterList& given) {
  std::unique_ptr<TagParameterList> own;
  length.reset();
  if (BindTagParameters(ltpls, {"U,length,7.0,o"}, given, own) >= 0)
    length = TakeBound<TagParameterFloat>(*own, 0);
}

void ARTStem::print() const {
  PrintRmnLine(*this);
}

void ARTStem::PrintName(std::ostream& os) const {
  static constexpr char const* kNames[] = {"\\stemsUp", "\\stemsDown", "\\stemsAuto", "\\stemsOff"};
  os << (stemState >= UP && stemState <= OFF ? kNames[stemState] : "\\stemsAuto");
}

void ARTStem::PrintParameters(std::ostream& os) const {
  if (IsSet(length.get())) WriteAsWritten(os, *length);
}
