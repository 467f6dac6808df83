#include "ARCue.h"

#include "BoundParameters.h"
#include "RmnOutput.h"

void ARCue::print() const {
  PrintRmnLine(*this);
}

void ARCue::PrintParameters(std::ostream& os) const {
  if (name) os << "name=\"" << name->getValue() << '"';
}

void ARCue::setTagParameterList(TagParameterList& given) {
  std::unique_ptr<TagParameterList> own;
  if (BindTagParameters(sTemplates, {"S,name,,o"}, given, own) < 0) return;
  name = OnlyIfSet(TakeOfKind<TagParameterString>(*own, 0));
}
