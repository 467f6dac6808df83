#include "AROctava.h"

#include <algorithm>

#include "ARNote.h"

#include "BoundParameters.h"
#include "RmnOutput.h"

ListOfTPLs AROctava::ltpls;

AROctava::AROctava(AROctava const* saved, AROctava const* copy)
    : ARMTParameter(Frac_0, copy),
      savedTag(saved),
      octava(copy ? CopyOfKind<TagParameterInt>(copy->octava.get()) : nullptr) {
  rangeSetting = RANGEDC;
}

ARMusicalObject* AROctava::Copy() const {
  return new AROctava(savedTag, this);
}

AROctava* AROctava::getEndTag() const {
  return new AROctava(nullptr, savedTag);
}

void AROctava::setTagParameterList(TagParameterList& given) {
  std::unique_ptr<TagParameterList> own;
  octava.reset();
  if (BindTagParameters(ltpls, {"I,i,,r"}, given, own) >= 0)
    octava = TakeBound<TagParameterInt>(*own, 0);
}

int AROctava::getOctava() const {
  constexpr int kWidest = MAX_REGISTER - MIN_REGISTER;
  return octava ? std::clamp(octava->getValue(), -kWidest, kWidest) : 0;
}

void AROctava::print() const {
  PrintRmnLine(*this);
}
