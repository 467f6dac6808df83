#include "ARBeam.h"

#include "BeginFormEnd.h"
#include "BoundParameters.h"
#include "RmnOutput.h"

ARBeam::ARBeam() {
  rangeSetting = ONLYRANGE;
}

void ARBeam::print() const {
  PrintRmnLine(*this);
}

void ARBeam::PrintName(std::ostream& os) const {
  os << (rangeFlag ? "\\beam" : "\\beamBegin");
}

bool ARBeam::MatchEndTag(char const* text) {
  return ARMTParameter::MatchEndTag(text) || IsBeginFormEnd(rangeFlag, text, "\\beamEnd");
}

void ARBeam::setTagParameterList(TagParameterList& given) {
  std::unique_ptr<TagParameterList> own;
  switch (BindTagParameters(sTemplates,
                            {"U,dy,7hs,o", "U,dy1,7hs,o;U,dy2,7hs,o",
                             "U,dx1,0hs,o;U,dy1,0hs,o;U,dx2,0hs,o;U,dy2,1hs,o;"
                             "U,dx3,0hs,o;U,dy3,0hs,o;U,dx4,0hs,o;U,dy4,1hs,o"},
                            given, own)) {
    case 0:
      // An empty parameter list lands here too; a beam written without geometry keeps none.
      dy1 = OnlyIfSet(TakeOfKind<TagParameterFloat>(*own, 0));
      break;
    case 1:
      dy1 = TakeOfKind<TagParameterFloat>(*own, 0);
      dy3 = TakeOfKind<TagParameterFloat>(*own, 1);
      break;
    case 2: {
      std::unique_ptr<TagParameterFloat>* fields[] = {&dx1, &dy1, &dx2, &dy2,
                                                      &dx3, &dy3, &dx4, &dy4};
      for (int i = 0; i < 8; ++i) *fields[i] = TakeOfKind<TagParameterFloat>(*own, i);
      break;
    }
    default:
      break;
  }
}

bool ARBeam::isRazidSpecBeam() const {
  return IsSet(dy1.get()) && !IsSet(dy2.get()) && !IsSet(dy4.get());
}
