#include "ARTHead.h"

#include "RmnOutput.h"

ListOfTPLs ARTHead::ltpls;

ARTHead::ARTHead(int kind, ARTHead const* saved, ARTHead const* copy)
    : ARMTParameter(Frac_0, copy), savedTag(saved), headState(copy ? copy->headState : kind) {
  rangeSetting = RANGEDC;
}

ARMusicalObject* ARTHead::Copy() const {
  return new ARTHead(headState, savedTag, this);
}

ARTHead* ARTHead::getEndTag() const {
  return new ARTHead(NOHEADSTATE, nullptr, savedTag);
}

void ARTHead::setTagParameterList(TagParameterList& given) {
  std::unique_ptr<TagParameterList> own;
  BindTagParameters(ltpls, {""}, given, own);
}

void ARTHead::print() const {
  PrintRmnLine(*this);
}

void ARTHead::PrintName(std::ostream& os) const {
  static constexpr char const* kNames[] = {"\\headsNormal", "\\headsNormal", "\\headsReverse",
                                           "\\headsCenter", "\\headsRight",  "\\headsLeft"};
  os << (headState >= NOHEADSTATE && headState <= LEFT ? kNames[headState] : kNames[0]);
}
