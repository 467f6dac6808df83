#include "ARBembel.h"

#include "PictureMarkParameters.h"
#include "RmnOutput.h"

ListOfTPLs ARBembel::ltpls;

void ARBembel::setTagParameterList(TagParameterList& given) {
  std::unique_ptr<TagParameterList> own;
  if (BindTagParameters(ltpls, {kPictureMarkTemplate}, given, own) >= 0) ReadInverse(*own, inverse);
}

void ARBembel::print() const {
  PrintRmnLine(*this);
}

void ARBembel::PrintParameters(std::ostream& os) const {
  WriteInverse(os, inverse);
}
