#include "ARNewSystem.h"

#include "BoundParameters.h"
#include "RmnOutput.h"
#include "TagParameterFloat.h"

ListOfTPLs ARNewSystem::ltpls;

void ARNewSystem::setTagParameterList(TagParameterList& given) {
  std::unique_ptr<TagParameterList> own;
  if (BindTagParameters(ltpls, {"U,dy,0,o"}, given, own) < 0) return;
  // A dy not written leaves what the common parameters gave.
  if (auto dy = OnlyIfSet(TakeBound<TagParameterFloat>(*own, 0))) setDY(dy.release());
}

std::ostream& ARNewSystem::operator<<(std::ostream& os) const {
  os << "\\newSystem";
  if (mDy) {
    os << "<dy=";
    WriteCentimetres(os, mDy->getValue(50.0f));
    os << ">";
  }
  return os << " ";
}

void ARNewSystem::print() const {
  PrintRmnLine(*this);
}
