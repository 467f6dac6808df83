#include "ARInstrument.h"

#include "BoundParameters.h"
#include "RmnOutput.h"

ListOfTPLs ARInstrument::ltpls;

void ARInstrument::setTagParameterList(TagParameterList& given) {
  std::unique_ptr<TagParameterList> own;
  if (BindTagParameters(ltpls, {"S,name,,r;S,midiname,,o;S,transp,,o"}, given, own) < 0) return;
  name = OnlyIfSet(TakeBound<TagParameterString>(*own, 0));
  midiName = OnlyIfSet(TakeBound<TagParameterString>(*own, 1));
  transp = OnlyIfSet(TakeBound<TagParameterString>(*own, 2));
}

void ARInstrument::print() const {
  PrintRmnLine(*this);
}

void ARInstrument::PrintParameters(std::ostream& os) const {
  if (name) WriteQuoted(os, name->getValue());
}
