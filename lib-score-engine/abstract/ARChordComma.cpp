#include "ARChordComma.h"

#include "RmnOutput.h"

ListOfTPLs ARChordComma::ltpls;

void ARChordComma::setTagParameterList(TagParameterList& given) {
  std::unique_ptr<TagParameterList> own;
  BindTagParameters(ltpls, {""}, given, own);
}

void ARChordComma::print() const {
  PrintRmnLine(*this);
}
