#include "ARGrace.h"

#include "BoundParameters.h"
#include "RmnOutput.h"

void ARGrace::print() const {
  PrintRmnLine(*this);
}

void ARGrace::PrintParameters(std::ostream& os) const {
  if (num) os << "i=\"" << num->getValue() << '"';
}

void ARGrace::setTagParameterList(TagParameterList& given) {
  std::unique_ptr<TagParameterList> own;
  if (BindTagParameters(sTemplates, {"I,i,,o"}, given, own) < 0) return;
  num = OnlyIfSet(TakeOfKind<TagParameterInt>(*own, 0));
}
