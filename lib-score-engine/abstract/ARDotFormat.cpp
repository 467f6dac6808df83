#include "ARDotFormat.h"

#include <utility>

#include "BoundParameters.h"
#include "RmnOutput.h"

// The templates are defined before the default format, which reads them when it is made.
ListOfTPLs ARDotFormat::ltpls;
ARDotFormat const defaultARDotFormat;

ARDotFormat::ARDotFormat(ARDotFormat const* saved, ARDotFormat const* copy)
    : ARMTParameter(Frac_0, copy),
      savedTag(saved),
      dd(copy ? CopyOfKind<TagParameterFloat>(copy->dd.get()) : nullptr) {
  rangeSetting = RANGEDC;
  if (!copy) {
    TagParameterList none(1);
    setTagParameterList(none);
  }
}

ARMusicalObject* ARDotFormat::Copy() const {
  return new ARDotFormat(savedTag, this);
}

ARDotFormat* ARDotFormat::getEndTag() const {
  return new ARDotFormat(nullptr, savedTag);
}

void ARDotFormat::setTagParameterList(TagParameterList& given) {
  std::unique_ptr<TagParameterList> own;
  dd.reset();
  if (BindTagParameters(ltpls, {"U,dx,1.8hs,o;U,dy,,o;F,size,1.0,o;U,dd,1hs,o"}, given, own) < 0)
    return;
  setDX(TakeBound<TagParameterFloat>(*own, 0).release());
  setDY(TakeBound<TagParameterFloat>(*own, 1).release());
  delete size;
  size = TakeBound<TagParameterFloat>(*own, 2).release();
  dd = TakeBound<TagParameterFloat>(*own, 3);
}

std::ostream& ARDotFormat::operator<<(std::ostream& os) const {
  os << "\\dotFormat<";
  char const* separator = "";
  for (auto [name, parameter] : {std::pair<char const*, TagParameterFloat const*>{"dx=", mDx},
                                 {"dy=", mDy},
                                 {"mDD=", dd.get()}}) {
    if (!parameter) continue;
    os << separator << name;
    WriteAsWritten(os, *parameter);
    separator = ",";
  }
  return os << "> ";
}

void ARDotFormat::print() const {
  PrintRmnLine(*this);
}
