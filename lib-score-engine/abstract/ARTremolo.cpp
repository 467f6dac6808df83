#include "ARTremolo.h"

#include "RmnOutput.h"

void ARTremolo::print() const {
  PrintRmnLine(*this);
}

void ARTremolo::PrintParameters(std::ostream& os) const {
  if (dur) os << "dur=" << dur->getValue();
}

void ARTremolo::setTagParameterList(TagParameterList& given) {
  std::unique_ptr<TagParameterList> own;
  BindTagParameters(sTemplates, {"I,dur,32,o"}, given, own);
}
