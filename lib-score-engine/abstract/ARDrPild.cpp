#include "ARDrPild.h"

#include "PictureMarkParameters.h"
#include "RmnOutput.h"

ListOfTPLs ARDrPild::ltpls;

void ARDrPild::setTagParameterList(TagParameterList& given) {
  std::unique_ptr<TagParameterList> own;
  if (BindTagParameters(ltpls, {kPictureMarkTemplate}, given, own) >= 0) ReadInverse(*own, inverse);
}

void ARDrPild::print() const {
  PrintRmnLine(*this);
}

void ARDrPild::PrintParameters(std::ostream& os) const {
  WriteInverse(os, inverse);
}
