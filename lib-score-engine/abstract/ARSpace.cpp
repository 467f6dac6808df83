#include "ARSpace.h"

#include "BoundParameters.h"
#include "RmnOutput.h"
#include "TagParameterFloat.h"

ListOfTPLs ARSpace::ltpls;

void ARSpace::setTagParameterList(TagParameterList& given) {
  std::unique_ptr<TagParameterList> own;
  if (BindTagParameters(ltpls, {"U,dd,,r"}, given, own) >= 0)
    width = BoundAt<TagParameterFloat>(*own, 0).getValue(50.0f);
}

void ARSpace::print() const {
  PrintRmnLine(*this);
}

void ARSpace::PrintParameters(std::ostream& os) const {
  os << "dd=";
  WriteCentimetres(os, width);
}
