#include "ARDrVesk.h"

#include "PictureMarkParameters.h"
#include "RmnOutput.h"

ListOfTPLs ARDrVesk::ltpls;

void ARDrVesk::setTagParameterList(TagParameterList& given) {
  std::unique_ptr<TagParameterList> own;
  if (BindTagParameters(ltpls, {kPictureMarkTemplate}, given, own) >= 0) ReadInverse(*own, inverse);
}

void ARDrVesk::print() const {
  PrintRmnLine(*this);
}

void ARDrVesk::PrintParameters(std::ostream& os) const {
  WriteInverse(os, inverse);
}
