#include "ARTrill.h"

#include "RmnOutput.h"

void ARTrill::print() const {
  PrintRmnLine(*this);
}

void ARTrill::PrintName(std::ostream& os) const {
  os << (type == TURN ? "\\turn" : type == MORD ? "\\mord" : "\\trill");
}

void ARTrill::PrintParameters(std::ostream& os) const {
  if (dur) os << "dur=" << dur->getValue();
}

void ARTrill::setTagParameterList(TagParameterList& given) {
  std::unique_ptr<TagParameterList> own;
  BindTagParameters(sTemplates, {"I,dur,32,o"}, given, own);
}
